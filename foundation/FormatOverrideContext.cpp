#include "foundation/FormatOverrideContext.h"

#include <algorithm>

#include "foundation/LibraryExceptions.h"

namespace {

bool PairLess(const FormatOverridePair& a, const FormatOverridePair& b) {
  const int byKey = a.key.view().compare(b.key.view());
  return byKey != 0 ? byKey < 0 : a.replacement.view() < b.replacement.view();
}

std::unique_ptr<FormatOverrideContext>& InstalledSlot() {
  static std::unique_ptr<FormatOverrideContext> slot;
  return slot;
}

void Unlink(FormatOverrideList& list, FormatOverrideLink& link) {
  if (link.previous != nullptr) {
    link.previous->next = link.next;
  } else {
    list.first = link.next;
  }
  if (link.next != nullptr) {
    link.next->previous = link.previous;
  } else {
    list.last = link.previous;
  }
  link.next = link.previous = nullptr;
  link.owner = nullptr;
}

}  // namespace

FormatOverrideLink::~FormatOverrideLink() {
  if (owner != nullptr) Unlink(*owner, *this);
}

// The first pair not less than (key, empty), which is the key's first pair when it has one.
const FormatOverridePair* FormatOverrideTable::Find(UStringRef<UTF8> key) const {
  const FormatOverridePair probe{key, UStringRef<UTF8>()};
  const FormatOverridePair* found = std::lower_bound(begin_, end_, probe, PairLess);
  return found != end_ && found->key == key ? found : nullptr;
}

bool FormatOverrideTable::Contains(UStringRef<UTF8> key) const { return Find(key) != nullptr; }

UStringRef<UTF8> FormatOverrideTable::Get(UStringRef<UTF8> key) const {
  const FormatOverridePair* found = Find(key);
  if (found == nullptr) throw FormatOverrideNotFound();
  return found->replacement;
}

FormatOverrideContext::~FormatOverrideContext() {
  for (FormatOverrideLink* link = list_.first; link != nullptr;) {
    FormatOverrideLink* next = link->next;
    link->next = link->previous = nullptr;
    link->owner = nullptr;
    link = next;
  }
  list_ = FormatOverrideList();
}

bool FormatOverrideContext::Contains(UStringRef<UTF8> key) const {
  for (const FormatOverrideLink* link = list_.first; link != nullptr; link = link->next) {
    if (link->table != nullptr && link->table->Contains(key)) return true;
  }
  return false;
}

UStringRef<UTF8> FormatOverrideContext::Lookup(UStringRef<UTF8> key) const { return Lookup(key, key); }

UStringRef<UTF8> FormatOverrideContext::Lookup(UStringRef<UTF8> key, UStringRef<UTF8> fallback) const {
  for (const FormatOverrideLink* link = list_.first; link != nullptr; link = link->next) {
    if (link->table != nullptr && link->table->Contains(key)) return link->table->Get(key);
  }
  return fallback;
}

void FormatOverrideContext::Attach(FormatOverrideLink& link) {
  // A link sits in one list at most: linking it twice would make a cycle, so it leaves the
  // list it is in (this one or another context's) before it goes to the front.
  if (link.owner != nullptr) Unlink(*link.owner, link);
  link.previous = nullptr;
  link.next = list_.first;
  link.owner = &list_;
  if (list_.first != nullptr) list_.first->previous = &link;
  list_.first = &link;
  if (list_.last == nullptr) list_.last = &link;
}

void FormatOverrideContext::Detach(FormatOverrideLink& link) {
  if (link.owner == &list_) Unlink(list_, link);
}

bool FormatOverrideContext::LoadsOwnTables() const { return false; }

std::unique_ptr<FormatOverrideContext> FormatOverrideContext::CreateEmpty() const {
  return std::make_unique<FormatOverrideContext>();
}

std::unique_ptr<FormatOverrideContext> InstallFormatOverrideContext(std::unique_ptr<FormatOverrideContext> context) {
  std::unique_ptr<FormatOverrideContext> previous = std::move(InstalledSlot());
  InstalledSlot() = std::move(context);
  return previous;
}

FormatOverrideContext& CurrentFormatOverrideContext() {
  if (FormatOverrideContext* installed = InstalledSlot().get()) return *installed;
  static FormatOverrideContext builtInDefault;
  return builtInDefault;
}
