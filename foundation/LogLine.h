// One line of a log, collected with stream insertion and handed to the manager when it ends.
// The line starts with the calling thread's indentation: two spaces per level of its log depth.
#pragma once

#include <cstddef>
#include <sstream>

#include "foundation/ConstData.h"
#include "foundation/CopiedUString.h"
#include "foundation/LogManager.h"
#include "foundation/LogRecord.h"
#include "foundation/UStringRef.h"

class LogLine {
 public:
  explicit LogLine(UStringRef<UTF8> logName, UStringRef<UTF8> secondName = UStringRef<UTF8>(),
                   LogManager& manager = LogManager::Instance());
  LogLine(const LogLine&) = delete;
  LogLine& operator=(const LogLine&) = delete;
  // Submits the line. A line that cannot be submitted is lost; the failure goes no further,
  // since it would otherwise leave a destructor.
  ~LogLine();

  template <class T>
  LogLine& operator<<(const T& value) {
    stream_ << value;
    return *this;
  }
  LogLine& operator<<(UStringRef<UTF8> text);
  LogLine& operator<<(const CopiedUString<UTF8>& text) { return *this << text.Ref(); }
  template <std::size_t N>
  LogLine& operator<<(const ConstData<N>& text) {
    return *this << text.Ref();
  }

  // The fields beyond the names and the text, for a line that is to be a record.
  LogRecord& Record() { return record_; }

 private:
  LogManager& manager_;
  LogRecord record_;
  std::ostringstream stream_;
};
