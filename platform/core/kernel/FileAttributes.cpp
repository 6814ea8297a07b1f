// GetFileAttributesW over the installed attribute source.
#include "fileapi.h"


#include "core/kernel/FileAttributeSource.h"
#include "core/kernel/InstalledService.h"
#include "errhandlingapi.h"
#include "winerror.h"

namespace core {

namespace {
InstalledService<const FileAttributeSource> installedSource;

std::shared_ptr<const FileAttributeSource> CurrentSource() { return installedSource.Current(); }
}  // namespace

void InstallFileAttributeSource(std::shared_ptr<const FileAttributeSource> source) {
  installedSource.Install(std::move(source));
}

}  // namespace core

DWORD GetFileAttributesW(LPCWSTR fileName) {
  if (fileName == nullptr || *fileName == u'\0') {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::shared_ptr<const core::FileAttributeSource> source = core::CurrentSource();
  if (!source) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  DWORD error = ERROR_SUCCESS;
  const DWORD attributes = source->Attributes(std::u16string_view(fileName), error);
  if (attributes == INVALID_FILE_ATTRIBUTES) SetLastError(error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : error);
  return attributes;
}
