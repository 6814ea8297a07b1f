// Streams and persistence: ISequentialStream, IStream and IPersist.
#pragma once

#include "unknwn.h"
#include "wtypes.h"

struct IDataObject;  // only passed through

enum STREAM_SEEK {
  STREAM_SEEK_SET = 0,
  STREAM_SEEK_CUR = 1,
  STREAM_SEEK_END = 2,
};

enum STGTY {
  STGTY_STORAGE = 1,
  STGTY_STREAM = 2,
  STGTY_LOCKBYTES = 3,
  STGTY_PROPERTY = 4,
};

#define STATFLAG_DEFAULT 0
#define STATFLAG_NONAME 1

struct STATSTG {
  LPOLESTR pwcsName;
  DWORD type;
  ULARGE_INTEGER cbSize;
  FILETIME mtime;
  FILETIME ctime;
  FILETIME atime;
  DWORD grfMode;
  DWORD grfLocksSupported;
  CLSID clsid;
  DWORD grfStateBits;
  DWORD reserved;
};

extern const IID IID_ISequentialStream;
extern const IID IID_IStream;
extern const IID IID_IPersist;
extern const IID IID_IPersistStream;

struct ISequentialStream : public IUnknown {
  // Copies up to cb bytes; *pcbRead (when given) gets the count, 0 at the end of the data.
  STDMETHOD(Read)(void* pv, ULONG cb, ULONG* pcbRead) PURE;
  STDMETHOD(Write)(const void* pv, ULONG cb, ULONG* pcbWritten) PURE;
};
TSR_INTERFACE_ID(ISequentialStream, IID_ISequentialStream);

struct IStream : public ISequentialStream {
  STDMETHOD(Seek)(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) PURE;
  STDMETHOD(SetSize)(ULARGE_INTEGER libNewSize) PURE;
  STDMETHOD(CopyTo)(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead, ULARGE_INTEGER* pcbWritten) PURE;
  STDMETHOD(Commit)(DWORD grfCommitFlags) PURE;
  STDMETHOD(Revert)() PURE;
  STDMETHOD(LockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) PURE;
  STDMETHOD(UnlockRegion)(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) PURE;
  STDMETHOD(Stat)(STATSTG* pstatstg, DWORD grfStatFlag) PURE;
  STDMETHOD(Clone)(IStream** ppstm) PURE;
};
typedef IStream* LPSTREAM;
TSR_INTERFACE_ID(IStream, IID_IStream);

struct IPersist : public IUnknown {
  STDMETHOD(GetClassID)(CLSID* pClassID) PURE;
};
TSR_INTERFACE_ID(IPersist, IID_IPersist);

struct IPersistStream : public IPersist {
  STDMETHOD(IsDirty)() PURE;
  STDMETHOD(Load)(IStream* pStm) PURE;
  STDMETHOD(Save)(IStream* pStm, BOOL fClearDirty) PURE;
  STDMETHOD(GetSizeMax)(ULARGE_INTEGER* pcbSize) PURE;
};
TSR_INTERFACE_ID(IPersistStream, IID_IPersistStream);
