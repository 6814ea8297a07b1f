// What a navigation target of the guide page asks the launcher to do. The guide drives the
// launcher through links such as "openfolder:C:%5CProgram%20Files"; every other target is an
// address the browser loads.
#pragma once

#include <windows.h>

#include "WideText.h"

#include <string>
#include <vector>

#include "foundation/TextEncoding.h"
#include "foundation/UStringRef.h"

struct GuideCommand {
  enum Kind {
    Load,     // no command: the browser loads the target
    Open,     // hand `file` to the shell with the verb "open" and `showCommand`
    Close,    // end the main dialog
    Refused,  // a command that cannot be carried out safely: cancel, open nothing
  };

  Kind kind = Load;
  TerminatedU16 file;  // Open only: the decoded remainder
  INT showCommand = 0;
};

// Decides the target as the browser delivered it (zero units inside stay part of it). Never
// raises for malformed text: a target that is not valid UTF-16 could be a command in
// disguise, and a remainder that decodes to invalid UTF-8 or to a zero byte would reach the
// shell as some other name than the link shows, so each of them is Refused.
GuideCommand ReadGuideCommand(UStringRef<UTF16> target);

// The command prefixes, in the order they are tested: what the browser is told are no
// addresses, so that it lets only a local document ask for them.
std::vector<WString> GuideCommandPrefixes();

// Hands an Open command to the shell: no owner, the verb "open", the whole decoded remainder
// as the file (nothing split off as parameters), no working directory. What the shell
// answers changes nothing for the page, so it is not looked at.
void OpenInShell(const GuideCommand& open);

// Whether a document at this address may issue commands: one loaded from a local file
// ("file:" in any ASCII letter case, or a drive path such as "C:\Gen\a.html", which an
// engine may report for a page it was asked to load by that path) or from memory (the
// empty address).
bool IsLocalDocumentAddress(UStringRef<UTF16> address);
