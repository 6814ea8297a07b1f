#include "foundation/ReplaceAll.h"

#include "WideText.h"
#include "foundation/UStringBuilder.h"

CopiedUString<UTF16> ReplaceAll(UStringRef<UTF16> text, UStringRef<UTF16> pattern, UStringRef<UTF16> replacement) {
  UStringBuilder<UTF16> builder(256);
  builder.Begin();
  const WStringView whole = text.view();
  const WStringView sought = pattern.view();
  std::size_t start = 0;
  if (!sought.empty()) {
    for (std::size_t found = whole.find(sought); found != WStringView::npos;
         found = whole.find(sought, start)) {
      builder.Receive(UStringRef<UTF16>(whole.substr(start, found - start)));
      builder.Receive(replacement);
      start = found + sought.size();
    }
  }
  builder.Receive(UStringRef<UTF16>(whole.substr(start)));
  builder.End();
  return builder.TakeText();
}
