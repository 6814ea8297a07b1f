#include "resizable/DialogTemplateRewriter.h"

#include <cstddef>
#include <string>

#include <windows.h>
#include <winuser.h>

#include "SdkGaps.h"
#include "WideText.h"
#include "foundation/ExceptionPL.h"

namespace {

[[noreturn]] void RaiseTemplateError(const std::string& message) {
  throw ExceptionPL(UStringRef<UTF8>(std::string_view(message)));
}

constexpr WORD kOrdinalMark = 0xFFFF;

// Sizes of the fixed parts, in bytes.
constexpr std::size_t kStandardHeader = sizeof(DLGTEMPLATE);
constexpr std::size_t kExtendedHeader = sizeof(DLGTEMPLATEEX);
constexpr std::size_t kStandardItem = sizeof(DLGITEMTEMPLATE);
constexpr std::size_t kExtendedItem = sizeof(DLGITEMTEMPLATEEX);

// Reads a template front to back and refuses any read past its end.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t Position() const { return pos_; }

  const BYTE* Take(std::size_t count, const char* what) {
    if (!Has(count)) Fail(count, what);
    const BYTE* at = data_ + pos_;
    pos_ += count;
    return at;
  }

  WORD PeekWord(const char* what) {
    if (!Has(2)) Fail(2, what);
    return Load(pos_);
  }

  WORD Word(const char* what) {
    const WORD value = PeekWord(what);
    pos_ += 2;
    return value;
  }

  // Items start on 4-byte boundaries of the template. Rounding up (rather than stepping two
  // bytes at a time) also settles an odd position that extended creation data can leave.
  void AlignTo4() { pos_ = (pos_ + 3) & ~std::size_t{3}; }

  // Units of a zero-terminated text, without the terminator; the terminator is consumed.
  UStringRef<UTF16> Text(const char* what) {
    const std::size_t start = pos_;
    for (;;) {
      if (!Has(2)) {
        RaiseTemplateError("Dialog template ends inside the " + std::string(what) + " text at offset " +
                           std::to_string(start) + " (template size " + std::to_string(size_) + ")");
      }
      if (Load(pos_) == 0) break;
      pos_ += 2;
    }
    units_.assign(reinterpret_cast<const WCHAR*>(data_ + start), reinterpret_cast<const WCHAR*>(data_ + pos_));
    pos_ += 2;
    return UStringRef<UTF16>(units_.data(), units_.size());
  }

 private:
  // Alignment may have put the position past the end; nothing is there then.
  bool Has(std::size_t count) const { return pos_ <= size_ && count <= size_ - pos_; }
  WORD Load(std::size_t at) const { return static_cast<WORD>(data_[at] | (data_[at + 1] << 8)); }

  [[noreturn]] void Fail(std::size_t count, const char* what) const {
    RaiseTemplateError("Dialog template ends before its " + std::string(what) + ": " + std::to_string(count) +
                       " bytes needed at offset " + std::to_string(pos_) + ", template size " + std::to_string(size_));
  }

  const BYTE* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  // Aligned copy of the last text read; the template itself may hold it at an odd address.
  WString units_;
};

class TemplateWriter {
 public:
  void Bytes(const BYTE* data, std::size_t count) { out_.insert(out_.end(), data, data + count); }
  void Word(WORD value) {
    out_.push_back(static_cast<BYTE>(value & 0xFF));
    out_.push_back(static_cast<BYTE>(value >> 8));
  }
  void Units(UStringRef<UTF16> text) {
    for (WCHAR unit : text) Word(static_cast<WORD>(unit));
  }
  void PadTo4() {
    while (out_.size() % 4 != 0) out_.push_back(0);
  }
  std::vector<BYTE> Release() { return std::move(out_); }

 private:
  std::vector<BYTE> out_;
};

class Rewriting {
 public:
  Rewriting(const BYTE* data, std::size_t size, const DialogTemplateRewriter::TextRewrite& rewrite)
      : data_(data), size_(size), in_(data, size), rewrite_(rewrite) {}

  std::vector<BYTE> Run() {
    const bool extended = IsExtendedDialogTemplate(Data(), Size());
    const BYTE* header = in_.Take(extended ? kExtendedHeader : kStandardHeader, "header");
    out_.Bytes(header, extended ? kExtendedHeader : kStandardHeader);
    const DWORD style = LoadDword(header + (extended ? offsetof(DLGTEMPLATEEX, style) : offsetof(DLGTEMPLATE, style)));
    const WORD items =
        LoadWord(header + (extended ? offsetof(DLGTEMPLATEEX, cDlgItems) : offsetof(DLGTEMPLATE, cdit)));

    CopyNameOrNumber("menu");
    CopyNameOrNumber("window class");
    RewriteText("caption");
    // A font block follows the caption only when the style says so.
    if (style & DS_SETFONT) CopyFont(extended);
    for (WORD i = 0; i < items; ++i) CopyItem(extended);
    return out_.Release();
  }

 private:
  const BYTE* Data() const { return data_; }
  std::size_t Size() const { return size_; }

  static WORD LoadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
  static DWORD LoadDword(const BYTE* p) {
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
  }

  // 0xFFFF and a number, or a text copied with its terminator (a lone 0 for none).
  void CopyNameOrNumber(const char* what) {
    if (in_.PeekWord(what) == kOrdinalMark) {
      out_.Word(in_.Word(what));
      out_.Word(in_.Word(what));
      return;
    }
    out_.Units(in_.Text(what));
    out_.Word(0);
  }

  void RewriteText(const char* what) {
    if (in_.PeekWord(what) == kOrdinalMark) {
      out_.Word(in_.Word(what));
      out_.Word(in_.Word(what));
      return;
    }
    const UStringRef<UTF16> text = in_.Text(what);
    const CopiedUString<UTF16> rewritten = rewrite_(text);
    out_.Units(rewritten.Ref());
    out_.Word(0);
  }

  void CopyFont(bool extended) {
    out_.Word(in_.Word("font size"));
    if (extended) {
      out_.Word(in_.Word("font weight"));
      out_.Word(in_.Word("font italic and character set"));
    }
    out_.Units(in_.Text("font face"));
    out_.Word(0);
  }

  void CopyItem(bool extended) {
    out_.PadTo4();
    in_.AlignTo4();
    const std::size_t fixed = extended ? kExtendedItem : kStandardItem;
    out_.Bytes(in_.Take(fixed, "item"), fixed);
    CopyNameOrNumber("item class");
    RewriteText("item title");
    CopyCreationData(extended);
  }

  // The standard form counts the count word itself; the extended form counts what follows.
  void CopyCreationData(bool extended) {
    const WORD count = in_.Word("item creation data size");
    out_.Word(count);
    if (count == 0) return;
    if (!extended && count < 2) {
      RaiseTemplateError("Dialog template item creation data size " + std::to_string(count) +
                         " is smaller than its own size word, at offset " + std::to_string(in_.Position() - 2));
    }
    const std::size_t bytes = extended ? count : count - 2u;
    out_.Bytes(in_.Take(bytes, "item creation data"), bytes);
  }

  const BYTE* data_;
  std::size_t size_;
  TemplateReader in_;
  TemplateWriter out_;
  const DialogTemplateRewriter::TextRewrite& rewrite_;
};

}  // namespace

bool IsExtendedDialogTemplate(const void* data, std::size_t size) {
  if (size < 4) return false;
  const BYTE* p = static_cast<const BYTE*>(data);
  return p[2] == 0xFF && p[3] == 0xFF;
}

std::vector<BYTE> DialogTemplateRewriter::Rewrite(const void* data, std::size_t size) const {
  const BYTE* bytes = static_cast<const BYTE*>(data);
  if (bytes == nullptr && size != 0) RaiseTemplateError("Dialog template has no bytes");
  return Rewriting(bytes, size, rewrite_).Run();
}
