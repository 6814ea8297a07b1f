// The path GetModuleFileNameW reports for the process's own module. Core starts with the
// executable's own path written the way the platform writes it: the Unix path under drive
// Z: with backslashes (as a Wine prefix maps "/"). Tests set a path of their choice.
#pragma once

#include <string>

void SetModuleFileName(std::u16string path);
std::u16string CurrentModuleFileName();
