#include "DialogTemplateReader.h"

#include <string>

#include "WideText.h"

namespace {

// A cursor over the template's bytes that refuses to step past their end.
class Cursor {
 public:
  Cursor(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

  bool Word(WORD& value) {
    if (size_ - offset_ < 2 || offset_ > size_) return false;
    value = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
  }
  bool Dword(DWORD& value) {
    WORD low = 0, high = 0;
    if (size_ - offset_ < 4 || offset_ > size_) return false;
    Word(low);
    Word(high);
    value = low | (static_cast<DWORD>(high) << 16);
    return true;
  }
  bool Short(short& value) {
    WORD w = 0;
    if (!Word(w)) return false;
    value = static_cast<short>(w);
    return true;
  }
  bool Byte(BYTE& value) {
    if (offset_ >= size_) return false;
    value = data_[offset_++];
    return true;
  }
  bool Skip(std::size_t n) {
    if (size_ - offset_ < n || offset_ > size_) return false;
    offset_ += n;
    return true;
  }
  // A zero-terminated UTF-16 text.
  bool Text(WString& text) {
    text.clear();
    for (WORD unit = 0;;) {
      if (!Word(unit)) return false;
      if (unit == 0) return true;
      text.push_back(static_cast<WCHAR>(unit));
    }
  }
  bool NameOrNumberField(NameOrNumber& field) {
    const std::size_t start = offset_;
    WORD first = 0;
    if (!Word(first)) return false;
    if (first == 0) {
      field.kind = NameOrNumber::Kind::None;
    } else if (first == 0xFFFF) {
      field.kind = NameOrNumber::Kind::Number;
      if (!Word(field.number)) return false;
    } else {
      field.kind = NameOrNumber::Kind::Text;
      offset_ = start;
      if (!Text(field.text)) return false;
    }
    field.raw.assign(reinterpret_cast<const WCHAR*>(data_ + start), (offset_ - start) / 2);
    return true;
  }
  // Moves to the next 4-byte boundary of the template; padding may be cut off only at the end.
  void AlignTo4() {
    while (offset_ % 4 != 0 && offset_ < size_) ++offset_;
  }
  std::size_t Offset() const { return offset_; }
  const BYTE* Here() const { return data_ + offset_; }

 private:
  const BYTE* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

DialogTemplateReadResult Refuse(std::string problem) {
  DialogTemplateReadResult result;
  result.problem = std::move(problem);
  return result;
}

bool ReadHeader(Cursor& in, DialogDescription& d, WORD& count) {
  WORD first = 0, second = 0;
  if (!in.Word(first) || !in.Word(second)) return false;
  d.extended = second == 0xFFFF;
  if (d.extended) {
    if (first != 1) return false;
    if (!in.Dword(d.helpId) || !in.Dword(d.exStyle) || !in.Dword(d.style)) return false;
  } else {
    d.style = first | (static_cast<DWORD>(second) << 16);
    if (!in.Dword(d.exStyle)) return false;
  }
  return in.Word(count) && in.Short(d.x) && in.Short(d.y) && in.Short(d.cx) && in.Short(d.cy);
}

bool ReadFont(Cursor& in, DialogDescription& d) {
  d.fontOffset = in.Offset();
  if (!in.Word(d.pointSize)) return false;
  if (d.extended && !(in.Word(d.weight) && in.Byte(d.italic) && in.Byte(d.charSet))) return false;
  if (!in.Text(d.faceName)) return false;
  d.fontEnd = in.Offset();
  return true;
}

const char* ReadItem(Cursor& in, bool extended, DialogItemDescription& item) {
  if (extended) {
    if (!(in.Dword(item.helpId) && in.Dword(item.exStyle) && in.Dword(item.style))) return "fixed part";
  } else {
    if (!(in.Dword(item.style) && in.Dword(item.exStyle))) return "fixed part";
  }
  if (!(in.Short(item.x) && in.Short(item.y) && in.Short(item.cx) && in.Short(item.cy))) return "fixed part";
  if (extended) {
    if (!in.Dword(item.id)) return "fixed part";
  } else {
    WORD id = 0;
    if (!in.Word(id)) return "fixed part";
    item.id = id;
  }
  if (!in.NameOrNumberField(item.windowClass)) return "class";
  if (!in.NameOrNumberField(item.title)) return "title";
  const BYTE* data = in.Here();
  WORD count = 0;
  if (!in.Word(count)) return "creation data";
  // The standard form's count includes its own word; the extended form's does not.
  const std::size_t following = extended ? count : (count == 0 ? 0 : count - 2u);
  if (!extended && count == 1) return "creation data";
  if (!in.Skip(following)) return "creation data";
  if (count != 0) {
    item.creationData = data;
    item.creationDataSize = count;
  }
  return nullptr;
}

}  // namespace

DialogTemplateReadResult ReadDialogTemplate(const void* data, std::size_t size) {
  if (data == nullptr) return Refuse("no template");
  Cursor in(static_cast<const BYTE*>(data), size);
  DialogTemplateReadResult result;
  DialogDescription& d = result.dialog;
  WORD count = 0;
  if (!ReadHeader(in, d, count)) return Refuse("header");
  if (!in.NameOrNumberField(d.menu)) return Refuse("menu");
  if (!in.NameOrNumberField(d.windowClass)) return Refuse("class");
  if (!in.NameOrNumberField(d.title)) return Refuse("title");
  d.titleEnd = in.Offset();
  d.hasFont = (d.style & DS_SETFONT) != 0;
  if (d.hasFont && !ReadFont(in, d)) return Refuse("font");
  // Each item takes at least its fixed part and three words; a count that promises more
  // items than the bytes can hold is refused before any is read.
  const std::size_t smallestItem = (d.extended ? 24 : 18) + 6;
  if (count > (size - in.Offset()) / smallestItem + 1) return Refuse("item count " + std::to_string(count));
  d.items.resize(count);
  for (WORD i = 0; i < count; ++i) {
    in.AlignTo4();
    d.itemOffsets.push_back(in.Offset());
    if (const char* missing = ReadItem(in, d.extended, d.items[i]))
      return Refuse("item " + std::to_string(i + 1) + " of " + std::to_string(count) + ": " + missing);
  }
  d.size = in.Offset();
  result.ok = true;
  return result;
}
