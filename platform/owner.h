// One owner for every Win32 handle, COM reference and OLE start-up: the value
// is released once, when the owner ends or takes another value.
#pragma once

#include "platform/lazydll.h"

template <class T, bool (*Release)(T), bool (*Held)(T)>
class Owner {
 public:
  Owner() = default;
  explicit Owner(T value) : value_(value) {}
  ~Owner() { Reset(); }
  Owner(const Owner&) = delete;
  Owner& operator=(const Owner&) = delete;

  T Get() const { return value_; }
  T* Out() { return &value_; }
  bool Valid() const { return Held(value_); }
  // Releases the value held and takes `value`; false when the release failed.
  bool Reset(T value = T{}) {
    const bool released = !Held(value_) || Release(value_);
    value_ = value;
    return released;
  }

 private:
  T value_ = T{};
};

namespace owner_detail {
template <class T>
bool NotNull(T value) { return value != nullptr; }
inline bool IsHandle(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
inline bool Started(HRESULT hr) { return SUCCEEDED(hr); }
inline bool CloseKernel(HANDLE h) { return CloseHandle(h) != FALSE; }
inline bool CloseKey(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
inline bool DestroyMenuOf(HMENU menu) { return DestroyMenu(menu) != FALSE; }
inline bool DeleteFont(HFONT font) { return DeleteObject(font) != FALSE; }
template <class I>
bool ReleaseCom(I* p) { return p->Release(), true; }
inline bool EndOle(HRESULT) { return lazy::OleUninitialize(), true; }
template <class T>
bool FreeTaskMemory(T p) { return lazy::CoTaskMemFree(p), true; }
}  // namespace owner_detail

using HandleOwner = Owner<HANDLE, owner_detail::CloseKernel, owner_detail::IsHandle>;
using KeyOwner = Owner<HKEY, owner_detail::CloseKey, owner_detail::NotNull<HKEY>>;
using MenuOwner = Owner<HMENU, owner_detail::DestroyMenuOf, owner_detail::NotNull<HMENU>>;
using FontOwner = Owner<HFONT, owner_detail::DeleteFont, owner_detail::NotNull<HFONT>>;
template <class I>
using ComRef = Owner<I*, owner_detail::ReleaseCom<I>, owner_detail::NotNull<I*>>;
// Memory the shell hands over (a path, an item list).
template <class T>
using TaskMemory = Owner<T, owner_detail::FreeTaskMemory<T>, owner_detail::NotNull<T>>;

// OLE on this thread, which starts COM apartment-threaded too: the shell's
// file dialogs and the folder browser's new dialog style need it. It nests.
struct OleScope : Owner<HRESULT, owner_detail::EndOle, owner_detail::Started> {
  OleScope() : Owner(lazy::OleInitialize(nullptr)) {}
};
