// The shell and COM functions Quintor uses, from shell32 and ole32 loaded on
// first use. Imported, these DLLs (and what they load in turn) would be
// loaded before the main window shows; only dialogs the operator opens and
// the per-user folder need them.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace lazy {

// Each calls the system function of the same name. When its DLL or the
// function cannot be loaded, it fails as the function fails (E_FAIL, nullptr,
// FALSE), or does nothing when the function returns nothing.
HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
void CoUninitialize();
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* object);
void CoTaskMemFree(LPVOID memory);
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW info);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
HRESULT SHCreateItemFromParsingName(PCWSTR path, IBindCtx* context, REFIID iid, void** item);
HRESULT SHGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* path);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR file, UINT size);
void DragFinish(HDROP drop);

}  // namespace lazy
