#include "platform/win32/win32_dispatch.h"

#include <exception>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/win32/win32_com_apartment.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_late_imports.h"

namespace quillon {

namespace {

class ExcepInfo {
 public:
  ExcepInfo() { ZeroMemory(&info_, sizeof(info_)); }
  ~ExcepInfo() {
    late::SysFreeString(info_.bstrSource);
    late::SysFreeString(info_.bstrDescription);
    late::SysFreeString(info_.bstrHelpFile);
  }
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
  EXCEPINFO* get() { return &info_; }

 private:
  EXCEPINFO info_;
};

std::wstring TextOf(BSTR b) {
  return b ? std::wstring(b, late::SysStringLen(b)) : std::wstring();
}

}  // namespace

std::wstring DispatchErrorText(HRESULT hr, const EXCEPINFO* info) {
  if (info && info->bstrDescription && *info->bstrDescription) return TextOf(info->bstrDescription);
  if (info && info->scode != 0) return SystemErrorText(static_cast<unsigned long>(info->scode));
  return SystemErrorText(static_cast<unsigned long>(hr));
}

Variant::Variant(const std::wstring& text) {
  late::VariantInit(&v_);
  V_VT(&v_) = VT_BSTR;
  V_BSTR(&v_) = late::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

Variant::Variant(long number) {
  late::VariantInit(&v_);
  V_VT(&v_) = VT_I4;
  V_I4(&v_) = number;
}

Variant::Variant(bool flag) {
  late::VariantInit(&v_);
  V_VT(&v_) = VT_BOOL;
  V_BOOL(&v_) = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(const Variant& other) {
  late::VariantInit(&v_);
  late::VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
}

Variant::Variant(Variant&& other) noexcept : v_(other.v_) {
  late::VariantInit(&other.v_);
}

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(v_, other.v_);
  return *this;
}

DispatchRef DispatchRef::Create(const std::wstring& progid, DispatchFailure fail) {
  EnterComApartment();
  CLSID clsid;
  HRESULT hr = late::CLSIDFromProgID(progid.c_str(), &clsid);
  IDispatch* dispatch = nullptr;
  if (SUCCEEDED(hr)) {
    hr = late::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    if (SUCCEEDED(hr) && !dispatch) hr = E_NOINTERFACE;
  }
  if (FAILED(hr)) {
    fail(progid, DispatchErrorText(hr, nullptr));
    std::terminate();  // `fail` raises
  }
  return DispatchRef(dispatch, fail);
}

Variant DispatchRef::Invoke(const std::wstring& member, WORD flags,
                            std::initializer_list<Variant> args) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(member.c_str())};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) Fail(member, hr);

  // Invoke takes the arguments last first. They are lent, not copied: `args` outlives the call.
  std::vector<VARIANT> reversed;
  for (auto it = std::rbegin(args); it != std::rend(args); ++it) reversed.push_back(*it->get());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  const bool is_put = (flags & DISPATCH_PROPERTYPUT) != 0;
  if (is_put) {
    // The value put is the named argument, the first of the array.
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  Variant result;
  ExcepInfo info;
  UINT bad_arg = 0;
  hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                         is_put ? nullptr : result.get(), info.get(), &bad_arg);
  if (hr == DISP_E_EXCEPTION && info.get()->pfnDeferredFillIn) {
    info.get()->pfnDeferredFillIn(info.get());
  }
  if (FAILED(hr)) Fail(member, hr, hr == DISP_E_EXCEPTION ? info.get() : nullptr);
  return result;
}

std::wstring DispatchRef::GetText(const std::wstring& member, std::initializer_list<Variant> args) {
  Variant result = Invoke(member, DISPATCH_PROPERTYGET, args);
  if (V_VT(result.get()) == VT_BSTR) return TextOf(V_BSTR(result.get()));
  Variant text;
  const HRESULT hr = late::VariantChangeType(text.get(), result.get(), 0, VT_BSTR);
  if (FAILED(hr)) Fail(member, hr);
  return TextOf(V_BSTR(text.get()));
}

long DispatchRef::GetLong(const std::wstring& member, std::initializer_list<Variant> args) {
  Variant result = Invoke(member, DISPATCH_PROPERTYGET, args);
  Variant number;
  const HRESULT hr = late::VariantChangeType(number.get(), result.get(), 0, VT_I4);
  if (FAILED(hr)) Fail(member, hr);
  return V_I4(number.get());
}

DispatchRef DispatchRef::GetDispatch(const std::wstring& member, WORD flags,
                                     std::initializer_list<Variant> args) {
  Variant result = Invoke(member, flags, args);
  IDispatch* dispatch = nullptr;
  HRESULT hr = DISP_E_TYPEMISMATCH;
  if (V_VT(result.get()) == VT_DISPATCH && V_DISPATCH(result.get())) {
    dispatch = V_DISPATCH(result.get());
    dispatch->AddRef();
    hr = S_OK;
  } else if (V_VT(result.get()) == VT_UNKNOWN && V_UNKNOWN(result.get())) {
    hr =
        V_UNKNOWN(result.get())->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  }
  if (FAILED(hr) || !dispatch) Fail(member, FAILED(hr) ? hr : E_NOINTERFACE);
  return DispatchRef(dispatch, fail_);
}

void DispatchRef::Fail(const std::wstring& member, HRESULT hr, const EXCEPINFO* info) const {
  fail_(member, DispatchErrorText(hr, info));
  std::terminate();  // `fail_` raises
}

}  // namespace quillon
