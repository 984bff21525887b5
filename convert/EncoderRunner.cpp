#include "convert/EncoderRunner.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "convert/CancelRequest.h"
#include "convert/OutputReaders.h"
#include "convert/ProgressDisplay.h"
#include "ui/CodePage.h"
#include "ui/MessagePump.h"
#include "ui/UniqueHandle.h"

namespace {

void SetPosition(ProgressDisplay& display, int value) {
  display.SetCurrentPosition(std::clamp(value, 0, std::max(display.CurrentMax(), 0)));
}

void ShowPositionOfMax(ProgressDisplay& display) {
  display.SetDetailText(std::to_wstring(display.CurrentPosition()) + L"/" +
                        std::to_wstring(display.CurrentMax()));
}

void Interpret(std::string_view chunk, WatchMode mode, ProgressDisplay& display) {
  switch (mode) {
    case WatchMode::PrimaryFfmpeg:
    case WatchMode::FallbackFfmpeg: {
      bool primary = mode == WatchMode::PrimaryFfmpeg;
      int duration = primary ? ReadDurationCentis(chunk) : ReadDurationFallback(chunk);
      if (duration > 0) display.SetCurrentMax(duration);
      int time = primary ? ReadTimeCentis(chunk) : ReadTimeFallback(chunk);
      if (time > 0) SetPosition(display, time);
      ShowPositionOfMax(display);
      break;
    }
    case WatchMode::Mencoder: {
      display.SetCurrentMax(100);
      int percent = ReadMencoderPercent(chunk);
      if (percent > 0) SetPosition(display, percent);
      display.SetDetailText(ui::AnsiToWide(TrimText(chunk), CP_ACP));
      break;
    }
  }
}

}  // namespace

std::string ProgramFolder() {
  char path[MAX_PATH]{};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash);
}

int32_t RunAndWatch(const std::string& commandLine, int showWindow, WatchMode mode,
                    ProgressDisplay& display) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  ui::UniqueHandle readEnd;
  ui::UniqueHandle writeEnd;
  if (!CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0)) return -1;
  // Our read end must not live on in the child, or the pipe never reports the child's end.
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  startup.hStdInput = nullptr;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();

  std::vector<char> mutableCommand(commandLine.begin(), commandLine.end());
  mutableCommand.push_back('\0');
  std::string folder = ProgramFolder();
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, mutableCommand.data(), &inheritable, &inheritable, TRUE,
                      NORMAL_PRIORITY_CLASS, nullptr, folder.empty() ? nullptr : folder.c_str(),
                      &startup, &info))
    return -1;
  ui::UniqueHandle process(info.hProcess);
  ui::UniqueHandle thread(info.hThread);

  DWORD exitCode = 0;
  bool readOk = writeEnd.reset();
  std::vector<char> buffer(kChunkBufferSize);
  while (readOk) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    DWORD got = 0;
    readOk = ReadFile(readEnd.get(), buffer.data(), kChunkReadSize, &got, nullptr) != FALSE;
    if (IsCancelRequested()) {
      // The encoder is left running; the run's end steps stop it.
      GetExitCodeProcess(process.get(), &exitCode);
      return static_cast<int32_t>(exitCode);
    }
    if (readOk) {
      Interpret(std::string_view(buffer.data()), mode, display);  // text up to the first zero
      ui::ProcessMessages();
    }
  }

  ui::ProcessMessages();
  WaitForSingleObject(process.get(), INFINITE);
  GetExitCodeProcess(process.get(), &exitCode);
  return static_cast<int32_t>(exitCode);
}
