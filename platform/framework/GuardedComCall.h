// The framework's answer to the browser when its own code fails: nothing it throws crosses
// back into the browser, whose caller could not handle it; the browser hears E_FAIL.
#pragma once

#include "afxwin.h"

template <class Call>
HRESULT GuardedComCall(Call call) {
  try {
    return call();
  } catch (CException* failure) {
    failure->Delete();
    return E_FAIL;
  } catch (...) {
    return E_FAIL;
  }
}
