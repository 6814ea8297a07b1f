// A log sink that keeps what it is given, for the tests of the log manager and its callers.
#pragma once

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/LogSink.h"
#include "foundation/ThreadName.h"

class RecordingLogSink : public LogSink {
 public:
  RecordingLogSink(std::set<std::string> accepted, bool atOnce) : accepted_(std::move(accepted)), atOnce_(atOnce) {}

  // Every write throws from now on.
  bool fails = false;
  // What reached the sink, in order: plain lines as they were formatted, records as
  // "record <log>/<second name>: <text>".
  std::vector<std::string> written;
  // The name of the thread that wrote last.
  std::string writerName;

  bool Accepts(UStringRef<UTF8> logName) const override { return accepted_.count(std::string(logName.view())) != 0; }

  CopiedUString<UTF8> FormatRecord(const LogRecord& record) const override {
    const std::string line = "record " + std::string(record.logName.view()) + "/" + std::string(record.secondName.view()) +
                             ": " + std::string(record.text.view());
    return CopiedUString<UTF8>(std::string_view(line));
  }

  CopiedUString<UTF8> FormatPlain(UStringRef<UTF8> logName, UStringRef<UTF8> text, bool flag) const override {
    return CopiedUString<UTF8>(text);
  }

  void WriteRecords(const std::vector<LogRecord>& records) override {
    for (const LogRecord& record : records) WriteLine(FormatRecord(record));
  }

  void WriteLine(UStringRef<UTF8> line) override {
    if (fails) throw std::runtime_error("sink failed");
    written.emplace_back(line.view());
    const std::string* name = TheThreadName().Get();
    writerName = name != nullptr ? *name : std::string();
  }

  void WriteLines(const std::vector<CopiedUString<UTF8>>& lines) override {
    for (const CopiedUString<UTF8>& line : lines) WriteLine(line);
  }

  bool WritesAtOnce() const override { return atOnce_; }

 private:
  std::set<std::string> accepted_;
  bool atOnce_;
};
