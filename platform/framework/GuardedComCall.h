// The guard at every place where the browser (or another COM caller) calls into our code:
// nothing thrown crosses back into a caller that could not handle it. What is caught is told
// to report with the file and line of the guarded call and what the guard stands for, and
// the caller hears the failure answer instead. The framework keeps no log of its own, so the
// report comes from the layer that places the guard (ReportRequirementFailure has its shape).
#pragma once

#include <source_location>
#include <utility>

#include "afxwin.h"

// Answers call's result, or failed when call throws; a framework exception is released.
template <class Report, class Result, class Call>
Result GuardedCall(Report&& report, const char* expression, Result failed, Call&& call,
                   std::source_location where = std::source_location::current()) {
  try {
    return std::forward<Call>(call)();
  } catch (CException* failure) {
    failure->Delete();
  } catch (...) {
  }
  report(where.file_name(), static_cast<int>(where.line()), expression);
  return failed;
}

// For a call that answers nothing.
template <class Report, class Call>
void GuardedCall(Report&& report, const char* expression, Call&& call,
                 std::source_location where = std::source_location::current()) {
  GuardedCall(
      std::forward<Report>(report), expression, true,
      [&] {
        std::forward<Call>(call)();
        return true;
      },
      where);
}

// A COM method's guard: the failure answer is E_FAIL.
template <class Report, class Call>
HRESULT GuardedComCall(Report&& report, const char* expression, Call&& call,
                       std::source_location where = std::source_location::current()) {
  return GuardedCall(std::forward<Report>(report), expression, HRESULT{E_FAIL}, std::forward<Call>(call), where);
}
