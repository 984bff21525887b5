#include "convert/EncoderProcesses.h"

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/doubles/FakeEncoderFolder.h"
#include "ui/UniqueHandle.h"

namespace {

ui::UniqueHandle Start(const std::wstring& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring mutableLine = commandLine;
  if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &info))
    return {};
  CloseHandle(info.hThread);
  return ui::UniqueHandle(info.hProcess);
}

// The ffmpeg.exe that is not ours.
ui::UniqueHandle OpenForeignEncoder(DWORD ownId) {
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (_wcsicmp(entry.szExeFile, L"ffmpeg.exe") == 0 && entry.th32ProcessID != ownId)
      return ui::UniqueHandle(
          OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
  }
  return {};
}

bool StillRunning(const ui::UniqueHandle& process) {
  return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

TEST(StopOwnEncoders, StopsOnlyOurEncodersAndTheirChildren) {
  FakeEncoderFolder ours;
  FakeEncoderFolder theirs;
  ours.Script("ffmpeg.exe", "sleep 20000\n");
  theirs.Script("ffmpeg.exe", "sleep 20000\n");
  ours.Script("other.exe", "sleep 20000\n");

  ui::UniqueHandle own = Start(L"\"" + (ours.path / L"ffmpeg.exe").wstring() + L"\"");
  ui::UniqueHandle unrelated = Start(L"\"" + (ours.path / L"other.exe").wstring() + L"\"");
  // Another program's ffmpeg.exe: started through a shell that ends at once, so it does not
  // descend from this process.
  ui::UniqueHandle launcher = Start(L"cmd.exe /c start \"\" /b \"" +
                                    (theirs.path / L"ffmpeg.exe").wstring() + L"\"");
  ASSERT_TRUE(own && unrelated && launcher);
  WaitForSingleObject(launcher.get(), 10000);
  Sleep(300);

  ui::UniqueHandle foreign = OpenForeignEncoder(GetProcessId(own.get()));
  ASSERT_TRUE(foreign);

  StopOwnEncoders({"mencoder.exe", "FFMPEG.EXE", "ffmpegx.exe"});

  EXPECT_EQ(WaitForSingleObject(own.get(), 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(StillRunning(foreign));
  EXPECT_TRUE(StillRunning(unrelated));
  TerminateProcess(foreign.get(), 0);
  TerminateProcess(unrelated.get(), 0);
  WaitForSingleObject(foreign.get(), 5000);
  WaitForSingleObject(unrelated.get(), 5000);
}

}  // namespace
