#include "DialogTemplateWriter.h"

namespace {

// The fixed parts of the two forms, in bytes.
constexpr std::size_t kStandardHeader = 18;
constexpr std::size_t kExtendedHeader = 26;
constexpr std::size_t kStandardItem = 18;
constexpr std::size_t kExtendedItem = 24;

class Output {
 public:
  void Bytes(const BYTE* from, std::size_t count) { out_.insert(out_.end(), from, from + count); }
  void Word(WORD value) {
    out_.push_back(static_cast<BYTE>(value));
    out_.push_back(static_cast<BYTE>(value >> 8));
  }
  void Units(std::basic_string_view<WCHAR> text) {
    for (WCHAR unit : text) Word(static_cast<WORD>(unit));
  }
  void Text(std::basic_string_view<WCHAR> text) {
    Units(text);
    Word(0);
  }
  void PadTo4() {
    while (out_.size() % 4 != 0) out_.push_back(0);
  }
  void PutDword(std::size_t at, DWORD value) {
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<BYTE>(value >> (8 * i));
  }
  std::vector<BYTE> Release() { return std::move(out_); }

 private:
  std::vector<BYTE> out_;
};

void Title(Output& out, const NameOrNumber& title, const DialogTemplateChanges& changes) {
  if (title.kind == NameOrNumber::Kind::Text && changes.retitle)
    out.Text(changes.retitle(title.text));
  else
    out.Units(title.raw);
}

}  // namespace

std::vector<BYTE> WriteDialogTemplate(const void* data, const DialogDescription& d,
                                      const DialogTemplateChanges& changes) {
  const auto* in = static_cast<const BYTE*>(data);
  Output out;
  out.Bytes(in, d.extended ? kExtendedHeader : kStandardHeader);
  out.Units(d.menu.raw);
  out.Units(d.windowClass.raw);
  Title(out, d.title, changes);
  if (changes.font) {
    out.PutDword(d.extended ? 12 : 0, d.style | DS_SETFONT);
    out.Word(changes.font->pointSize);
    if (d.extended) {
      out.Word(d.hasFont ? d.weight : FW_NORMAL);
      out.Word(static_cast<WORD>((d.hasFont ? d.italic : 0) | ((d.hasFont ? d.charSet : DEFAULT_CHARSET) << 8)));
    }
    out.Text(changes.font->faceName);
  } else if (d.hasFont) {
    out.Bytes(in + d.fontOffset, d.fontEnd - d.fontOffset);
  }
  for (std::size_t i = 0; i < d.items.size(); ++i) {
    const DialogItemDescription& item = d.items[i];
    out.PadTo4();
    out.Bytes(in + d.itemOffsets[i], d.extended ? kExtendedItem : kStandardItem);
    out.Units(item.windowClass.raw);
    Title(out, item.title, changes);
    if (item.creationData == nullptr) {
      out.Word(0);
    } else {
      // The standard form's count includes its own word; the extended form's does not.
      out.Bytes(item.creationData, d.extended ? 2u + item.creationDataSize : item.creationDataSize);
    }
  }
  return out.Release();
}
