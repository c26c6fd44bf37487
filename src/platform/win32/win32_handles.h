#pragma once
// Move-only owners of Win32 handles, closed when they go out of scope.

#include "platform/win32/win32_late_imports.h"
#include "platform/win32/windows_api.h"
// After <windows.h>:
#include <shlobj.h>

#include <memory>

namespace quillon {

template <class Traits>
class UniqueWin32 {
 public:
  using Handle = typename Traits::Handle;

  UniqueWin32() = default;
  explicit UniqueWin32(Handle handle) : handle_(handle) {}
  ~UniqueWin32() { reset(); }
  UniqueWin32(UniqueWin32&& other) noexcept : handle_(other.release()) {}
  UniqueWin32& operator=(UniqueWin32&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueWin32(const UniqueWin32&) = delete;
  UniqueWin32& operator=(const UniqueWin32&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::Valid(handle_); }
  Handle release() {
    Handle handle = handle_;
    handle_ = Traits::Empty();
    return handle;
  }
  void reset(Handle handle = Traits::Empty()) {
    if (Traits::Valid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Empty();
};

// Kernel objects: files, processes, snapshots. Both null and INVALID_HANDLE_VALUE mean none.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return nullptr; }
  static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::CloseHandle(h); }
};
using UniqueHandle = UniqueWin32<KernelHandleTraits>;

// FindFirstFileW searches.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Handle h) { return h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) { ::FindClose(h); }
};
using UniqueFind = UniqueWin32<FindHandleTraits>;

// Shell item lists, freed with the task allocator.
struct ItemListDeleter {
  void operator()(ITEMIDLIST* list) const { late::CoTaskMemFree(list); }
};
using UniqueItemList = std::unique_ptr<ITEMIDLIST, ItemListDeleter>;

}  // namespace quillon
