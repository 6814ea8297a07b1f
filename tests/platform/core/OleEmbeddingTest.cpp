// Making objects through class objects (CoRegisterClassObject, CoGetClassObject,
// CoCreateInstance, CoRevokeClassObject) and embedding the browser control the way a
// container does: CoCreateInstance, SetClientSite, DoVerb(OLEIVERB_INPLACEACTIVATE),
// SetObjectRects, Close.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <atlbase.h>
#include <exdisp.h>
#include <objbase.h>
#include <oleidl.h>

#include "core/com/BrowserEngine.h"
#include "support/ScriptedBrowserEngine.h"
#include "support/WindowTestSupport.h"

namespace {

const CLSID kTestClass = {0x1B5E7A10, 0x0C3D, 0x4F21, {0x9A, 0x44, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC}};

// A class object whose objects are plain counted IUnknowns; it counts what it made and how
// many references others hold on it.
class CountingFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    ++made;
    return QueryInterface(iid, object);  // the factory stands in for its objects
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

  ULONG references = 0;
  int made = 0;
};

TEST(ClassObjects, ARegisteredClassObjectMakesTheObjectsUntilItIsRevoked) {
  CountingFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  EXPECT_EQ(factory.references, 1u);  // the table holds it

  for (int i = 0; i < 2; ++i) {
    CComPtr<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               reinterpret_cast<void**>(&object)),
              S_OK);
    EXPECT_NE(object, nullptr);
  }
  EXPECT_EQ(factory.made, 2);
  // Registered for in-process use only: a local server is not asked of it.
  IUnknown* object = &factory;
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object)),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(object, nullptr);

  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(factory.references, 0u);
  EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&object)),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
  EXPECT_EQ(CoRevokeClassObject(0), CO_E_OBJNOTREG);
}

TEST(ClassObjects, ASingleUseClassObjectIsHandedOutOnceAndStillRevoked) {
  CountingFactory factory;
  DWORD cookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_SINGLEUSE, &cookie), S_OK);
  CComPtr<IClassFactory> first;
  EXPECT_EQ(CoGetClassObject(kTestClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&first)),
            S_OK);
  CComPtr<IClassFactory> second;
  EXPECT_EQ(CoGetClassObject(kTestClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void**>(&second)),
            REGDB_E_CLASSNOTREG);
  first.Release();
  EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
  EXPECT_EQ(factory.references, 0u);
}

TEST(ClassObjects, TheBrowserControlIsThereOnlyWithAnEngineAndCannotBeAggregated) {
  core::InstallBrowserEngine(nullptr);
  CComPtr<IUnknown> browser;
  EXPECT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&browser)),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(browser, nullptr);

  core::InstallScriptedBrowserEngine();
  CountingFactory outer;
  EXPECT_EQ(CoCreateInstance(CLSID_WebBrowser, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&browser)),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IWebBrowser2,
                             reinterpret_cast<void**>(&browser)),
            S_OK);
  CComQIPtr<IOleObject> object(browser.p);
  CComQIPtr<IOleInPlaceObject> inPlace(browser.p);
  CComQIPtr<IConnectionPointContainer> events(browser.p);
  EXPECT_NE(object, nullptr);
  EXPECT_NE(inPlace, nullptr);
  EXPECT_NE(events, nullptr);
  // No window before in-place activation.
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(inPlace->GetWindow(&window), E_FAIL);
  EXPECT_EQ(window, nullptr);
  core::InstallBrowserEngine(nullptr);
}

// A container's site: its window and place as the test sets them, and what it was told.
class RecordingSite final : public IOleClientSite, public IOleInPlaceSite {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) *object = static_cast<IOleClientSite*>(this);
    if (iid == IID_IOleInPlaceSite || iid == IID_IOleWindow) *object = static_cast<IOleInPlaceSite*>(this);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    *moniker = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetContainer(IOleContainer** container) override {
    *container = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = container;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override {
    told.push_back("CanInPlaceActivate");
    return mayActivate ? S_OK : S_FALSE;
  }
  STDMETHODIMP OnInPlaceActivate() override {
    told.push_back("OnInPlaceActivate");
    return S_OK;
  }
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT placeOut,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    told.push_back("GetWindowContext");
    *frame = nullptr;
    *document = nullptr;
    *placeOut = place;
    *clip = place;
    return S_OK;
  }
  STDMETHODIMP Scroll(SIZE) override { return S_FALSE; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override {
    told.push_back("OnInPlaceDeactivate");
    return S_OK;
  }
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

  HWND container = nullptr;
  RECT place{10, 20, 110, 80};
  bool mayActivate = true;
  std::vector<std::string> told;
  ULONG references = 0;
};

class BrowserEmbedding : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_ = core::InstallScriptedBrowserEngine();
    site_.container =
        CreateWindowExW(0, PlainWindowClass(), u"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&object_)),
              S_OK);
    inPlace_ = object_;
  }
  void TearDown() override {
    inPlace_.Release();
    object_.Release();
    DestroyWindow(site_.container);
    core::InstallBrowserEngine(nullptr);
  }

  static RECT PlaceIn(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  std::shared_ptr<core::ScriptedBrowserEngine> engine_;
  RecordingSite site_;
  CComPtr<IOleObject> object_;
  CComQIPtr<IOleInPlaceObject> inPlace_;
};

TEST_F(BrowserEmbedding, InPlaceActivationMakesTheWindowWhereTheSiteSaysAndCloseEndsIt) {
  ASSERT_EQ(object_->SetClientSite(&site_), S_OK);
  EXPECT_GT(site_.references, 0u);
  CComPtr<IOleClientSite> asked;
  EXPECT_EQ(object_->GetClientSite(&asked), S_OK);
  EXPECT_EQ(asked.p, static_cast<IOleClientSite*>(&site_));
  asked.Release();

  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site_, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(site_.told, (std::vector<std::string>{"CanInPlaceActivate", "GetWindowContext", "OnInPlaceActivate"}));
  HWND window = nullptr;
  ASSERT_EQ(inPlace_->GetWindow(&window), S_OK);
  EXPECT_EQ(GetParent(window), site_.container);
  EXPECT_NE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE, 0);
  const RECT place = PlaceIn(window, site_.container);
  EXPECT_EQ(place.left, 10);
  EXPECT_EQ(place.top, 20);
  EXPECT_EQ(place.right, 110);
  EXPECT_EQ(place.bottom, 80);
  // Activating again changes nothing.
  EXPECT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site_, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(site_.told.size(), 3u);

  const RECT moved{0, 0, 300, 200};
  EXPECT_EQ(inPlace_->SetObjectRects(&moved, &moved), S_OK);
  const RECT after = PlaceIn(window, site_.container);
  EXPECT_EQ(after.right - after.left, 300);
  EXPECT_EQ(after.bottom - after.top, 200);
  EXPECT_EQ(inPlace_->SetObjectRects(nullptr, &moved), E_INVALIDARG);

  EXPECT_EQ(object_->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(site_.told.back(), "OnInPlaceDeactivate");
  EXPECT_EQ(inPlace_->SetObjectRects(&moved, &moved), OLE_E_NOT_INPLACEACTIVE);
  EXPECT_EQ(object_->SetClientSite(nullptr), S_OK);
  EXPECT_EQ(site_.references, 0u);
}

TEST_F(BrowserEmbedding, TheCallersParentAndPlaceWinOverTheSites) {
  const HWND other =
      CreateWindowExW(0, PlainWindowClass(), u"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_EQ(object_->SetClientSite(&site_), S_OK);
  const RECT place{5, 6, 55, 66};
  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, other, &place), S_OK);
  HWND window = nullptr;
  ASSERT_EQ(inPlace_->GetWindow(&window), S_OK);
  EXPECT_EQ(GetParent(window), other);
  const RECT got = PlaceIn(window, other);
  EXPECT_EQ(got.left, 5);
  EXPECT_EQ(got.bottom, 66);
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  DestroyWindow(other);
}

TEST_F(BrowserEmbedding, WithoutASiteThatLetsItTheControlMakesNoWindow) {
  EXPECT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, site_.container, nullptr), E_UNEXPECTED);
  site_.mayActivate = false;
  ASSERT_EQ(object_->SetClientSite(&site_), S_OK);
  EXPECT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), E_FAIL);
  EXPECT_EQ(object_->DoVerb(OLEIVERB_OPEN, nullptr, nullptr, 0, nullptr, nullptr), OLEOBJ_E_INVALIDVERB);
  EXPECT_EQ(GetWindow(site_.container, GW_CHILD), nullptr);
  EXPECT_EQ(site_.told, (std::vector<std::string>{"CanInPlaceActivate"}));
  // Closing a control that never was active tells the site nothing.
  EXPECT_EQ(object_->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(site_.told.size(), 1u);
  object_->SetClientSite(nullptr);
}

TEST_F(BrowserEmbedding, AControlWhoseWindowWentWithItsParentClosesQuietly) {
  ASSERT_EQ(object_->SetClientSite(&site_), S_OK);
  ASSERT_EQ(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  DestroyWindow(site_.container);
  site_.container = nullptr;
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(inPlace_->GetWindow(&window), E_FAIL);
  EXPECT_EQ(object_->Close(OLECLOSE_NOSAVE), S_OK);
  EXPECT_EQ(site_.told.back(), "OnInPlaceDeactivate");
  object_->SetClientSite(nullptr);
}

}  // namespace
