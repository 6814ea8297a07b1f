// Turns logging on from the environment at start-up: TSR_LOG lists the logs to show on
// standard error, separated by commas, semicolons or blanks (TSR_LOG=critical). The launcher
// calls this once before its window opens.
#pragma once

#include <memory>
#include <vector>

#include "foundation/CopiedUString.h"
#include "foundation/LogManager.h"
#include "foundation/LogSink.h"
#include "foundation/UStringRef.h"

// The log names in a TSR_LOG list, in order, without empty ones and repeats.
std::vector<CopiedUString<UTF8>> ParseLogNameList(UStringRef<UTF8> list);

// When TSR_LOG names at least one log: adds a StandardErrorLogSink for those logs to the
// manager, starts the manager and returns the sink. Otherwise it changes nothing and returns
// null, and nothing is ever written.
std::shared_ptr<LogSink> EnableLogsFromEnvironment(LogManager& manager = LogManager::Instance());
