#include "core/kernel/CaseInsensitiveText.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  UErrorCode status = U_ZERO_ERROR;
  const int order = u_strCaseCompare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                                     reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()),
                                     U_FOLD_CASE_DEFAULT, &status);
  return U_SUCCESS(status) && order == 0;
}

std::u16string FoldCase(std::u16string_view text) {
  std::u16string folded(text.size() * 3 + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      u_strFoldCase(reinterpret_cast<UChar*>(folded.data()), static_cast<int32_t>(folded.size()),
                    reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                    U_FOLD_CASE_DEFAULT, &status);
  if (U_FAILURE(status)) return std::u16string(text);
  folded.resize(static_cast<std::size_t>(length));
  return folded;
}

std::size_t TextLength(const char16_t* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}
