#include "foundation/LogManager.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

#include "foundation/ThreadExitHooks.h"
#include "foundation/ThreadName.h"
#include "foundation/WindowsError.h"

namespace {

class SectionGuard {
 public:
  explicit SectionGuard(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
  SectionGuard(const SectionGuard&) = delete;
  SectionGuard& operator=(const SectionGuard&) = delete;
  ~SectionGuard() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION& section_;
};

bool Contains(const std::vector<std::shared_ptr<LogSink>>& sinks, const LogSink* sink) {
  return std::any_of(sinks.begin(), sinks.end(), [sink](const auto& held) { return held.get() == sink; });
}

// Takes the sink out of the list; the returned pointer keeps it alive for its last batch.
std::shared_ptr<LogSink> TakeOut(std::vector<std::shared_ptr<LogSink>>& sinks, const LogSink* sink) {
  const auto found = std::find_if(sinks.begin(), sinks.end(), [sink](const auto& held) { return held.get() == sink; });
  if (found == sinks.end()) return nullptr;
  std::shared_ptr<LogSink> taken = std::move(*found);
  sinks.erase(found);
  return taken;
}

template <class Routes>
void Unroute(Routes& routes, const LogSink* sink) {
  for (auto& [name, sinks] : routes) sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
}

template <class Routes>
bool HasRoute(const Routes& routes, UStringRef<UTF8> logName) {
  const auto found = routes.find(logName);
  return found != routes.end() && !found->second.empty();
}

template <class Queue>
auto TakeQueued(Queue& queue, LogSink* sink) {
  typename Queue::mapped_type taken;
  const auto found = queue.find(sink);
  if (found != queue.end()) {
    taken = std::move(found->second);
    queue.erase(found);
  }
  return taken;
}

}  // namespace

LogManager::LogManager() {
  InitializeCriticalSection(&lock_);
  InitializeCriticalSection(&control_);
  // Created signalled: a new manager is stopped.
  stopEvent_ = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  if (stopEvent_ == nullptr) {
    const DWORD error = GetLastError();
    DeleteCriticalSection(&control_);
    DeleteCriticalSection(&lock_);
    RaiseWindowsError(error);
    // A handler may swallow the error, but a manager without its event cannot be made.
    throw Windows::Error(error);
  }
}

LogManager::~LogManager() {
  // The worker must be gone before the lock and the event are; a destructor reports nothing,
  // and what the worker left queued is still written below.
  try {
    Stop();
  } catch (...) {
  }
  Flush();
  CloseHandle(stopEvent_);
  DeleteCriticalSection(&control_);
  DeleteCriticalSection(&lock_);
}

LogManager& LogManager::Instance() {
  static LogManager instance;
  return instance;
}

bool LogManager::IsStopped() const {
  const DWORD state = WaitForSingleObject(stopEvent_, 0);
  if (state == WAIT_FAILED) RaiseLastError();
  return state != WAIT_TIMEOUT;
}

bool LogManager::IsEnabled(UStringRef<UTF8> logName) {
  if (IsStopped()) return false;
  SectionGuard guard(lock_);
  if (knownNames_.find(logName) == knownNames_.end()) {
    knownNames_.emplace(logName);
    RebuildRoutesLocked();
  }
  return HasRoute(messageRoutes_, logName) || HasRoute(recordRoutes_, logName);
}

bool LogManager::Knows(UStringRef<UTF8> logName) const {
  SectionGuard guard(lock_);
  return knownNames_.find(logName) != knownNames_.end();
}

void LogManager::AddMessageSink(std::shared_ptr<LogSink> sink) {
  SectionGuard guard(lock_);
  if (sink == nullptr || Contains(messageSinks_, sink.get())) return;
  messageSinks_.push_back(std::move(sink));
  RebuildRoutesLocked();
}

void LogManager::AddRecordSink(std::shared_ptr<LogSink> sink) {
  SectionGuard guard(lock_);
  if (sink == nullptr || Contains(recordSinks_, sink.get())) return;
  recordSinks_.push_back(std::move(sink));
  RebuildRoutesLocked();
}

void LogManager::RemoveSink(const LogSink& sink) {
  SectionGuard guard(lock_);
  LogSink* key = const_cast<LogSink*>(&sink);
  std::shared_ptr<LogSink> asMessageSink = TakeOut(messageSinks_, key);
  std::shared_ptr<LogSink> asRecordSink = TakeOut(recordSinks_, key);
  std::shared_ptr<LogSink> held = asMessageSink != nullptr ? asMessageSink : asRecordSink;
  if (held == nullptr) return;
  // Removed from the routes directly: a rebuild would ask the other sinks, and one that failed
  // would leave the removed sink routed.
  Unroute(messageRoutes_, key);
  Unroute(recordRoutes_, key);
  std::vector<CopiedUString<UTF8>> lines = TakeQueued(messageQueue_, key);
  std::vector<LogRecord> records = TakeQueued(recordQueue_, key);
  WriteQueued(*held, lines, records);
}

void LogManager::WriteQueued(LogSink& sink, std::vector<CopiedUString<UTF8>>& lines, std::vector<LogRecord>& records) {
  try {
    if (!lines.empty()) sink.WriteLines(lines);
  } catch (...) {
  }
  try {
    if (!records.empty()) sink.WriteRecords(records);
  } catch (...) {
  }
}

void LogManager::Submit(const LogRecord& record) {
  SectionGuard guard(lock_);
  if (record.IsPlainMessage()) {
    const auto route = messageRoutes_.find(record.logName);
    if (route == messageRoutes_.end()) return;
    for (LogSink* sink : route->second) {
      try {
        CopiedUString<UTF8> line = sink->FormatPlain(record.logName, record.text, record.messageFlag);
        if (sink->WritesAtOnce()) {
          sink->WriteLine(line);
        } else {
          messageQueue_[sink].push_back(std::move(line));
        }
      } catch (...) {
        // The producer never hears of a sink's failure; the other sinks still get the line.
      }
    }
    return;
  }
  const auto route = recordRoutes_.find(record.logName);
  if (route == recordRoutes_.end()) return;
  for (LogSink* sink : route->second) {
    try {
      if (sink->WritesAtOnce()) {
        sink->WriteLine(sink->FormatRecord(record));
      } else {
        recordQueue_[sink].push_back(record);
      }
    } catch (...) {
    }
  }
}

void LogManager::Flush() {
  SectionGuard guard(lock_);
  std::map<LogSink*, std::vector<CopiedUString<UTF8>>> lines = std::exchange(messageQueue_, {});
  std::map<LogSink*, std::vector<LogRecord>> records = std::exchange(recordQueue_, {});
  // In the order the sinks were added, so that what reaches them does not depend on addresses.
  std::vector<LogRecord> none;
  for (const std::shared_ptr<LogSink>& sink : messageSinks_) {
    const auto batch = lines.find(sink.get());
    if (batch != lines.end()) WriteQueued(*sink, batch->second, none);
  }
  std::vector<CopiedUString<UTF8>> noLines;
  for (const std::shared_ptr<LogSink>& sink : recordSinks_) {
    const auto batch = records.find(sink.get());
    if (batch != records.end()) WriteQueued(*sink, noLines, batch->second);
  }
}

void LogManager::RebuildRoutes() {
  SectionGuard guard(lock_);
  RebuildRoutesLocked();
}

void LogManager::RebuildRoutesLocked() {
  // Built aside and swapped in, so that a sink failing to answer leaves the old routes whole.
  Routes messages;
  Routes records;
  for (const CopiedUString<UTF8>& name : knownNames_) {
    for (const std::shared_ptr<LogSink>& sink : messageSinks_) {
      if (sink->Accepts(name)) messages[name].push_back(sink.get());
    }
    for (const std::shared_ptr<LogSink>& sink : recordSinks_) {
      if (sink->Accepts(name)) records[name].push_back(sink.get());
    }
  }
  messageRoutes_.swap(messages);
  recordRoutes_.swap(records);
}

void LogManager::Start() {
  SectionGuard control(control_);
  if (worker_ != nullptr) return;
  CheckLastError(ResetEvent(stopEvent_));
  DWORD id = 0;
  HANDLE worker = CreateThread(nullptr, 0, &LogManager::RunWorker, this, 0, &id);
  if (worker == nullptr) {
    const DWORD error = GetLastError();
    SetEvent(stopEvent_);  // without a worker the manager stays stopped
    RaiseWindowsError(error);
    return;
  }
  worker_ = worker;
  workerId_.store(id);
}

void LogManager::Stop() {
  // A sink that stops the manager runs on the worker, which cannot wait for itself: it only
  // asks, and the worker ends once the sink returns.
  if (workerId_.load() == GetCurrentThreadId()) {
    CheckLastError(SetEvent(stopEvent_));
    return;
  }
  SectionGuard control(control_);
  CheckLastError(SetEvent(stopEvent_));
  if (worker_ == nullptr) return;
  const DWORD waited = WaitForSingleObject(worker_, INFINITE);
  const DWORD error = GetLastError();
  CloseHandle(worker_);
  worker_ = nullptr;
  workerId_.store(0);
  if (waited == WAIT_FAILED) RaiseWindowsError(error);
}

void LogManager::operator()() {
  try {
    SetThreadName(std::string_view("Logging"));
  } catch (...) {
    // A thread without a name logs all the same.
  }
  const DWORD wait = WaitMilliseconds(interval_);
  while (WaitForSingleObject(stopEvent_, wait) == WAIT_TIMEOUT) {
    try {
      Flush();
      RebuildRoutes();
    } catch (...) {
    }
  }
  try {
    Flush();
  } catch (...) {
  }
}

DWORD WINAPI LogManager::RunWorker(LPVOID manager) {
  try {
    (*static_cast<LogManager*>(manager))();
  } catch (...) {
  }
  // The thread's own values (its name) go with it.
  TheThreadExitHooks().Run();
  return 0;
}

DWORD LogManager::WaitMilliseconds(std::int64_t intervalMicroseconds) {
  if (intervalMicroseconds == std::numeric_limits<std::int64_t>::max()) return INFINITE;
  if (intervalMicroseconds <= 0) return 0;
  const std::int64_t milliseconds = intervalMicroseconds / 1000 + (intervalMicroseconds % 1000 != 0 ? 1 : 0);
  return milliseconds >= std::int64_t{INFINITE} ? INFINITE - 1 : static_cast<DWORD>(milliseconds);
}
