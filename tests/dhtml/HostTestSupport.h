// An HTML dialog inside an owner dialog, on the scripted browser engine: the way the launcher
// embeds its guide dialog, with the browser driven the way a user and a browser drive it.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <afxpriv.h>
#include <windows.h>

#include "Shared/Windows/MFC/Dialogs/BrowserVersion.h"
#include "Shared/Windows/MFC/Dialogs/MyDHtmlDialog.h"
#include "support/TemplateBytes.h"
#include "support/ScriptedBrowserEngine.h"

namespace hosttest {

// A template of the classic form with no controls, a child dialog or a top-level one, in a
// global block: the platform reads templates only from memory whose extent it knows.
class EmptyDialogTemplate {
 public:
  explicit EmptyDialogTemplate(bool child) {
    const std::uint32_t style = child ? (WS_CHILD | WS_VISIBLE | DS_CONTROL) : (WS_POPUP | WS_CAPTION | WS_VISIBLE);
    TemplateBytes t;
    t.Dword(style).Dword(0).Word(0);                 // style, extended style, no controls
    t.Word(0).Word(0).Word(200).Word(120);           // x, y, cx, cy in dialog units
    t.Word(0).Word(0).Text(child ? u"" : u"Owner");  // no menu, the dialog class, the caption
    block_ = GlobalAlloc(GPTR, t.Size());
    std::memcpy(GlobalLock(block_), t.Bytes().data(), t.Size());
  }
  ~EmptyDialogTemplate() {
    GlobalUnlock(block_);
    GlobalFree(block_);
  }
  EmptyDialogTemplate(const EmptyDialogTemplate&) = delete;
  EmptyDialogTemplate& operator=(const EmptyDialogTemplate&) = delete;
  LPCDLGTEMPLATE Get() const { return static_cast<LPCDLGTEMPLATE>(GlobalLock(block_)); }

 private:
  HGLOBAL block_;
};

// The owner of the HTML dialog. It records what the browser site sends it and answers the
// way a test sets it up.
class OwnerDialog : public CDialog {
 public:
  std::vector<WPARAM> nextControlRequests;  // WM_NEXTDLGCTL's wParam, in order
  int helpRequests = 0;
  LRESULT helpAnswer = 0;                   // WM_COMMANDHELP's answer
  std::vector<WPARAM> offeredKeys;          // key-down messages offered to PreTranslateMessage
  bool takesKeys = false;

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) offeredKeys.push_back(msg->wParam);
    return takesKeys ? TRUE : FALSE;
  }

 protected:
  LRESULT OnNextDlgCtl(WPARAM wParam, LPARAM) {
    nextControlRequests.push_back(wParam);
    return 0;
  }
  LRESULT OnCommandHelp(WPARAM, LPARAM) {
    ++helpRequests;
    return helpAnswer;
  }
  DECLARE_MESSAGE_MAP()
};

// The scripted engine with an owner dialog, and the HTML dialog of type Dialog made inside it
// by Create(). Pending browser events are delivered by Deliver().
template <class Dialog = CMyDHtmlDialog>
class Host {
 public:
  Host() : engine(core::InstallScriptedBrowserEngine()), ownerTemplate_(false), childTemplate_(true) {
    owner.CreateIndirect(ownerTemplate_.Get(), nullptr);
    dialog = std::make_unique<Dialog>(&owner);
  }
  ~Host() {
    dialog.reset();
    if (owner.m_hWnd != nullptr) owner.DestroyWindow();
    core::InstallBrowserEngine(nullptr);
  }
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  // Makes the dialog's window (OnInitDialog runs inside) and, unless told not to, lets the
  // first page ("about:blank" unless an address was set) load completely.
  void Create(bool deliver = true) {
    dialog->CreateIndirect(childTemplate_.Get(), &owner);
    if (deliver) Deliver();
  }
  void Deliver() { engine->DeliverPendingEvents(); }
  core::ScriptedBrowser& Browser() { return engine->LastBrowser(); }

  std::shared_ptr<core::ScriptedBrowserEngine> engine;

 private:
  EmptyDialogTemplate ownerTemplate_;
  EmptyDialogTemplate childTemplate_;

 public:
  OwnerDialog owner;
  std::unique_ptr<Dialog> dialog;
};

// Installs a machine hive whose browser version is the given one (none: no value) and drops
// the remembered answer, so that the next navigate-complete asks again.
void InstallBrowserVersion(const char16_t* version);

// The text of the host's source line that a requirement-failure line
// ("... (MyDHtmlDialog.cpp:N)") names, read from the source tree; empty when it names none.
std::string HostSourceLineOf(const std::string& reported);

// Tests whose pages are styled: the browser is version 11 for each test, and the remembered
// answer goes with the test.
class StyledPageTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallBrowserVersion(u"11.0"); }
  void TearDown() override { ForgetBrowserVersion(); }
};

}  // namespace hosttest
