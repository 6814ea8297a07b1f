// One entry for the logs as a line hands it to the manager. A line with no second name and
// the record flag clear is a plain message, which goes to the message sinks; any other entry
// is a record for the record sinks, which may show the further fields.
#pragma once

#include <array>
#include <cstdint>

#include "foundation/CopiedUString.h"

struct LogRecord {
  CopiedUString<UTF8> logName;
  CopiedUString<UTF8> secondName;
  CopiedUString<UTF8> text;
  CopiedUString<UTF8> furtherText;
  std::array<std::int64_t, 5> numbers{};
  const void* pointer = nullptr;
  bool recordFlag = false;   // a record even without a second name
  bool messageFlag = false;  // handed to the sink that formats a plain message

  bool IsPlainMessage() const { return secondName.empty() && !recordFlag; }
};
