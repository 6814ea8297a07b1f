// A read-only COM stream over a DataReader, for handing bytes to a browser document's Load.
// It counts no references: it lives on its user's stack for the duration of one call, and
// the reader must outlive it.
#pragma once

#include <windows.h>
#include <objidl.h>

#include "foundation/DataReader.h"

class DataReaderStream : public IStream {
 public:
  explicit DataReaderStream(DataReader& reader) : reader_(reader) {}
  DataReaderStream(const DataReaderStream&) = delete;
  DataReaderStream& operator=(const DataReaderStream&) = delete;
  virtual ~DataReaderStream() = default;

  // IUnknown, IStream and ISequentialStream give the stream itself; no reference is added.
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
  STDMETHOD_(ULONG, AddRef)() override;
  STDMETHOD_(ULONG, Release)() override;

  // Copies what the reader still has, up to cb bytes; S_OK also for a short or empty read.
  STDMETHOD(Read)(void* pv, ULONG cb, ULONG* pcbRead) override;
  // Nothing else of a stream is offered: E_NOTIMPL.
  STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) override;
  STDMETHOD(Seek)(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override;
  STDMETHOD(SetSize)(ULARGE_INTEGER libNewSize) override;
  STDMETHOD(CopyTo)(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) override;
  STDMETHOD(Commit)(DWORD grfCommitFlags) override;
  STDMETHOD(Revert)() override;
  STDMETHOD(LockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  STDMETHOD(UnlockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) override;
  STDMETHOD(Clone)(IStream** ppstm) override;

 private:
  DataReader& reader_;
};
