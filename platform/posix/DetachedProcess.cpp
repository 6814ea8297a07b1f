#include "posix/DetachedProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

extern char** environ;

namespace posix {

namespace {

// What the program's process writes back when a step before the program fails.
struct StartFailure {
  int error = 0;
};

std::vector<char*> NullTerminated(const std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  pointers.reserve(texts.size() + 1);
  for (const std::string& text : texts) pointers.push_back(const_cast<char*>(text.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Between fork and exec only async-signal-safe calls are made: the launcher has other
// threads (GTK, WebKit) whose locks may be held in the copy.
[[noreturn]] void Fail(int pipe, int error) {
  const StartFailure failure{error};
  while (::write(pipe, &failure, sizeof failure) < 0 && errno == EINTR) {
  }
  ::_exit(127);
}

[[noreturn]] void BecomeProgram(int pipe, const char* directory, char* const* arguments, char* const* environment) {
  // The launcher's blocked signals and ignored SIGPIPE are its own, not the program's.
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  ::sigaction(SIGPIPE, &standard, nullptr);
  if (::chdir(directory) != 0) Fail(pipe, errno);
  // The launcher's descriptors (display connection, files) stay with the launcher. Kernels
  // without close_range keep them; the program still runs.
#ifdef SYS_close_range
  ::syscall(SYS_close_range, 3u, ~0u, 4u /* CLOSE_RANGE_CLOEXEC */);
#endif
  ::execve(arguments[0], arguments, environment);
  Fail(pipe, errno);
}

}  // namespace

std::vector<std::string> EnvironmentWith(const std::string& name, const std::string& value) {
  std::vector<std::string> environment;
  const std::string key = name + "=";
  for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
    if (std::string_view(*entry).substr(0, key.size()) != key) environment.emplace_back(*entry);
  }
  environment.push_back(key + value);
  return environment;
}

int StartDetachedProcess(const DetachedProcess& process) {
  if (process.arguments.empty()) return ENOENT;
  // Everything the children need is made before the fork: they may not allocate.
  std::vector<char*> arguments = NullTerminated(process.arguments);
  std::vector<char*> environment = NullTerminated(process.environment);
  const char* directory = process.workingDirectory.empty() ? "/" : process.workingDirectory.c_str();

  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return errno;
  const pid_t middle = ::fork();
  if (middle < 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return error;
  }
  if (middle == 0) {
    ::close(report[0]);
    // A session of its own: closing the launcher's terminal does not end the program.
    ::setsid();
    const pid_t program = ::fork();
    if (program < 0) Fail(report[1], errno);
    if (program == 0) BecomeProgram(report[1], directory, arguments.data(), environment.data());
    ::_exit(0);
  }

  ::close(report[1]);
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes without a word when the program's exec succeeds.
  StartFailure failure;
  ssize_t length;
  while ((length = ::read(report[0], &failure, sizeof failure)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  return length == static_cast<ssize_t>(sizeof failure) ? failure.error : 0;
}

}  // namespace posix
