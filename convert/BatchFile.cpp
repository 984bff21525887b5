#include "convert/BatchFile.h"

#include <windows.h>

#include "ui/UniqueHandle.h"

namespace {

constexpr int kAttempts = 5;
constexpr DWORD kRetryPauseMs = 40;

}  // namespace

std::wstring BatchFilePath(const std::wstring& appDataDir) {
  return appDataDir + L"\\qzmvt\\qzmvt_z.bat";
}

bool WriteBatchFile(const std::wstring& appDataDir, const std::string& commandLine) {
  if (appDataDir.empty()) return false;
  std::wstring folder = appDataDir + L"\\qzmvt";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  // Others may read it while it is written (nothing of ours does). A scanner that opens the
  // fresh file without sharing holds it only briefly: a few short tries outlast it.
  ui::UniqueHandle file;
  for (int attempt = 0;; ++attempt) {
    file.reset(CreateFileW(BatchFilePath(appDataDir).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                           nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) break;
    DWORD error = GetLastError();
    bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                error == ERROR_ACCESS_DENIED;
    if (!held || attempt == kAttempts - 1) return false;
    Sleep(kRetryPauseMs);
  }
  std::string content = commandLine + "\r\n";
  DWORD written = 0;
  return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written,
                   nullptr) &&
         written == content.size();
}
