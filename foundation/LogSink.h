// Where log lines go. The manager keeps two kinds of sinks, message sinks for plain messages
// and record sinks for records; both kinds answer the same calls. A sink is called with the
// manager's lock held, so it sees one call at a time.
#pragma once

#include <vector>

#include "foundation/CopiedUString.h"
#include "foundation/LogRecord.h"
#include "foundation/UStringRef.h"

class LogSink {
 public:
  virtual ~LogSink() = default;

  // Whether lines of the named log come here.
  virtual bool Accepts(UStringRef<UTF8> logName) const = 0;
  // The line for a record, with whichever of its further fields the sink shows.
  virtual CopiedUString<UTF8> FormatRecord(const LogRecord& record) const = 0;
  // The line for a plain message.
  virtual CopiedUString<UTF8> FormatPlain(UStringRef<UTF8> logName, UStringRef<UTF8> text, bool flag) const = 0;
  // A batch of records that waited for the next flush.
  virtual void WriteRecords(const std::vector<LogRecord>& records) = 0;
  // A line of a sink that writes at once.
  virtual void WriteLine(UStringRef<UTF8> line) = 0;
  // A batch of lines that waited for the next flush.
  virtual void WriteLines(const std::vector<CopiedUString<UTF8>>& lines) = 0;
  // True: each line is written as it comes; false: lines wait for the next flush.
  virtual bool WritesAtOnce() const = 0;
};
