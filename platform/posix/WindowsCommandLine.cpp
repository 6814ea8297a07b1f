#include "posix/WindowsCommandLine.h"

namespace posix {

std::vector<std::string> SplitWindowsCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  while (true) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    if (at == line.size()) return arguments;
    std::string argument;
    bool quoted = false;
    while (at < line.size() && (quoted || (line[at] != ' ' && line[at] != '\t'))) {
      if (line[at] == '\\') {
        std::size_t slashes = 0;
        while (at < line.size() && line[at] == '\\') {
          ++slashes;
          ++at;
        }
        if (at < line.size() && line[at] == '"') {
          argument.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            argument += '"';
            ++at;
          }
        } else {
          argument.append(slashes, '\\');
        }
      } else if (line[at] == '"') {
        if (quoted && at + 1 < line.size() && line[at + 1] == '"') {
          argument += '"';
          at += 2;
        } else {
          quoted = !quoted;
          ++at;
        }
      } else {
        argument += line[at++];
      }
    }
    arguments.push_back(std::move(argument));
  }
}

}  // namespace posix
