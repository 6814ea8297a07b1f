// The class table behind CoCreateInstance: class objects registered by the process, then the
// classes whose in-process server is part of the platform here (the browser control), as
// the registry's InprocServer32 entries name them on Windows.
#include "objbase.h"

#include <mutex>
#include <vector>

#include "atlbase.h"
#include "core/com/BrowserControl.h"
#include "exdisp.h"

namespace {

struct Registration {
  DWORD cookie;
  CLSID clsid;
  DWORD context;
  DWORD flags;
  CComPtr<IUnknown> object;
  bool handedOut = false;
};

struct Registrations {
  std::mutex mutex;
  std::vector<Registration> entries;
  DWORD lastCookie = 0;
};

Registrations& Table() {
  static auto* table = new Registrations;  // never destroyed: a class object may be revoked at exit
  return *table;
}

struct BuiltInClass {
  const CLSID& clsid;
  HRESULT (*getClassObject)(REFIID iid, void** object);
};

const BuiltInClass kBuiltInClasses[] = {
    {CLSID_WebBrowser, &core::BrowserControl::GetClassObject},
};

// The registered class object of clsid for one of the contexts, or null. A single-use one is
// handed out once; it stays registered until revoked.
CComPtr<IUnknown> TakeRegistered(REFCLSID clsid, DWORD context) {
  Registrations& table = Table();
  std::lock_guard lock(table.mutex);
  for (Registration& entry : table.entries) {
    if (entry.clsid != clsid || (entry.context & context) == 0) continue;
    const bool singleUse = (entry.flags & (REGCLS_MULTIPLEUSE | REGCLS_MULTI_SEPARATE)) == 0;
    if (singleUse && entry.handedOut) continue;
    entry.handedOut = true;
    return entry.object;
  }
  return nullptr;
}

}  // namespace

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void*, REFIID riid, LPVOID* ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (CComPtr<IUnknown> registered = TakeRegistered(rclsid, dwClsContext))
    return registered->QueryInterface(riid, ppv);
  if ((dwClsContext & CLSCTX_INPROC_SERVER) != 0) {
    for (const BuiltInClass& known : kBuiltInClasses)
      if (known.clsid == rclsid) return known.getClassObject(riid, ppv);
  }
  return REGDB_E_CLASSNOTREG;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  CComPtr<IClassFactory> factory;
  const HRESULT hr =
      CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  return factory->CreateInstance(pUnkOuter, riid, ppv);
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags, LPDWORD lpdwRegister) {
  if (lpdwRegister == nullptr || pUnk == nullptr) return E_INVALIDARG;
  *lpdwRegister = 0;
  Registrations& table = Table();
  std::lock_guard lock(table.mutex);
  const DWORD cookie = ++table.lastCookie;
  table.entries.push_back(Registration{cookie, rclsid, dwClsContext, flags, CComPtr<IUnknown>(pUnk)});
  *lpdwRegister = cookie;
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
  CComPtr<IUnknown> released;
  {
    Registrations& table = Table();
    std::lock_guard lock(table.mutex);
    for (auto it = table.entries.begin(); it != table.entries.end(); ++it) {
      if (it->cookie != dwRegister) continue;
      released = it->object;  // let go of outside the lock: its Release may call back in
      table.entries.erase(it);
      return S_OK;
    }
  }
  return CO_E_OBJNOTREG;
}
