// The message tables behind FormatMessageW and FormatMessageA: the system's English texts,
// and the tables of modules that register one. Texts are stored as the platform's message
// compiler leaves them: each line ends in "\r\n", and "%" escapes are interpreted when a
// message is formatted, not here.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "windef.h"

namespace core {

struct MessageTableEntry {
  DWORD id;
  const WCHAR* text;
};

// The system's text for a status code; null when the system has none.
const WCHAR* FindSystemMessage(DWORD id);

// Replaces the system's text for id until it is restored with nothing, so that tests can
// give the platform any text. Not for use outside tests.
void OverrideSystemMessageForTesting(DWORD id, std::optional<std::u16string> text);

// The whole system table, sorted by id, for tests that check every entry.
std::pair<const MessageTableEntry*, const MessageTableEntry*> SystemMessageEntries();

// A module's own message table, searched before the system's when FORMAT_MESSAGE_FROM_HMODULE
// names the module. Registering again replaces the module's table.
void RegisterModuleMessageTable(HMODULE module, std::initializer_list<std::pair<DWORD, std::u16string>> messages);
void UnregisterModuleMessageTable(HMODULE module);
bool HasModuleMessageTable(HMODULE module);
// The module's text for id, or nothing when the module has no table or no such message.
std::optional<std::u16string> FindModuleMessage(HMODULE module, DWORD id);

}  // namespace core
