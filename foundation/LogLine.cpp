#include "foundation/LogLine.h"

#include <cstdint>
#include <locale>
#include <string>
#include <string_view>

#include "foundation/LogDepth.h"

LogLine::LogLine(UStringRef<UTF8> logName, UStringRef<UTF8> secondName, LogManager& manager) : manager_(manager) {
  record_.logName = CopiedUString<UTF8>(logName);
  record_.secondName = CopiedUString<UTF8>(secondName);
  // Numbers read the same whatever locale the process chose.
  stream_.imbue(std::locale::classic());
  if (const std::uint32_t* depth = TheLogDepth().Get()) stream_ << std::string(2 * std::size_t{*depth}, ' ');
}

LogLine::~LogLine() {
  try {
    const std::string text = stream_.str();
    record_.text = CopiedUString<UTF8>(std::string_view(text));
    manager_.Submit(record_);
  } catch (...) {
  }
}

LogLine& LogLine::operator<<(UStringRef<UTF8> text) {
  stream_.write(text.data(), static_cast<std::streamsize>(text.size()));
  return *this;
}
