// A small in-process COM server of the demo payload. One source builds all four servers; each
// build names its class through compile definitions:
//   QUILLON_COM_CLSID   the class id in registry form, "{XXXXXXXX-...}"
//   QUILLON_COM_PROGID  the ProgID, "Quillon.Demo.ModHook.1"
//   QUILLON_COM_NAME    the class description
// Self-registration writes HKCR\CLSID\{clsid} (description), its InprocServer32 (this file's
// path, ThreadingModel "Apartment") and ProgID keys, and HKCR\<ProgID>\CLSID, so that
// `regsvr32 /s` leaves a registration anyone can read back; `regsvr32 /u` removes it again.
// The class's object answers IUnknown and IPersist, whose GetClassID names the class, so a
// client can tell which server it reached.

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <olectl.h>

#include <new>

#ifndef QUILLON_COM_CLSID
#error QUILLON_COM_CLSID must name the class id
#endif

namespace {

const wchar_t kClsidText[] = L"" QUILLON_COM_CLSID;
const wchar_t kProgId[] = L"" QUILLON_COM_PROGID;
const wchar_t kName[] = L"" QUILLON_COM_NAME;

HMODULE g_module = nullptr;
LONG g_objects = 0;  // live objects and factories
LONG g_locks = 0;    // IClassFactory::LockServer count

// Objects live on the process heap, not through operator new, so that the server needs nothing
// of the C++ runtime library and stays small.
template <typename T>
T* Create() {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(T));
  return memory == nullptr ? nullptr : new (memory) T();
}
template <typename T>
void Destroy(T* object) {
  object->~T();
  HeapFree(GetProcessHeap(), 0, object);
}

CLSID OwnClsid() {
  CLSID clsid{};
  CLSIDFromString(kClsidText, &clsid);
  return clsid;
}

class DemoObject final : public IPersist {
 public:
  DemoObject() { InterlockedIncrement(&g_objects); }
  ~DemoObject() { InterlockedDecrement(&g_objects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPersist)) {
      *out = static_cast<IPersist*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) Destroy(this);
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
    if (clsid == nullptr) return E_POINTER;
    *clsid = OwnClsid();
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

class Factory final : public IClassFactory {
 public:
  Factory() { InterlockedIncrement(&g_objects); }
  ~Factory() { InterlockedDecrement(&g_objects); }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = InterlockedDecrement(&refs_);
    if (left == 0) Destroy(this);
    return left;
  }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    DemoObject* object = Create<DemoObject>();
    if (object == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&g_locks);
    } else {
      InterlockedDecrement(&g_locks);
    }
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

// Sets the string value `value_name` (nullptr: the default value) of HKCR\<key_path>, creating
// the key.
bool SetClassString(const wchar_t* key_path, const wchar_t* value_name, const wchar_t* text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key_path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD bytes = static_cast<DWORD>((lstrlenW(text) + 1) * sizeof(wchar_t));
  const LONG rc =
      RegSetValueExW(key, value_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

// "CLSID\{clsid}" followed by `tail` (which begins with "\" or is empty).
void ClassKey(wchar_t* out, size_t capacity, const wchar_t* tail) {
  lstrcpynW(out, L"CLSID\\", static_cast<int>(capacity));
  const size_t used = lstrlenW(out);
  lstrcpynW(out + used, kClsidText, static_cast<int>(capacity - used));
  const size_t used2 = lstrlenW(out);
  lstrcpynW(out + used2, tail, static_cast<int>(capacity - used2));
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, OwnClsid())) return CLASS_E_CLASSNOTAVAILABLE;
  Factory* factory = Create<Factory>();
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;

  wchar_t key[128];
  ClassKey(key, 128, L"");
  bool ok = SetClassString(key, nullptr, kName);
  ClassKey(key, 128, L"\\InprocServer32");
  ok = ok && SetClassString(key, nullptr, path);
  ok = ok && SetClassString(key, L"ThreadingModel", L"Apartment");
  ClassKey(key, 128, L"\\ProgID");
  ok = ok && SetClassString(key, nullptr, kProgId);
  ok = ok && SetClassString(kProgId, nullptr, kName);

  wchar_t progid_clsid[128];
  lstrcpynW(progid_clsid, kProgId, 120);
  lstrcatW(progid_clsid, L"\\CLSID");
  ok = ok && SetClassString(progid_clsid, nullptr, kClsidText);
  return ok ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
  wchar_t key[128];
  ClassKey(key, 128, L"");
  const LONG a = RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
  const LONG b = RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
  // A registration that is already gone is not a failure.
  const bool ok = (a == ERROR_SUCCESS || a == ERROR_FILE_NOT_FOUND) &&
                  (b == ERROR_SUCCESS || b == ERROR_FILE_NOT_FOUND);
  return ok ? S_OK : SELFREG_E_CLASS;
}
