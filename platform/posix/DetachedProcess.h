// Starting a program that the launcher lets go of at once: the shell's programs outlive the
// launcher and are never waited for.
#pragma once

#include <string>
#include <vector>

namespace posix {

struct DetachedProcess {
  // The program's path first, then its arguments; passed as they stand, never through a shell.
  std::vector<std::string> arguments;
  std::string workingDirectory;
  // "NAME=value" entries: the whole environment of the program.
  std::vector<std::string> environment;
};

// Starts the program and returns as soon as it runs: 0, or the errno of the step that failed
// (making the process, entering the working directory, or executing the program).
//
// A double fork: the intermediate child makes a new session, starts the program and exits at
// once, so the program is re-parented to the system and nobody here has to reap it. That
// needs no main loop and no reaper thread that would outlive the call. A close-on-exec pipe
// carries an exec failure back, so a program that cannot start is reported, not lost.
int StartDetachedProcess(const DetachedProcess& process);

// The current environment with `name` set to `value` (added, or replacing its entry).
std::vector<std::string> EnvironmentWith(const std::string& name, const std::string& value);

}  // namespace posix
