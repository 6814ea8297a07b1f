// A message sink for the logs it was given by name: it writes each line to standard error at
// once, as "<log name>: <text>", so that nothing waits in a queue when the process ends.
#pragma once

#include <set>
#include <vector>

#include "foundation/CopiedUString.h"
#include "foundation/LogSink.h"
#include "foundation/UStringLess.h"

class StandardErrorLogSink : public LogSink {
 public:
  explicit StandardErrorLogSink(const std::vector<CopiedUString<UTF8>>& logNames);

  bool Accepts(UStringRef<UTF8> logName) const override;
  CopiedUString<UTF8> FormatRecord(const LogRecord& record) const override;
  CopiedUString<UTF8> FormatPlain(UStringRef<UTF8> logName, UStringRef<UTF8> text, bool flag) const override;
  void WriteRecords(const std::vector<LogRecord>& records) override;
  void WriteLine(UStringRef<UTF8> line) override;
  void WriteLines(const std::vector<CopiedUString<UTF8>>& lines) override;
  bool WritesAtOnce() const override { return true; }

 private:
  std::set<CopiedUString<UTF8>, UStringLess<UTF8>> logNames_;
};
