// Replacement templates. A context holds a list of attached tables; a lookup asks them in
// list order, and the table attached last comes first. The system attaches no table, so
// every lookup yields the template itself, but every dialog text passes through here.
#pragma once

#include <memory>

#include "foundation/UStringRef.h"

struct FormatOverridePair {
  UStringRef<UTF8> key;
  UStringRef<UTF8> replacement;
};

// A view of pairs sorted by key, ties by replacement (byte order). The pairs and their text
// belong to the caller and must outlive the table.
class FormatOverrideTable {
 public:
  FormatOverrideTable(const FormatOverridePair* begin, const FormatOverridePair* end) : begin_(begin), end_(end) {}

  bool Contains(UStringRef<UTF8> key) const;
  // Throws FormatOverrideNotFound where Contains answers false.
  UStringRef<UTF8> Get(UStringRef<UTF8> key) const;

 private:
  const FormatOverridePair* Find(UStringRef<UTF8> key) const;

  const FormatOverridePair* begin_;
  const FormatOverridePair* end_;
};

struct FormatOverrideList;

// Owned by whoever attaches the table; the context never frees a link. A link is in at most
// one list at a time, and leaves it when it is destroyed, so the list never holds a dead link.
struct FormatOverrideLink {
  FormatOverrideLink() = default;
  FormatOverrideLink(const FormatOverrideLink&) = delete;
  FormatOverrideLink& operator=(const FormatOverrideLink&) = delete;
  ~FormatOverrideLink();

  FormatOverrideLink* next = nullptr;
  FormatOverrideLink* previous = nullptr;
  FormatOverrideList* owner = nullptr;
  const FormatOverrideTable* table = nullptr;
};

struct FormatOverrideList {
  FormatOverrideLink* first = nullptr;
  FormatOverrideLink* last = nullptr;
};

class FormatOverrideContext {
 public:
  FormatOverrideContext() = default;
  FormatOverrideContext(const FormatOverrideContext&) = delete;
  FormatOverrideContext& operator=(const FormatOverrideContext&) = delete;

  // Empties the list without freeing the links; links still attached are left detached.
  virtual ~FormatOverrideContext();

  virtual bool Contains(UStringRef<UTF8> key) const;
  virtual UStringRef<UTF8> Lookup(UStringRef<UTF8> key) const;
  // The replacement from the first table that has key; fallback when none has it.
  virtual UStringRef<UTF8> Lookup(UStringRef<UTF8> key, UStringRef<UTF8> fallback) const;
  // The link becomes the first one; it leaves the list it sat in, if any.
  virtual void Attach(FormatOverrideLink& link);
  // Unlinks the link and clears its list fields; a link of another list is left alone.
  virtual void Detach(FormatOverrideLink& link);
  // Whether this context loads tables of its own; this one does not.
  virtual bool LoadsOwnTables() const;
  virtual std::unique_ptr<FormatOverrideContext> CreateEmpty() const;

 protected:
  FormatOverrideList list_;
};

// Installs a context into the process-wide slot, which owns it and destroys it at exit.
// Returns the one installed before (null when none); installing null empties the slot.
std::unique_ptr<FormatOverrideContext> InstallFormatOverrideContext(std::unique_ptr<FormatOverrideContext> context);

// The installed context, else a built-in empty default made on first use.
FormatOverrideContext& CurrentFormatOverrideContext();
