// COM and OLE on the calling thread for the life of an object. Either one
// may be nested in the other or in the caller's own initialisation.
#pragma once

#include "platform/lazydll.h"

// COM, apartment-threaded: the shell's file dialogs.
class ComScope {
 public:
  ComScope() : hr_(lazy::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) lazy::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

// OLE: the folder browser's new dialog style needs it.
class OleScope {
 public:
  OleScope() : hr_(lazy::OleInitialize(nullptr)) {}
  ~OleScope() {
    if (SUCCEEDED(hr_)) lazy::OleUninitialize();
  }
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;

 private:
  HRESULT hr_;
};
