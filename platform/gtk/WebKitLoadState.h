// Where the top-level document of a WebKit view stands: which load is on its way, whether a
// document has come and whether it is still loading, whether it is a page from memory, a
// reload. WebKit's load events and the view's own load requests move it; the view asks it
// what to report and whether a script can run now. Nothing of GTK or WebKit is in it.
#pragma once

namespace gtkui {

class WebKitLoadState {
 public:
  // ---- The view's requests ----
  // A new top-level document is on its way (a navigation, a page from memory, an error page).
  void StartTopLevel(bool fromMemory);
  // The committed document again, of the same kind.
  void StartReload();

  // ---- WebKit's events ----
  // A load began. True when none of the requests above announced it: the caller starts a
  // top-level load for it.
  bool LoadStarted();
  // The load failed before its document came: nothing waits for it, and its end reports
  // nothing.
  void FailedBeforeCommit();
  // The load's document came.
  void Committed();
  // The load ended. True when the end is to be reported (its document complete).
  bool Finished();

  // ---- What the view asks ----
  bool HasDocument() const { return hasDocument_; }
  // A top-level load started and its document has not come yet.
  bool Pending() const { return pending_; }
  // The document came and has not finished loading.
  bool DocumentLoading() const { return documentLoading_; }
  // The committed document is a page from memory.
  bool MemoryDocument() const { return memoryDocument_; }
  // The load on its way, or the document loading, is a reload.
  bool Reloading() const { return reloading_; }

 private:
  bool hasDocument_ = false;
  bool pending_ = false;
  bool documentLoading_ = false;
  bool memoryLoad_ = false;  // the pending load is a page from memory
  bool memoryDocument_ = false;
  bool reloading_ = false;
  bool skipFinished_ = false;
};

}  // namespace gtkui
