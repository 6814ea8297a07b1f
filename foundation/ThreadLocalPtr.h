// A pointer of which each thread has its own, kept in a platform thread-local slot. The slot
// owns the values: Reset and the clean-up dispose of the value they replace.
#pragma once

#include <windows.h>

#include "foundation/Callable.h"
#include "foundation/ThreadCleanupList.h"
#include "foundation/WindowsError.h"

// Values are released with delete.
struct DisposeByDeleting {
  template <class T>
  static void Dispose(T* value) {
    delete value;
  }
};

template <class T, class Disposal = DisposeByDeleting>
class ThreadLocalPtr : public Callable<void (*)()> {
 public:
  // Registers itself in the thread clean-up list, so that a thread running the list disposes
  // of its own value when it ends.
  ThreadLocalPtr() : index_(TlsAlloc()) {
    if (index_ == TLS_OUT_OF_INDEXES) {
      RaiseLastError();
      // A handler may swallow the error, but there is no slot to go on with.
      throw Windows::Error(ERROR_NO_MORE_ITEMS);
    }
    try {
      TheThreadCleanupList().Add(*this);
    } catch (...) {
      TlsFree(index_);
      throw;
    }
  }

  ThreadLocalPtr(const ThreadLocalPtr&) = delete;
  ThreadLocalPtr& operator=(const ThreadLocalPtr&) = delete;

  // Disposes of the calling thread's value only: the values of other threads cannot be reached
  // from here, which is why threads run the clean-up list when they end.
  ~ThreadLocalPtr() override {
    TheThreadCleanupList().Withdraw(*this);
    try {
      (*this)();
    } catch (...) {
      // A destructor cannot report that the value could not be disposed of; the slot goes anyway.
    }
    TlsFree(index_);
  }

  // Null on a thread that has stored nothing, which the platform does not count as a failure.
  T* Get() const {
    void* value = TlsGetValue(index_);
    if (value == nullptr) RaiseLastError();
    return static_cast<T*>(value);
  }

  // Stores value (taking it over) and disposes of the value it replaces; storing the pointer
  // already stored changes nothing. A value that cannot be stored is disposed of before the
  // failure is raised, so it is never left without an owner.
  void Reset(T* value = nullptr) {
    T* old = nullptr;
    try {
      old = Get();
    } catch (...) {
      if (value != nullptr) Disposal::Dispose(value);
      throw;
    }
    if (old == value) return;
    if (!TlsSetValue(index_, value)) {
      const DWORD error = GetLastError();
      if (value != nullptr) Disposal::Dispose(value);
      RaiseWindowsError(error);
      return;
    }
    if (old != nullptr) Disposal::Dispose(old);
  }

  // The clean-up for the calling thread: empties its slot and disposes of its value.
  void operator()() override {
    T* value = Get();
    if (value == nullptr) return;
    CheckLastError(TlsSetValue(index_, nullptr));
    Disposal::Dispose(value);
  }

 private:
  DWORD index_;
};
