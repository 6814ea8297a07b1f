// The framework's exceptions, thrown by pointer and released with Delete.
#include "afxwin.h"

#include <algorithm>
#include <string>

#include "WideText.h"

namespace {

BOOL CopyMessage(const WCHAR* text, LPWSTR error, UINT maxError) {
  if (error == nullptr || maxError == 0) return FALSE;
  const WString message(text);
  const std::size_t n = std::min<std::size_t>(message.size(), maxError - 1);
  message.copy(error, n);
  error[n] = 0;
  return TRUE;
}

}  // namespace

CException::~CException() = default;

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

BOOL CException::GetErrorMessage(LPWSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext != nullptr) *helpContext = 0;
  if (error != nullptr && maxError > 0) error[0] = 0;
  return FALSE;
}

BOOL CMemoryException::GetErrorMessage(LPWSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext != nullptr) *helpContext = 0;
  return CopyMessage(WIDE("Out of memory."), error, maxError);
}

BOOL CResourceException::GetErrorMessage(LPWSTR error, UINT maxError, UINT* helpContext) const {
  if (helpContext != nullptr) *helpContext = 0;
  return CopyMessage(WIDE("A required resource was unavailable."), error, maxError);
}

void AfxThrowMemoryException() { throw new CMemoryException(); }
void AfxThrowResourceException() { throw new CResourceException(); }
void AfxThrowUserException() { throw new CUserException(); }
