#include "foundation/ReportRequirementFailure.h"

#include <cstdint>
#include <string_view>

#include "foundation/LogLine.h"
#include "foundation/LogManager.h"
#include "foundation/NumberText.h"

namespace {

constexpr std::string_view kCriticalLog = "critical";

// The text after the last "/" or "\", which paths of either kind end in.
std::string_view BaseName(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// Reports come from catch-all handlers, which may have lost even these texts.
std::string_view TextOf(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

}  // namespace

void ReportRequirementFailure(const char* file, int line, const char* expression) {
  LogManager& manager = LogManager::Instance();
  if (!manager.IsEnabled(kCriticalLog)) return;
  LogLine entry(kCriticalLog, UStringRef<UTF8>(), manager);
  entry << "REQUIREMENT FAILURE: " << TextOf(expression) << " (" << BaseName(TextOf(file)) << ":"
        << ToDecimalText(std::int64_t{line}) << ")";
}
