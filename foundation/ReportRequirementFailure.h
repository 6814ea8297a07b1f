// Code that must survive any failure catches everything and reports it here; execution goes
// on. When the log "critical" is enabled, it gets the line
//   REQUIREMENT FAILURE: <expression> (<base name of file>:<line>)
// and otherwise nothing is written. Nothing is thrown of its own accord.
#pragma once

void ReportRequirementFailure(const char* file, int line, const char* expression);
