#include "foundation/DebuggableException.h"

#include <cxxabi.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeindex>
#include <typeinfo>

namespace {

// Run-time type names are mangled here; the text is built once per class and kept for the
// life of the process, so what() can hand out a pointer that never dangles.
std::string Demangle(const char* mangled) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  return status == 0 && plain ? std::string(plain.get()) : std::string(mangled);
}

struct NameTable {
  std::mutex lock;
  std::map<std::type_index, std::string> names;
};

NameTable& Names() {
  static auto* table = new NameTable;  // never destroyed: exceptions may be described at exit
  return *table;
}

}  // namespace

UStringRef<UTF8> ClassNameTextOf(const std::type_info& type) noexcept {
  try {
    NameTable& table = Names();
    std::lock_guard<std::mutex> guard(table.lock);
    auto found = table.names.find(type);
    if (found == table.names.end()) {
      found = table.names.emplace(type, "class " + Demangle(type.name())).first;
    }
    return UStringRef<UTF8>(std::string_view(found->second));
  } catch (...) {
    return UStringRef<UTF8>(std::string_view("class DebuggableException"));
  }
}

UStringRef<UTF8> DebuggableException::ClassNameText() const noexcept { return ClassNameTextOf(typeid(*this)); }

// The name text is ASCII and stored with its terminator, so it serves as a C string too.
const char* DebuggableException::what() const noexcept { return ClassNameText().begin(); }

UStringRef<UTF8> DebuggableException::MessageUtf8() const { return ClassNameText(); }
