#include "convert/BatchFile.h"

#include <windows.h>

#include "ui/UniqueHandle.h"

std::wstring BatchFilePath(const std::wstring& appDataDir) {
  return appDataDir + L"\\qzmvt\\qzmvt_z.bat";
}

bool WriteBatchFile(const std::wstring& appDataDir, const std::string& commandLine) {
  if (appDataDir.empty()) return false;
  std::wstring folder = appDataDir + L"\\qzmvt";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  ui::UniqueHandle file(CreateFileW(BatchFilePath(appDataDir).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string content = commandLine + "\r\n";
  DWORD written = 0;
  return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                   nullptr) &&
         written == content.size();
}
