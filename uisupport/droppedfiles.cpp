#include "uisupport/droppedfiles.h"

#include <shlobj.h>

#include "core/paths.h"
#include "core/text.h"
#include "platform/lazydll.h"
#include "platform/owner.h"
#include "platform/wide.h"

namespace {

// WM_COPYGLOBALDATA: how the shell hands over a drop's file list.
constexpr UINT kCopyGlobalData = 0x0049;

bool IsShortcut(const std::string& path) { return AsciiUpper(GetPathExtension(path)) == "LNK"; }

// The shortcut's target path; empty when it has none.
std::string ShortcutTarget(const std::string& shortcut) {
  OleScope ole;
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> file;
  if (FAILED(lazy::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(link.Out())))) {
    return std::string();
  }
  if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return std::string();
  if (FAILED(file.Get()->Load(Widen(shortcut).c_str(), STGM_READ))) return std::string();
  if (link.Get()->Resolve(nullptr, SLR_NO_UI | SLR_NOUPDATE | SLR_NOSEARCH) != S_OK) return std::string();
  // A shortcut's path is at most MAX_PATH characters.
  std::wstring target(MAX_PATH, L'\0');
  if (link.Get()->GetPath(&target[0], MAX_PATH, nullptr, 0) != S_OK) return std::string();
  target.resize(wcslen(target.c_str()));
  return IsShortcut(Narrow(target)) ? std::string() : Narrow(target);
}

}  // namespace

void AllowDroppedFiles(HWND window, bool accept) {
  if (accept) SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
  for (const UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData}) {
    lazy::ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
  }
}

std::vector<std::string> TakeDroppedFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = lazy::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    std::wstring path(lazy::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
    path.resize(lazy::DragQueryFileW(drop, i, &path[0], static_cast<UINT>(path.size())));
    const std::string dropped = Narrow(path);
    const std::string file = IsShortcut(dropped) ? ShortcutTarget(dropped) : dropped;
    if (!file.empty()) paths.push_back(file);
  }
  lazy::DragFinish(drop);
  return paths;
}
