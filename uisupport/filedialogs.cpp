#include "uisupport/filedialogs.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "platform/lazydll.h"
#include "platform/dialog.h"
#include "platform/owner.h"
#include "platform/wide.h"

namespace {

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string FileSystemPath(IShellItem* item) {
  PWSTR path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path) return std::string();
  std::string result = Narrow(path);
  lazy::CoTaskMemFree(path);
  return result;
}

void SetStartFolder(IFileDialog* dialog, const std::string& initialFolder) {
  const std::string folder = ResolveInitialFolder(initialFolder);
  if (folder.empty()) return;
  ComRef<IShellItem> item;
  if (SUCCEEDED(lazy::SHCreateItemFromParsingName(Widen(folder).c_str(), nullptr, IID_IShellItem,
                                            reinterpret_cast<void**>(item.Out())))) {
    dialog->SetFolder(item.Get());
  }
}

}  // namespace

FileDialogRequest FileDialogRequest::Open(HWND owner, const std::string& filter, const std::string& initialFolder,
                                          bool multiSelect) {
  return {Kind::kOpen, owner, filter, initialFolder, multiSelect, true};
}

FileDialogRequest FileDialogRequest::Save(HWND owner, const std::string& filter, const std::string& initialFolder) {
  return {Kind::kSave, owner, filter, initialFolder, false, false};
}

void ChooseFileInto(FileDialogs& dialogs, Dialog& dialog, int id, const char* filter) {
  const std::vector<std::string> chosen =
      dialogs.Choose(FileDialogRequest::Open(dialog.GetSafeHwnd(), filter, dialog.ItemText(id)));
  if (!chosen.empty()) dialog.SetItemText(id, chosen.front());
}

std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    const size_t bar = filter.find('|', start);
    if (bar == std::string::npos) {
      parts.push_back(filter.substr(start));
      break;
    }
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;
    pairs.emplace_back(parts[i], parts[i + 1]);
  }
  return pairs;
}

std::string ResolveInitialFolder(const std::string& initialFolder) {
  if (initialFolder.empty()) return std::string();
  const std::wstring path = Widen(initialFolder);
  if (IsFolder(path)) return initialFolder;
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::string();
  std::wstring parent = path.substr(0, slash);
  if (parent.size() == 2 && parent[1] == L':') parent += L'\\';
  return IsFolder(parent) ? Narrow(parent) : std::string();
}

std::vector<std::string> ShellFileDialogs::Choose(const FileDialogRequest& request) {
  ComScope com;
  const bool open = request.kind == FileDialogRequest::Kind::kOpen;
  ComRef<IFileDialog> dialog;
  if (FAILED(lazy::CoCreateInstance(open ? CLSID_FileOpenDialog : CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileDialog, reinterpret_cast<void**>(dialog.Out())))) {
    return {};
  }

  FILEOPENDIALOGOPTIONS options = 0;
  dialog.Get()->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR;
  options &= ~(FOS_OVERWRITEPROMPT | FOS_FILEMUSTEXIST | FOS_ALLOWMULTISELECT);
  if (request.fileMustExist) options |= FOS_FILEMUSTEXIST;
  if (request.multiSelect && open) options |= FOS_ALLOWMULTISELECT;
  dialog.Get()->SetOptions(options);

  const std::vector<std::pair<std::string, std::string>> filter = ParseFileFilter(request.filter);
  std::vector<std::wstring> texts;
  for (const auto& entry : filter) {
    texts.push_back(Widen(entry.first));
    texts.push_back(Widen(entry.second));
  }
  std::vector<COMDLG_FILTERSPEC> filters;
  for (size_t i = 0; i + 1 < texts.size(); i += 2) filters.push_back({texts[i].c_str(), texts[i + 1].c_str()});
  if (!filters.empty()) {
    dialog.Get()->SetFileTypes(static_cast<UINT>(filters.size()), filters.data());
    dialog.Get()->SetFileTypeIndex(1);
  }
  SetStartFolder(dialog.Get(), request.initialFolder);

  if (FAILED(dialog.Get()->Show(request.owner))) return {};

  std::vector<std::string> paths;
  if (open) {
    ComRef<IFileOpenDialog> openDialog;
    ComRef<IShellItemArray> items;
    if (FAILED(dialog.Get()->QueryInterface(IID_IFileOpenDialog, reinterpret_cast<void**>(openDialog.Out()))) ||
        FAILED(openDialog.Get()->GetResults(items.Out()))) {
      return {};
    }
    DWORD count = 0;
    items.Get()->GetCount(&count);
    for (DWORD i = 0; i < count; ++i) {
      ComRef<IShellItem> item;
      if (FAILED(items.Get()->GetItemAt(i, item.Out()))) continue;
      const std::string path = FileSystemPath(item.Get());
      if (!path.empty()) paths.push_back(path);
    }
  } else {
    ComRef<IShellItem> item;
    if (FAILED(dialog.Get()->GetResult(item.Out()))) return {};
    const std::string path = FileSystemPath(item.Get());
    if (!path.empty()) paths.push_back(path);
  }
  return paths;
}
