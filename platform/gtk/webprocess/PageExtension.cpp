#include "gtk/webprocess/PageExtension.h"

#include "gtk/PageMessages.h"

namespace gtkui::webprocess {

namespace {

// Reports the selection of the document now and on every change, through report(selected).
constexpr char kSelectionWatch[] =
    "(function (report) {\n"
    "  function changed() {\n"
    "    var selection = document.getSelection();\n"
    "    report(!!selection && !selection.isCollapsed);\n"
    "  }\n"
    "  document.addEventListener('selectionchange', changed);\n"
    "  changed();\n"
    "})";

GVariant* VariantOf(JSCValue* value) {
  if (jsc_value_is_boolean(value)) return g_variant_new_boolean(jsc_value_to_boolean(value));
  if (jsc_value_is_string(value)) {
    gchar* text = jsc_value_to_string(value);
    // A GVariant string must be UTF-8; a JavaScript string need not be well formed.
    gchar* valid = g_utf8_make_valid(text != nullptr ? text : "", -1);
    g_free(text);
    return g_variant_new_take_string(valid);
  }
  return g_variant_new_tuple(nullptr, 0);
}

// WebKit deprecates the main frame for the day when a page's frames live in several web
// processes; until then it is where the top-level document is, and nothing else names it.
WebKitFrame* MainFrameOf(WebKitWebPage* page) {
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  return webkit_web_page_get_main_frame(page);
  G_GNUC_END_IGNORE_DEPRECATIONS
}

void Discard(GVariant* value) {
  if (value != nullptr) g_variant_unref(g_variant_ref_sink(value));
}

// The document's script may hold the report function after its page is gone: it reaches the
// page through a weak reference.
void ReportSelection(gboolean selected, gpointer data) {
  auto* page = static_cast<WebKitWebPage*>(g_weak_ref_get(static_cast<GWeakRef*>(data)));
  if (page == nullptr) return;
  WebKitUserMessage* message = webkit_user_message_new(pagemessages::kSelection, g_variant_new_boolean(selected));
  webkit_web_page_send_message_to_view(page, message, nullptr, nullptr, nullptr);
  g_object_unref(page);
}

void ForgetPage(gpointer data) {
  auto* reference = static_cast<GWeakRef*>(data);
  g_weak_ref_clear(reference);
  delete reference;
}

}  // namespace

PageExtension::PageExtension(const char* worldName)
    : world_(worldName != nullptr ? webkit_script_world_new_with_name(worldName) : webkit_script_world_new()) {}

void PageExtension::Serve(WebKitWebExtension* extension) {
  g_signal_connect(extension, "page-created", G_CALLBACK(&PageExtension::OnPageCreated), this);
}

void PageExtension::OnPageCreated(WebKitWebExtension*, WebKitWebPage* page, gpointer self) {
  g_signal_connect(page, "user-message-received", G_CALLBACK(&PageExtension::OnMessage), self);
  g_signal_connect(page, "document-loaded", G_CALLBACK(&PageExtension::OnDocumentLoaded), self);
}

// Messages of other names, or without a script, are left to WebKit, which tells the sender
// that nobody handled them.
gboolean PageExtension::OnMessage(WebKitWebPage* page, WebKitUserMessage* message, gpointer self) {
  const char* name = webkit_user_message_get_name(message);
  const bool run = g_strcmp0(name, pagemessages::kRunScript) == 0;
  const bool evaluate = g_strcmp0(name, pagemessages::kEvaluateScript) == 0;
  GVariant* parameters = webkit_user_message_get_parameters(message);
  if ((!run && !evaluate) || parameters == nullptr || !g_variant_is_of_type(parameters, G_VARIANT_TYPE_STRING))
    return FALSE;
  GVariant* value = static_cast<PageExtension*>(self)->Evaluate(page, g_variant_get_string(parameters, nullptr));
  if (evaluate)
    webkit_user_message_send_reply(message, webkit_user_message_new(name, value));
  else
    Discard(value);
  return TRUE;
}

void PageExtension::OnDocumentLoaded(WebKitWebPage* page, gpointer self) {
  static_cast<PageExtension*>(self)->WatchSelection(page);
}

GVariant* PageExtension::Evaluate(WebKitWebPage* page, const char* script) const {
  JSCContext* context = webkit_frame_get_js_context_for_script_world(MainFrameOf(page), world_);
  JSCValue* value = jsc_context_evaluate(context, script, -1);
  GVariant* result = jsc_context_get_exception(context) == nullptr ? VariantOf(value) : nullptr;
  jsc_context_clear_exception(context);
  g_object_unref(value);
  g_object_unref(context);
  return result;
}

void PageExtension::WatchSelection(WebKitWebPage* page) const {
  JSCContext* context = webkit_frame_get_js_context_for_script_world(MainFrameOf(page), world_);
  auto* reference = new GWeakRef;
  g_weak_ref_init(reference, page);
  JSCValue* report = jsc_value_new_function(context, nullptr, G_CALLBACK(&ReportSelection), reference, &ForgetPage,
                                            G_TYPE_NONE, 1, G_TYPE_BOOLEAN);
  JSCValue* watch = jsc_context_evaluate(context, kSelectionWatch, -1);
  if (jsc_value_is_function(watch)) {
    JSCValue* result = jsc_value_function_call(watch, JSC_TYPE_VALUE, report, G_TYPE_NONE);
    if (result != nullptr) g_object_unref(result);
  }
  jsc_context_clear_exception(context);
  g_object_unref(watch);
  g_object_unref(report);
  g_object_unref(context);
}

}  // namespace gtkui::webprocess

// WebKit calls this once as the web process starts, with the data the views' context set:
// the name of their script world. The helper serves until the process ends.
extern "C" G_MODULE_EXPORT void webkit_web_extension_initialize_with_user_data(WebKitWebExtension* extension,
                                                                               const GVariant* data) {
  auto* parameters = const_cast<GVariant*>(data);
  const char* world = parameters != nullptr && g_variant_is_of_type(parameters, G_VARIANT_TYPE_STRING)
                          ? g_variant_get_string(parameters, nullptr)
                          : nullptr;
  static auto* helper = new gtkui::webprocess::PageExtension(world);
  helper->Serve(extension);
}
