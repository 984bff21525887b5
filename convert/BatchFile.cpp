#include "convert/BatchFile.h"

#include <windows.h>

#include "ui/UniqueHandle.h"

std::string BatchFilePath(const std::string& appDataDir) {
  return appDataDir + "\\qzmvt\\qzmvt_z.bat";
}

bool WriteBatchFile(const std::string& appDataDir, const std::string& commandLine) {
  if (appDataDir.empty()) return false;
  std::string folder = appDataDir + "\\qzmvt";
  if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  ui::UniqueHandle file(CreateFileA(BatchFilePath(appDataDir).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string content = commandLine + "\r\n";
  DWORD written = 0;
  return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                   nullptr) &&
         written == content.size();
}
