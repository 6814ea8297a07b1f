#include "core/kernel/SystemMessageTable.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>

namespace core {
namespace {

// The system's English texts, sorted by id. Every text ends in "\r\n", as the message
// compiler leaves the platform's own texts; FormatMessage keeps or joins those line ends
// according to the caller's width bits.
constexpr MessageTableEntry kSystemMessages[] = {
    {0, u"The operation completed successfully.\r\n"},
    {1, u"Incorrect function.\r\n"},
    {2, u"The system cannot find the file specified.\r\n"},
    {3, u"The system cannot find the path specified.\r\n"},
    {4, u"The system cannot open the file.\r\n"},
    {5, u"Access is denied.\r\n"},
    {6, u"The handle is invalid.\r\n"},
    {8, u"Not enough memory resources are available to process this command.\r\n"},
    {13, u"The data is invalid.\r\n"},
    {14, u"Not enough memory resources are available to complete this operation.\r\n"},
    {15, u"The system cannot find the drive specified.\r\n"},
    {19, u"The media is write protected.\r\n"},
    {21, u"The device is not ready.\r\n"},
    {32, u"The process cannot access the file because it is being used by another process.\r\n"},
    {33, u"The process cannot access the file because another process has locked a portion of the file.\r\n"},
    {38, u"Reached the end of the file.\r\n"},
    {50, u"The request is not supported.\r\n"},
    {53, u"The network path was not found.\r\n"},
    {67, u"The network name cannot be found.\r\n"},
    {80, u"The file exists.\r\n"},
    {87, u"The parameter is incorrect.\r\n"},
    {112, u"There is not enough space on the disk.\r\n"},
    {120, u"This function is not supported on this system.\r\n"},
    {122, u"The data area passed to a system call is too small.\r\n"},
    {123, u"The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {126, u"The specified module could not be found.\r\n"},
    {127, u"The specified procedure could not be found.\r\n"},
    {145, u"The directory is not empty.\r\n"},
    {158, u"The segment is already unlocked.\r\n"},
    {161, u"The specified path is invalid.\r\n"},
    {183, u"Cannot create a file when that file already exists.\r\n"},
    {206, u"The filename or extension is too long.\r\n"},
    {223, u"The file size exceeds the limit allowed and cannot be saved.\r\n"},
    {234, u"More data is available.\r\n"},
    {259, u"No more data is available.\r\n"},
    {267, u"The directory name is invalid.\r\n"},
    {317, u"The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {998, u"Invalid access to memory location.\r\n"},
    {1004, u"Invalid flags.\r\n"},
    {1009, u"The configuration registry database is corrupt.\r\n"},
    {1010, u"The configuration registry key is invalid.\r\n"},
    {1011, u"The configuration registry key could not be opened.\r\n"},
    {1012, u"The configuration registry key could not be read.\r\n"},
    {1013, u"The configuration registry key could not be written.\r\n"},
    {1014, u"One of the files in the registry database had to be recovered by use of a log or alternate copy. "
           u"The recovery was successful.\r\n"},
    {1015, u"The registry is corrupted. The structure of one of the files containing registry data is corrupted, "
           u"or the system's memory image of the file is corrupted, or the file could not be recovered because the "
           u"alternate copy or log was absent or corrupted.\r\n"},
    {1016, u"An I/O operation initiated by the registry failed unrecoverably. The registry could not read in, or "
           u"write out, or flush, one of the files that contain the system's image of the registry.\r\n"},
    {1017, u"The system has attempted to load or restore a file into the registry, but the specified file is not "
           u"in a registry file format.\r\n"},
    {1018, u"Illegal operation attempted on a registry key that has been marked for deletion.\r\n"},
    {1113, u"No mapping for the Unicode character exists in the target multi-byte code page.\r\n"},
    {1114, u"A dynamic link library (DLL) initialization routine failed.\r\n"},
    {1155, u"No application is associated with the specified file for this operation.\r\n"},
    {1223, u"The operation was canceled by the user.\r\n"},
    {1400, u"Invalid window handle.\r\n"},
    {1401, u"Invalid menu handle.\r\n"},
    {1402, u"Invalid cursor handle.\r\n"},
    {1404, u"Invalid hook handle.\r\n"},
    {1405, u"Invalid handle to a multiple-window position structure.\r\n"},
    {1406, u"Cannot create a top-level child window.\r\n"},
    {1407, u"Cannot find window class.\r\n"},
    {1408, u"Invalid window; it belongs to other thread.\r\n"},
    {1410, u"Class already exists.\r\n"},
    {1411, u"Class does not exist.\r\n"},
    {1412, u"Class still has open windows.\r\n"},
    {1413, u"Invalid index.\r\n"},
    {1414, u"Invalid icon handle.\r\n"},
    {1421, u"Control ID not found.\r\n"},
    {1447, u"The window does not have scroll bars.\r\n"},
    {1812, u"The specified image file did not contain a resource section.\r\n"},
    {1813, u"The specified resource type cannot be found in the image file.\r\n"},
    {1814, u"The specified resource name cannot be found in the image file.\r\n"},
    {1815, u"The specified resource language ID cannot be found in the image file.\r\n"},
    {1921, u"The name of the file cannot be resolved by the system.\r\n"},
};

constexpr bool IsSortedById() {
  for (std::size_t i = 1; i < std::size(kSystemMessages); ++i) {
    if (kSystemMessages[i - 1].id >= kSystemMessages[i].id) return false;
  }
  return true;
}
static_assert(IsSortedById(), "the system message table is searched by binary search");

struct ModuleTables {
  std::mutex lock;
  std::map<HMODULE, std::map<DWORD, std::u16string>> tables;
};

ModuleTables& Modules() {
  static ModuleTables modules;
  return modules;
}

// Texts that tests put in place of the table's; their storage stays put until replaced.
struct Overrides {
  std::mutex lock;
  std::map<DWORD, std::u16string> texts;
};

Overrides& TestOverrides() {
  static Overrides overrides;
  return overrides;
}

}  // namespace

void OverrideSystemMessageForTesting(DWORD id, std::optional<std::u16string> text) {
  Overrides& overrides = TestOverrides();
  std::lock_guard<std::mutex> guard(overrides.lock);
  if (text) {
    overrides.texts[id] = std::move(*text);
  } else {
    overrides.texts.erase(id);
  }
}

const WCHAR* FindSystemMessage(DWORD id) {
  {
    Overrides& overrides = TestOverrides();
    std::lock_guard<std::mutex> guard(overrides.lock);
    if (!overrides.texts.empty()) {
      const auto found = overrides.texts.find(id);
      if (found != overrides.texts.end()) return found->second.c_str();
    }
  }
  const auto found = std::lower_bound(std::begin(kSystemMessages), std::end(kSystemMessages), id,
                                      [](const MessageTableEntry& entry, DWORD sought) { return entry.id < sought; });
  return found != std::end(kSystemMessages) && found->id == id ? found->text : nullptr;
}

std::pair<const MessageTableEntry*, const MessageTableEntry*> SystemMessageEntries() {
  return {std::begin(kSystemMessages), std::end(kSystemMessages)};
}

void RegisterModuleMessageTable(HMODULE module, std::initializer_list<std::pair<DWORD, std::u16string>> messages) {
  ModuleTables& modules = Modules();
  std::lock_guard<std::mutex> guard(modules.lock);
  auto& table = modules.tables[module];
  table.clear();
  for (const auto& [id, text] : messages) table[id] = text;
}

void UnregisterModuleMessageTable(HMODULE module) {
  ModuleTables& modules = Modules();
  std::lock_guard<std::mutex> guard(modules.lock);
  modules.tables.erase(module);
}

bool HasModuleMessageTable(HMODULE module) {
  ModuleTables& modules = Modules();
  std::lock_guard<std::mutex> guard(modules.lock);
  return modules.tables.count(module) != 0;
}

std::optional<std::u16string> FindModuleMessage(HMODULE module, DWORD id) {
  ModuleTables& modules = Modules();
  std::lock_guard<std::mutex> guard(modules.lock);
  const auto table = modules.tables.find(module);
  if (table == modules.tables.end()) return std::nullopt;
  const auto message = table->second.find(id);
  if (message == table->second.end()) return std::nullopt;
  return message->second;
}

}  // namespace core
