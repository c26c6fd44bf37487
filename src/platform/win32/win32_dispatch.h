#pragma once
// Late-bound calls through IDispatch, shared by the automation adapters: variants that free
// themselves, an owned IDispatch reference, and members invoked by name with their arguments
// in the order the member declares them. A failed call raises the adapter's own error with
// the server's text.

#include <initializer_list>
#include <string>

#include "platform/win32/win32_late_imports.h"
#include "platform/win32/windows_api.h"
// After windows.h:
#include <oleauto.h>

namespace quillon {

// Raises the adapter's error for a failed call of `member` (a ProgID for a failed creation);
// `text` is the server's description of the failure or the system's message for its result
// code. Never returns.
using DispatchFailure = void (*)(const std::wstring& member, const std::wstring& text);

// The text of a failed Invoke or creation: the exception's description when the server gave
// one, else the system's message for the exception's code or for `hr`.
std::wstring DispatchErrorText(HRESULT hr, const EXCEPINFO* info);

// A VARIANT that owns what it holds: texts as BSTRs, numbers as VT_I4, Booleans as VT_BOOL.
// Made implicitly from those values, so that arguments read as plain values.
class Variant {
 public:
  Variant() { late::VariantInit(&v_); }
  Variant(const std::wstring& text);
  Variant(const wchar_t* text) : Variant(std::wstring(text)) {}
  Variant(long number);
  Variant(bool flag);
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant() { late::VariantClear(&v_); }

  VARIANT* get() { return &v_; }
  const VARIANT* get() const { return &v_; }

 private:
  VARIANT v_;
};

class DispatchRef {
 public:
  // Takes over one reference of `dispatch` (not null).
  DispatchRef(IDispatch* dispatch, DispatchFailure fail) : dispatch_(dispatch), fail_(fail) {}
  DispatchRef(DispatchRef&& other) noexcept : dispatch_(other.dispatch_), fail_(other.fail_) {
    other.dispatch_ = nullptr;
  }
  DispatchRef(const DispatchRef&) = delete;
  DispatchRef& operator=(const DispatchRef&) = delete;
  DispatchRef& operator=(DispatchRef&&) = delete;
  ~DispatchRef() {
    if (dispatch_) dispatch_->Release();
  }

  // An instance of the class `progid` resolves to, in-process or as a local server, asked for
  // IDispatch. Enters a COM apartment on the calling thread first (EnterComApartment).
  static DispatchRef Create(const std::wstring& progid, DispatchFailure fail);

  // Invokes `member` with `flags` (DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT)
  // and `args`; for a property put the last argument is the value put.
  Variant Invoke(const std::wstring& member, WORD flags, std::initializer_list<Variant> args = {});
  // A method call whose result is dropped.
  void Call(const std::wstring& member, std::initializer_list<Variant> args = {}) {
    Invoke(member, DISPATCH_METHOD, args);
  }
  // A property read or a method result, converted to text, to a number or to an object.
  std::wstring GetText(const std::wstring& member, std::initializer_list<Variant> args = {});
  long GetLong(const std::wstring& member, std::initializer_list<Variant> args = {});
  DispatchRef GetDispatch(const std::wstring& member, WORD flags,
                          std::initializer_list<Variant> args = {});

 private:
  [[noreturn]] void Fail(const std::wstring& member, HRESULT hr,
                         const EXCEPINFO* info = nullptr) const;

  IDispatch* dispatch_;
  DispatchFailure fail_;
};

}  // namespace quillon
