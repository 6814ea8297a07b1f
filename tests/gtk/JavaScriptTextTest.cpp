// Texts that reach page scripts as string literals: a real JavaScript engine must read back
// exactly the units that went in, whatever they hold (quotes, backslashes, line separators,
// a closing script tag, lone surrogates), so that no text can end the literal and run as
// script of its own.
#include <gtest/gtest.h>

#include <jsc/jsc.h>

#include <string>

#include "gtk/JavaScriptText.h"

namespace {

// One context for the whole program, never torn down: JavaScriptCore's engine, once made,
// stays until the process ends (tearing it down calls back into library code that the
// sanitizers' build of this program would check as its own).
JSCContext* Context() {
  static JSCContext* context = jsc_context_new();
  return context;
}

// The UTF-16 units of the string that the literal gives, as JavaScript reads it.
std::u16string ReadBack(const std::string& literal) {
  JSCContext* context = Context();
  const std::string code =
      "(function (s) { var u = []; for (var i = 0; i < s.length; ++i) u.push(s.charCodeAt(i)); return u.join(','); })(" +
      literal + ")";
  JSCValue* value = jsc_context_evaluate(context, code.c_str(), -1);
  JSCException* exception = jsc_context_get_exception(context);
  EXPECT_EQ(exception, nullptr) << (exception != nullptr ? jsc_exception_get_message(exception) : "");
  std::u16string units;
  gchar* text = jsc_value_to_string(value);
  std::string list = text != nullptr ? text : "";
  g_free(text);
  g_object_unref(value);
  std::size_t start = 0;
  while (start < list.size()) {
    const std::size_t comma = list.find(',', start);
    units += static_cast<char16_t>(std::stoi(list.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return units;
}

TEST(JavaScriptTextTest, LiteralsReadBackUnitForUnit) {
  const std::u16string texts[] = {
      u"",
      u"plain text",
      u"\"quoted\" and 'single' with \\ backslash",
      u"</script><script>alert(1)</script>",
      u"line\nbreak\r\ttab \u2028 separator \u2029 paragraph \u0000 nul",
      u"caf\u00e9 \U0001F600 emoji",
      std::u16string(1, static_cast<char16_t>(0xD800)) + u"lone high, lone low" +
          std::u16string(1, static_cast<char16_t>(0xDC00)),
  };
  for (const std::u16string& text : texts) {
    const std::string literal = gtkui::JavaScriptStringLiteral(text);
    SCOPED_TRACE(literal);
    EXPECT_EQ(ReadBack(literal), text);
    // Plain ASCII without anything HTML or a script could take for its own.
    EXPECT_EQ(literal.find_first_of("<>&'\n\r"), std::string::npos);
    for (char c : literal) EXPECT_TRUE(c >= 0x20 && c <= 0x7E);
  }
}

TEST(JavaScriptTextTest, SheetTextKeepsTheRuleOrderAndQuotesTheImport) {
  gtkui::HostStyleSheet sheet;
  sheet.href = u"file:///guide/a\"b.css";
  sheet.rules = {{u"body", u"font-family: Segoe UI; font-size: 12"}, {u"p", u"margin: 0"}};
  EXPECT_EQ(gtkui::StyleSheetText(sheet),
            u"@import url(\"file:///guide/a\\22 b.css\");\nbody { font-family: Segoe UI; font-size: 12 }\np { margin: 0 }\n");
}

}  // namespace
