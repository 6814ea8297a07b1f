#include "Shared/Windows/MFC/Dialogs/DataReaderStream.h"

#include <GuardedComCall.h>

#include "foundation/ReportRequirementFailure.h"

STDMETHODIMP DataReaderStream::QueryInterface(REFIID riid, void** ppvObject) {
  if (ppvObject == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IStream || riid == IID_ISequentialStream) {
    *ppvObject = static_cast<IStream*>(this);
    return S_OK;
  }
  *ppvObject = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DataReaderStream::AddRef() { return 1; }
STDMETHODIMP_(ULONG) DataReaderStream::Release() { return 1; }

STDMETHODIMP DataReaderStream::Read(void* pv, ULONG cb, ULONG* pcbRead) {
  if (pv == nullptr && cb != 0) return STG_E_INVALIDPOINTER;
  return GuardedCall(ReportRequirementFailure, "stream read", HRESULT{E_UNEXPECTED}, [&] {
    ByteRange output(static_cast<unsigned char*>(pv), static_cast<std::size_t>(cb));
    unsigned char* const first = output.begin;
    // An empty range copies nothing, whatever the buffer pointer is.
    if (cb != 0) reader_.ReadSome(output);
    if (pcbRead != nullptr) *pcbRead = static_cast<ULONG>(output.begin - first);
    return HRESULT{S_OK};
  });
}

STDMETHODIMP DataReaderStream::Write(const void*, ULONG, ULONG*) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::SetSize(ULARGE_INTEGER) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::Commit(DWORD) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::Revert() { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::Stat(STATSTG*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP DataReaderStream::Clone(IStream**) { return E_NOTIMPL; }
