#include "uisupport/folderpicker.h"

int ShellFolderPicker::PickFolder(const FolderPickRequest& request, std::string* folder) {
  CFolderDialog dialog(request.title, nullptr, request.owner, request.flags);
  dialog.SetInitialFolder(request.initialFolder);
  const INT_PTR result = dialog.DoModal();
  if (result == IDOK) *folder = dialog.GetSelectedFolder();
  return static_cast<int>(result);
}
