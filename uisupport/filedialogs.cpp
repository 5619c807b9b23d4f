#include "uisupport/filedialogs.h"

#include "platform/dialog.h"
#include "platform/lazydll.h"
#include "platform/owner.h"
#include "platform/wide.h"

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The folder a dialog opens in for `initialFolder`: the text itself when it
// names a folder, else the folder of the file it names, else empty.
std::wstring StartFolder(const std::string& initialFolder) {
  const std::wstring path = Widen(initialFolder);
  if (path.empty() || IsFolder(path)) return path;
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::wstring();
  const std::wstring parent = path.substr(0, slash);  // "C:" stands for the drive
  return IsFolder(parent) ? parent : std::wstring();
}

void AddFileSystemPath(IShellItem* item, std::vector<std::string>& paths) {
  TaskMemory<PWSTR> path;
  if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, path.Out()))) paths.push_back(Narrow(path.Get()));
}

}  // namespace

void ChooseFileInto(FileDialogs& dialogs, Dialog& dialog, int id, const char* filter) {
  const std::vector<std::string> chosen = dialogs.Choose({FileDialogRequest::kOpen, dialog.GetSafeHwnd(), filter,
                                                          dialog.ItemText(id)});
  if (!chosen.empty()) dialog.SetItemText(id, chosen.front());
}

std::vector<std::string> ShellFileDialogs::Choose(const FileDialogRequest& request) {
  OleScope ole;
  const bool open = request.kind == FileDialogRequest::kOpen;
  ComRef<IFileDialog> dialog;
  if (FAILED(lazy::CoCreateInstance(open ? CLSID_FileOpenDialog : CLSID_FileSaveDialog, nullptr,
                                    CLSCTX_INPROC_SERVER, IID_IFileDialog, reinterpret_cast<void**>(dialog.Out())))) {
    return {};
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog.Get()->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR;
  options &= ~(FOS_OVERWRITEPROMPT | FOS_FILEMUSTEXIST | FOS_ALLOWMULTISELECT);
  if (open) options |= FOS_FILEMUSTEXIST;
  if (open && request.multiSelect) options |= FOS_ALLOWMULTISELECT;
  dialog.Get()->SetOptions(options);

  // The filter's parts in pairs, up to a display text left empty.
  std::vector<std::wstring> parts(1);
  for (const wchar_t c : Widen(request.filter)) {
    if (c == L'|') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  std::vector<COMDLG_FILTERSPEC> filters;
  for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) {
    filters.push_back({parts[i].c_str(), parts[i + 1].c_str()});
  }
  if (!filters.empty()) {
    dialog.Get()->SetFileTypes(static_cast<UINT>(filters.size()), filters.data());
    dialog.Get()->SetFileTypeIndex(1);
  }
  ComRef<IShellItem> start;
  const std::wstring folder = StartFolder(request.initialFolder);
  if (!folder.empty() && SUCCEEDED(lazy::SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_IShellItem,
                                                                      reinterpret_cast<void**>(start.Out())))) {
    dialog.Get()->SetFolder(start.Get());
  }
  if (FAILED(dialog.Get()->Show(request.owner))) return {};

  std::vector<std::string> paths;
  ComRef<IShellItem> item;
  if (!open) {
    if (SUCCEEDED(dialog.Get()->GetResult(item.Out()))) AddFileSystemPath(item.Get(), paths);
    return paths;
  }
  ComRef<IFileOpenDialog> openDialog;
  ComRef<IShellItemArray> items;
  DWORD count = 0;
  if (FAILED(dialog.Get()->QueryInterface(IID_IFileOpenDialog, reinterpret_cast<void**>(openDialog.Out()))) ||
      FAILED(openDialog.Get()->GetResults(items.Out())) || FAILED(items.Get()->GetCount(&count))) {
    return {};
  }
  for (DWORD i = 0; i < count; ++i) {
    if (SUCCEEDED(items.Get()->GetItemAt(i, item.Out()))) AddFileSystemPath(item.Get(), paths);
    item.Reset();
  }
  return paths;
}
