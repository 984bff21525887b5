#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A fresh temporary folder that plays the program folder: each Script() call places the fake
// encoder there under an encoder's name with the script it is to follow. Removed at the end.
class FakeEncoderFolder {
 public:
  // `tag` goes into the folder's name (a name outside the ANSI code page, say).
  explicit FakeEncoderFolder(const std::wstring& tag = L"") {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    // Process ids come round again, and a folder an earlier test could not remove (an
    // encoder still held a file) must not lend this one its logs: take a name not in use.
    static int counter = 0;
    for (;;) {
      path = std::filesystem::path(temp) /
             (L"velmo-fake-" + tag + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter));
      if (std::filesystem::create_directory(path)) break;
    }
  }
  ~FakeEncoderFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }

  // The fake encoder built beside the test programs.
  static std::filesystem::path FakeEncoderExe() {
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return std::filesystem::path(self).parent_path() / L"FakeEncoder.exe";
  }

  void Script(const std::string& encoderName, const std::string& script) const {
    std::filesystem::copy_file(FakeEncoderExe(), path / encoderName,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(path / (encoderName + ".script"), std::ios::binary) << script;
  }

  std::vector<std::string> LoggedCommandLines(const std::string& encoderName) const {
    std::ifstream log(path / (encoderName + ".log"), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  std::string AnsiPath() const { return path.string(); }

  std::filesystem::path path;
};
