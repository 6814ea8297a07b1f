// The hive reader on arbitrary text. Key lines take the components they share with the line
// before from a chain; a "[]" line before each key line forces every path to be resolved
// afresh, so both readings must build the same tree, or both refuse the text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/registry/RegistryHive.h"
#include "posix/RegistryHiveError.h"
#include "posix/WineHiveParser.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

std::shared_ptr<core::RegistryHive> Parse(const std::string& text) {
  try {
    return posix::ParseWineHive(text, "fuzz.reg");
  } catch (const posix::RegistryHiveError& error) {
    Require(error.Line() >= 1);
    return nullptr;
  }
}

// The same text with an empty key line before every key line.
std::string WithResets(const std::string& text) {
  std::string out;
  std::size_t start = 0;
  bool first = true;
  while (start <= text.size()) {
    std::size_t stop = text.find('\n', start);
    if (stop == std::string::npos) stop = text.size();
    const std::string_view line(text.data() + start, stop - start);
    if (!first && !line.empty() && line[0] == '[') out += "[] 0\n";
    out.append(line);
    if (stop < text.size()) out += '\n';
    first = false;
    start = stop + 1;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Most inputs get the header, so that the fuzzer spends its time past the first line.
  const bool header = size == 0 || data[0] != '!';
  const std::string text = (header ? "WINE REGISTRY Version 2\n" : "") + std::string(reinterpret_cast<const char*>(data), size);
  const auto hive = Parse(text);
  const auto reference = Parse(WithResets(text));
  Require((hive == nullptr) == (reference == nullptr));
  if (hive == nullptr) return 0;
  Require(hive->KeyCount() == reference->KeyCount());
  for (core::RegistryHive::KeyId key = 0; key < hive->KeyCount(); ++key) {
    Require(hive->KeyName(key) == reference->KeyName(key));
  }
  return 0;
}
