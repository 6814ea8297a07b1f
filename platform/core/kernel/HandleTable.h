// The objects behind one kind of handle (windows, keys, GDI objects, menus, icons, memory,
// deferred batches). New handles count up from a start of the kind's own and are never handed
// out again, so a closed handle stays bad for the rest of the run instead of silently naming
// a newer object. Kinds start in ranges of their own, so a handle of one kind is never a live
// handle of another.
//
// Every table is made once and never destroyed (see Make): objects of the framework that live
// in static storage release their handles during static destruction at exit, and must still
// find their table then.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "errhandlingapi.h"
#include "windef.h"

namespace core {

template <typename Handle, typename Object>
class HandleTable {
 public:
  // The one way to make a table. Its owner keeps it in a function-local static that is
  // deliberately never destroyed,
  //   static auto* table = HandleTable<HMENU, Menu>::Make(0x00900004, 4, ERROR_INVALID_MENU_HANDLE);
  // so that it outlives every object that may still release a handle at exit.
  // first: the first handle handed out; step: the distance to the next one; badHandleError:
  // what Lookup sets as the last error on a handle that names nothing.
  static HandleTable* Make(std::uintptr_t first, std::uintptr_t step, DWORD badHandleError) {
    return new HandleTable(first, step, badHandleError);
  }
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;

  // Adds an object under a new handle.
  Handle Add(Object object) {
    std::lock_guard lock(mutex_);
    const Handle handle = FromNumber(next_);
    next_ += step_;
    objects_.emplace(handle, std::move(object));
    return handle;
  }

  // Adds an object under a handle the caller chose (memory blocks that are their own
  // handles); false when the handle is already taken.
  bool Insert(Handle handle, Object object) {
    std::lock_guard lock(mutex_);
    return objects_.emplace(handle, std::move(object)).second;
  }

  // The object of a handle, or null; the last error stays as it was. The object stays where
  // it is until its handle is removed.
  Object* Find(Handle handle) {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(handle);
    return it == objects_.end() ? nullptr : &it->second;
  }

  // The same, but a handle that names nothing sets the kind's error.
  Object* Lookup(Handle handle) {
    Object* object = Find(handle);
    if (object == nullptr) ReportBadHandle();
    return object;
  }

  // Calls use(Object*) with the table locked, null for a bad handle (the last error is left
  // to use), for reads and changes that must not interleave with another thread's.
  template <typename Use>
  decltype(auto) Visit(Handle handle, Use&& use) {
    std::lock_guard lock(mutex_);
    auto it = objects_.find(handle);
    return std::forward<Use>(use)(it == objects_.end() ? nullptr : &it->second);
  }

  // Removes a handle and gives its object back; nothing when the handle names nothing. The
  // object leaves the table before anything else happens to it, so its destructor may use
  // the table again.
  std::optional<Object> Take(Handle handle) {
    return TakeIf(handle, [](const Object&) { return true; });
  }

  // Removes a handle whose object passes the test; false when the handle names nothing or
  // the object refuses. The last error is left to the caller.
  template <typename Test>
  bool RemoveIf(Handle handle, Test&& test) {
    return TakeIf(handle, std::forward<Test>(test)).has_value();
  }

  bool Remove(Handle handle) { return Take(handle).has_value(); }

  void ReportBadHandle() const { SetLastError(badHandleError_); }

 private:
  HandleTable(std::uintptr_t first, std::uintptr_t step, DWORD badHandleError)
      : next_(first), step_(step), badHandleError_(badHandleError) {}

  template <typename Test>
  std::optional<Object> TakeIf(Handle handle, Test&& test) {
    typename std::unordered_map<Handle, Object>::node_type node;
    {
      std::lock_guard lock(mutex_);
      auto it = objects_.find(handle);
      if (it == objects_.end() || !test(std::as_const(it->second))) return std::nullopt;
      node = objects_.extract(it);
    }
    // Moved out after the lock is released: the node's destructor (and the caller's) may call
    // back into the table.
    return std::optional<Object>(std::move(node.mapped()));
  }

  static Handle FromNumber(std::uintptr_t number) {
    if constexpr (std::is_pointer_v<Handle>)
      return reinterpret_cast<Handle>(number);
    else
      return static_cast<Handle>(number);
  }

  std::mutex mutex_;
  std::unordered_map<Handle, Object> objects_;
  std::uintptr_t next_;
  const std::uintptr_t step_;
  const DWORD badHandleError_;
};

}  // namespace core
