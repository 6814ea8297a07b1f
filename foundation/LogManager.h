// The process's named logs. Sinks say which logs they accept; the manager routes each line of
// a log to the sinks that accept it, writing at once or queueing for a flush, and a thread of
// its own flushes the queues once a second while the manager runs. A manager starts stopped,
// and a stopped manager answers that no log is enabled.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include <windows.h>

#include "foundation/Callable.h"
#include "foundation/CopiedUString.h"
#include "foundation/LogRecord.h"
#include "foundation/LogSink.h"
#include "foundation/UStringLess.h"

class LogManager : public Callable<void (*)()> {
 public:
  // The flush interval of the logging thread.
  static constexpr std::int64_t kIntervalMicroseconds = 1000000;

  LogManager();
  LogManager(const LogManager&) = delete;
  LogManager& operator=(const LogManager&) = delete;
  // Stops the logging thread and waits for it, then writes what is still queued.
  ~LogManager() override;

  // The process's manager, made on first use and destroyed at exit.
  static LogManager& Instance();

  // False while stopped, without looking at the name. Otherwise the name becomes known (and
  // the routes are rebuilt when it is new), and the answer is whether any sink accepts it.
  bool IsEnabled(UStringRef<UTF8> logName);
  // Whether IsEnabled has been asked about the name while the manager ran.
  bool Knows(UStringRef<UTF8> logName) const;

  // A sink added again is not added twice. The routes are rebuilt at once.
  void AddMessageSink(std::shared_ptr<LogSink> sink);
  void AddRecordSink(std::shared_ptr<LogSink> sink);
  // Hands the sink what is queued for it, then forgets it in both roles.
  void RemoveSink(const LogSink& sink);

  // Hands an ended line to the sinks routed for its log. A failing sink is skipped.
  void Submit(const LogRecord& record);
  // Hands each sink its queued batch; a failing sink does not keep the next from its batch.
  void Flush();
  // Asks every sink again which of the known logs it accepts.
  void RebuildRoutes();

  // Runs the logging thread; does nothing while it runs.
  void Start();
  // Stops the logging thread and waits until it has flushed for the last time and ended.
  void Stop();
  bool IsStopped() const;

  // The body of the logging thread: flush and rebuild the routes each interval until stopped,
  // then flush once more.
  void operator()() override;

  // The wait, in milliseconds, for an interval in microseconds: the largest value waits without
  // end, a negative one not at all, and the rest round up, so that a positive interval never
  // becomes a wait of 0 and a busy loop. Results that the wait cannot tell from "without end"
  // are capped one below it.
  static DWORD WaitMilliseconds(std::int64_t intervalMicroseconds);

 private:
  using Routes = std::map<CopiedUString<UTF8>, std::vector<LogSink*>, UStringLess<UTF8>>;

  static DWORD WINAPI RunWorker(LPVOID manager);
  void RebuildRoutesLocked();
  void WriteQueued(LogSink& sink, std::vector<CopiedUString<UTF8>>& lines, std::vector<LogRecord>& records);

  std::vector<std::shared_ptr<LogSink>> messageSinks_;
  Routes messageRoutes_;
  std::map<LogSink*, std::vector<CopiedUString<UTF8>>> messageQueue_;
  std::vector<std::shared_ptr<LogSink>> recordSinks_;
  Routes recordRoutes_;
  std::map<LogSink*, std::vector<LogRecord>> recordQueue_;
  std::set<CopiedUString<UTF8>, UStringLess<UTF8>> knownNames_;
  std::int64_t interval_ = kIntervalMicroseconds;
  HANDLE worker_ = nullptr;
  std::atomic<DWORD> workerId_{0};
  mutable CRITICAL_SECTION lock_;  // everything above but the worker
  CRITICAL_SECTION control_;       // starting and stopping, one at a time
  HANDLE stopEvent_ = nullptr;     // signalled while stopped
};
