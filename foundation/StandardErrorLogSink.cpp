#include "foundation/StandardErrorLogSink.h"

#include <cstdio>
#include <string_view>

namespace {

// "<name>: <text>", or "<name>/<second name>: <text>" for a record that has one.
CopiedUString<UTF8> Labelled(UStringRef<UTF8> logName, UStringRef<UTF8> secondName, UStringRef<UTF8> text) {
  CopiedUString<UTF8> line = CopiedUString<UTF8>::WithCapacity(logName.size() + secondName.size() + text.size() + 3);
  line.Append(logName);
  if (!secondName.empty()) {
    line.Append('/');
    line.Append(secondName);
  }
  line.Append(UStringRef<UTF8>(std::string_view(": ")));
  line.Append(text);
  return line;
}

}  // namespace

StandardErrorLogSink::StandardErrorLogSink(const std::vector<CopiedUString<UTF8>>& logNames)
    : logNames_(logNames.begin(), logNames.end()) {}

bool StandardErrorLogSink::Accepts(UStringRef<UTF8> logName) const { return logNames_.find(logName) != logNames_.end(); }

CopiedUString<UTF8> StandardErrorLogSink::FormatRecord(const LogRecord& record) const {
  return Labelled(record.logName, record.secondName, record.text);
}

CopiedUString<UTF8> StandardErrorLogSink::FormatPlain(UStringRef<UTF8> logName, UStringRef<UTF8> text, bool flag) const {
  return Labelled(logName, UStringRef<UTF8>(), text);
}

void StandardErrorLogSink::WriteRecords(const std::vector<LogRecord>& records) {
  for (const LogRecord& record : records) WriteLine(FormatRecord(record));
}

void StandardErrorLogSink::WriteLine(UStringRef<UTF8> line) {
  // Standard error may be closed or full; a log line is not worth failing the caller for.
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void StandardErrorLogSink::WriteLines(const std::vector<CopiedUString<UTF8>>& lines) {
  for (const CopiedUString<UTF8>& line : lines) WriteLine(line);
}
