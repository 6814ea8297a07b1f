#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/EscapeFormatText.h"
#include "foundation/FormatOverrideContext.h"
#include "foundation/FormatTemplate.h"
#include "foundation/LibraryExceptions.h"
#include "foundation/NumberText.h"

namespace {

using Text = UStringRef<UTF8>;

enum class Outcome { Text, BadFormat, Improper, Undefined, TooMany, TooFew };

// Runs Format and names what came out: the text, or the exception class.
std::pair<Outcome, std::string> RunFormat(const std::function<CopiedUString<UTF8>()>& format) {
  try {
    return {Outcome::Text, std::string(format().view())};
  } catch (const BadFormatStringError&) {
    return {Outcome::BadFormat, ""};
  } catch (const ImproperFormatVariableName&) {
    return {Outcome::Improper, ""};
  } catch (const UndefinedFormatVariable&) {
    return {Outcome::Undefined, ""};
  } catch (const TooManyFormatArguments&) {
    return {Outcome::TooMany, ""};
  } catch (const TooFewFormatArguments&) {
    return {Outcome::TooFew, ""};
  }
}

std::vector<Text> Values(const std::vector<std::string>& texts) {
  std::vector<Text> values;
  for (const std::string& t : texts) values.emplace_back(std::string_view(t));
  return values;
}

TEST(Format, TemplatesRenderOrFailAsTheirSyntaxSays) {
  struct Row {
    std::string tmpl;
    std::vector<std::string> values;
    Outcome outcome;
    std::string expected;
  } rows[] = {
      {"", {}, Outcome::Text, ""},                             // empty template, no values
      {"", {"1"}, Outcome::TooFew, ""},                        // a value left over
      {"x", {"1"}, Outcome::TooFew, ""},
      {"{a}", {}, Outcome::TooMany, ""},                       // values ran out
      {"}", {}, Outcome::Text, "}"},                           // a lone closing brace is literal
      {"{", {}, Outcome::BadFormat, ""},                       // unclosed at the start
      {"ab{", {}, Outcome::BadFormat, ""},
      {"{ab", {"1"}, Outcome::BadFormat, ""},                  // syntax is checked before counts
      {"a{_obrace}b{_cbrace}", {}, Outcome::Text, "a{b}"},     // braces as specials
      {"{_tab}", {}, Outcome::Text, "\t"},
      {"{_crlf}", {}, Outcome::Text, "\r\n"},
      {"{_cr}|{_lf}", {}, Outcome::Text, "\r|\n"},             // "_cr" is found although "_crlf" follows it
      {"{}", {}, Outcome::Improper, ""},                       // empty name
      {"{a-b}", {"1"}, Outcome::Improper, ""},                 // bad byte after the first
      {"{a{b}", {"1"}, Outcome::Improper, ""},                 // "{" inside a name
      {"{-ab}", {"v"}, Outcome::Text, "v"},                    // any first byte but "_" is allowed
      {"{9}", {"v"}, Outcome::Text, "v"},
      {"{_x}", {"1"}, Outcome::Undefined, ""},                 // unknown special, even with values
      {"{a}{a}", {"z", "y"}, Outcome::Text, "yy"},             // both take the value that sorts first
      {"{b} {a}", {"1", "2"}, Outcome::Text, "1 2"},           // values pair in template order
      {"Windows Error 0x{e}%: {s}", {"5", "denied"}, Outcome::Text, "Windows Error 0x5%: denied"},
      {"{a}", {"{b}"}, Outcome::Text, "{b}"},                  // values are never parsed
      {"{a}{b}{c}{d}{e}{f}{g}{h}{i}{j}", {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, Outcome::Text,
       "0123456789"},                                          // more values than the inline bindings
      {std::string("n\0l{a}", 6), {"\xFF"}, Outcome::Text, std::string("n\0l\xFF", 4)},  // any bytes
  };
  for (const Row& row : rows) {
    const std::vector<Text> values = Values(row.values);
    const auto [outcome, text] = RunFormat([&] { return Format(Text(std::string_view(row.tmpl)), FormatValues(values)); });
    EXPECT_EQ(outcome, row.outcome) << row.tmpl;
    EXPECT_EQ(text, row.expected) << row.tmpl;
  }
}

TEST(Format, LongTemplatesWithManyValues) {
  // 17 values and 34 tokens: more than the bindings and tokens kept on the stack.
  std::string tmpl, expected;
  std::vector<std::string> texts;
  for (int i = 0; i < 17; ++i) {
    tmpl += "{v" + std::to_string(16 - i) + "}.";
    texts.push_back(std::to_string(i));
    expected += std::to_string(i) + ".";
  }
  std::vector<Text> values = Values(texts);
  EXPECT_EQ(Format(Text(std::string_view(tmpl)), FormatValues(values)).view(), expected);
  // A repeated name still renders the value that sorts first, on the long path too.
  std::string repeated;
  for (int i = 0; i < 17; ++i) repeated += "{a} ";
  texts.assign(17, "b");
  texts[9] = "a";
  values = Values(texts);
  std::string allA;
  for (int i = 0; i < 17; ++i) allA += "a ";
  EXPECT_EQ(Format(Text(std::string_view(repeated)), FormatValues(values)).view(), allA);
}

TEST(Format, ShortResultsStayInsideTheString) {
  const CopiedUString<UTF8> text = Format("Windows Error 0x{err}: {msg}", {ToHexText(5u), Text(std::string_view("Access is denied."))});
  EXPECT_EQ(text.view(), "Windows Error 0x5: Access is denied.");
  EXPECT_TRUE(text.IsInline());
}

// Links that a test attaches to the built-in context; they are detached whatever the test did.
class FormatOverrides : public ::testing::Test {
 protected:
  void Attach(FormatOverrideLink& link, const FormatOverrideTable& table) {
    link.table = &table;
    CurrentFormatOverrideContext().Attach(link);
  }
  void TearDown() override {
    CurrentFormatOverrideContext().Detach(olderLink);
    CurrentFormatOverrideContext().Detach(newerLink);
  }

  FormatOverrideLink olderLink, newerLink;
};

TEST_F(FormatOverrides, WithoutTablesTheEffectiveTemplateIsTheKey) {
  const std::string_view key = "{b} {a}";
  const FormatTemplate t = MakeFormatTemplate(Text(key));
  EXPECT_EQ(t.effective.begin(), key.data());
  EXPECT_EQ(t.effective.size(), key.size());
  EXPECT_FALSE(CurrentFormatOverrideContext().Contains(Text(key)));
}

TEST_F(FormatOverrides, OverridesPlaceTheKeysValuesAndMissingNamesFail) {
  const FormatOverridePair pairs[] = {
      {Text(std::string_view("x {b}")), Text(std::string_view("{c}"))},      // names a variable the key lacks
      {Text(std::string_view("{b} {a}")), Text(std::string_view("{a}-{b}-{a}"))},  // reorders and repeats
  };
  const FormatOverrideTable table(std::begin(pairs), std::end(pairs));
  Attach(olderLink, table);

  EXPECT_EQ(Format(MakeFormatTemplate(Text(std::string_view("{b} {a}"))), {Text(std::string_view("1")), Text(std::string_view("2"))}).view(),
            "2-1-2");
  EXPECT_EQ(RunFormat([&] { return Format(MakeFormatTemplate(Text(std::string_view("x {b}"))), {Text(std::string_view("1"))}); }).first,
            Outcome::Undefined);
  EXPECT_THROW(table.Get(Text(std::string_view("{b}"))), FormatOverrideNotFound);
}

TEST_F(FormatOverrides, TheTableAttachedLastAnswersFirst) {
  const Text key(std::string_view("Hello"));
  const FormatOverridePair first[] = {{key, Text(std::string_view("Hallo"))}};
  const FormatOverridePair second[] = {{key, Text(std::string_view("Bonjour"))}};
  const FormatOverrideTable older(std::begin(first), std::end(first));
  const FormatOverrideTable newer(std::begin(second), std::end(second));
  Attach(olderLink, older);
  Attach(newerLink, newer);
  FormatOverrideContext& context = CurrentFormatOverrideContext();
  EXPECT_EQ(context.Lookup(key).view(), "Bonjour");
  context.Detach(newerLink);
  EXPECT_EQ(newerLink.owner, nullptr);
  EXPECT_EQ(context.Lookup(key).view(), "Hallo");
  // Attaching a link again moves it to the front rather than linking it twice.
  context.Attach(newerLink);
  context.Attach(olderLink);
  EXPECT_EQ(context.Lookup(key).view(), "Hallo");
  context.Detach(olderLink);
  context.Detach(newerLink);
  EXPECT_EQ(context.Lookup(key, Text(std::string_view("fallback"))).view(), "fallback");
  // Attached to another context, a link leaves this one.
  context.Attach(newerLink);
  const std::unique_ptr<FormatOverrideContext> other = context.CreateEmpty();
  other->Attach(newerLink);
  EXPECT_EQ(context.Lookup(key).view(), "Hello");
  EXPECT_EQ(other->Lookup(key).view(), "Bonjour");
  other->Detach(newerLink);
  // A link that goes out of scope while attached takes itself out of the list.
  {
    FormatOverrideLink scoped;
    scoped.table = &newer;
    context.Attach(scoped);
    EXPECT_EQ(context.Lookup(key).view(), "Bonjour");
  }
  EXPECT_EQ(context.Lookup(key).view(), "Hello");
}

TEST(FormatOverrideSlot, AnInstalledContextReplacesTheDefault) {
  FormatOverrideContext& builtIn = CurrentFormatOverrideContext();
  std::unique_ptr<FormatOverrideContext> fresh = builtIn.CreateEmpty();
  FormatOverrideContext* installed = fresh.get();
  EXPECT_EQ(InstallFormatOverrideContext(std::move(fresh)), nullptr);
  EXPECT_EQ(&CurrentFormatOverrideContext(), installed);
  EXPECT_FALSE(installed->LoadsOwnTables());
  InstallFormatOverrideContext(nullptr);
  EXPECT_EQ(&CurrentFormatOverrideContext(), &builtIn);
}

TEST(EscapeFormatText, EscapedTextRendersBackToItself) {
  struct Row {
    std::string input;
    std::string escaped;
  } rows[] = {
      {"50%\t{x}\r\n\r", "50%{_tab}{_obrace}x{_cbrace}{_crlf}{_cr}"},  // every escape, "%" left alone
      {"\r\r\n\n", "{_cr}{_crlf}{_lf}"},                              // a CR pairs only with the LF after it
      {"}{", "{_cbrace}{_obrace}"},
      {"", ""},
  };
  for (const Row& row : rows) {
    const EscapedFormatText escaped = EscapeFormatText(Text(std::string_view(row.input)));
    EXPECT_EQ(escaped.Ref().view(), row.escaped);
    EXPECT_EQ(Format(escaped.Ref()).view(), row.input);
  }
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte += static_cast<char>(b);
  EXPECT_EQ(Format(EscapeFormatText(Text(std::string_view(everyByte))).Ref()).view(), everyByte);
}

TEST(EscapeFormatText, PlainTextIsNotCopied) {
  const std::string_view plain = "C:\\Program Files\\100% plain";
  const EscapedFormatText escaped = EscapeFormatText(Text(plain));
  EXPECT_FALSE(escaped.OwnsText());
  EXPECT_EQ(escaped.Ref().begin(), plain.data());
  // An owned result stays valid when the holder moves.
  EscapedFormatText owned = EscapeFormatText(Text(std::string_view("a\tb")));
  const EscapedFormatText moved = std::move(owned);
  EXPECT_EQ(moved.Ref().view(), "a{_tab}b");
}

TEST(NumberText, DigitsPaddingAndSigns) {
  struct Row {
    std::string actual;
    std::string expected;
  } rows[] = {
      {std::string(ToHexText(0u).Ref().view()), "0"},                 // zero still has a digit
      {std::string(ToHexText(0xABCu).Ref().view()), "abc"},           // lower case, no prefix
      {std::string(ToHexText(5u, 4).Ref().view()), "0005"},           // minimum pads with zeros
      {std::string(ToHexText(0xFFFFFFFFu).Ref().view()), "ffffffff"},
      {std::string(ToDecimalText(std::int64_t{-5}).Ref().view()), "-5"},
      {std::string(ToDecimalText(INT64_MIN).Ref().view()), "-9223372036854775808"},  // magnitude as unsigned
      {std::string(ToDecimalText(UINT64_MAX).Ref().view()), "18446744073709551615"},
      {std::string(ToDecimalText(std::uint32_t{4294967295u}).Ref().view()), "4294967295"},
  };
  for (const Row& row : rows) EXPECT_EQ(row.actual, row.expected);
  EXPECT_EQ(ToDecimalText(std::uint32_t{7}).c_str()[1], '\0');
}

TEST(NumberText, CapacityIsEnforced) {
  EXPECT_THROW(ToDecimalText(std::uint32_t{1}, 11), ConstDataCapacityExceeded);
  EXPECT_THROW(ToHexText(1u, 9), ConstDataCapacityExceeded);
  ConstData<3> data;
  data.Append(Text(std::string_view("ab")));
  EXPECT_THROW(data.Append(Text(std::string_view("cd"))), ConstDataCapacityExceeded);
  EXPECT_EQ(data.Ref().view(), "ab");  // a refused append leaves the text as it was
}

}  // namespace
