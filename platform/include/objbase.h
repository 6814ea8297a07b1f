// The COM basics in one include: IUnknown, automation types and functions, streams, and
// making objects of a class through its class object.
#pragma once

#include "unknwn.h"
#include "oleauto.h"
#include "objidl.h"

enum CLSCTX {
  CLSCTX_INPROC_SERVER = 0x1,
  CLSCTX_INPROC_HANDLER = 0x2,
  CLSCTX_LOCAL_SERVER = 0x4,
  CLSCTX_REMOTE_SERVER = 0x10,
};
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

enum REGCLS {
  REGCLS_SINGLEUSE = 0,
  REGCLS_MULTIPLEUSE = 1,
  REGCLS_MULTI_SEPARATE = 2,
  REGCLS_SUSPENDED = 4,
  REGCLS_SURROGATE = 8,
};

// The class object of rclsid, asked for riid: one registered by CoRegisterClassObject first,
// else the platform's own in-process server of the class. REGDB_E_CLASSNOTREG when there is
// neither.
HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* pvReserved, REFIID riid, LPVOID* ppv);
// A new object of rclsid through its class object's CreateInstance.
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv);
// Makes pUnk (held until revoked) the class object of rclsid; *lpdwRegister is the cookie
// for CoRevokeClassObject.
HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags, LPDWORD lpdwRegister);
// CO_E_OBJNOTREG for a cookie that registers nothing.
HRESULT CoRevokeClassObject(DWORD dwRegister);
