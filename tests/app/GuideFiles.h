// The machine's files as the launcher's tests need them: paths with their attributes, or the
// platform's error for a path that cannot be reached. Every other path is missing.
#pragma once

#include <map>
#include <memory>
#include <string>

#include <windows.h>

#include "core/kernel/FileAttributeSource.h"

class GuideFiles : public core::FileAttributeSource {
 public:
  struct Answer {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    DWORD error = ERROR_SUCCESS;  // when the attributes are invalid
  };

  explicit GuideFiles(std::map<std::u16string, Answer> answers) : answers_(std::move(answers)) {}

  DWORD Attributes(std::u16string_view path, DWORD& error) const override {
    const auto found = answers_.find(std::u16string(path));
    if (found == answers_.end()) {
      error = ERROR_FILE_NOT_FOUND;
      return INVALID_FILE_ATTRIBUTES;
    }
    error = found->second.error;
    return found->second.attributes;
  }

 private:
  std::map<std::u16string, Answer> answers_;
};

// Installs the answers for the scope (by default: the normal and the evaluation guide below
// C:\Gen\ are files) and removes them again.
class ScopedGuideFiles {
 public:
  ScopedGuideFiles()
      : ScopedGuideFiles({{u"C:\\Gen\\TsrInstallationGuide\\Content\\runvane.html", {FILE_ATTRIBUTE_NORMAL}},
                          {u"C:\\Gen\\TsrEvalInstallationGuide\\Content\\runvane.html", {FILE_ATTRIBUTE_NORMAL}}}) {}
  explicit ScopedGuideFiles(std::map<std::u16string, GuideFiles::Answer> answers) {
    core::InstallFileAttributeSource(std::make_shared<GuideFiles>(std::move(answers)));
  }
  ~ScopedGuideFiles() { core::InstallFileAttributeSource(nullptr); }
  ScopedGuideFiles(const ScopedGuideFiles&) = delete;
  ScopedGuideFiles& operator=(const ScopedGuideFiles&) = delete;
};
