// ShellExecuteW's parameters are one command-line text, as a Windows program receives it.
// A program started here takes an argument vector, so the text is split the way the
// platform's C runtime splits a command line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace posix {

// Blanks and tabs separate arguments outside quotes; "..." groups; inside quotes "" is one
// quote; 2n backslashes before a quote are n backslashes and the quote delimits, 2n+1 are n
// backslashes and a literal quote; other backslashes are themselves. UTF-8 in and out.
std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);

}  // namespace posix
