#include "convert/EncoderRunner.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "convert/CancelRequest.h"
#include "convert/EncoderJob.h"
#include "convert/EndReportScanner.h"
#include "convert/OutputReaders.h"
#include "convert/PipeReader.h"
#include "convert/ProgressDisplay.h"
#include "ui/CodePage.h"
#include "ui/MessagePump.h"
#include "ui/ProcessOutsideJob.h"
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

std::wstring ProgramFolder() {
  // Wide and whole: a folder outside the ANSI code page, or longer than MAX_PATH, too.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

WatchResult RunAndWatch(const std::string& commandLine, int showWindow, WatchMode mode,
                        ProgressDisplay& display, const std::function<bool()>& stopRequested) {
  return RunAndWatch(ui::AnsiToWide(commandLine, CP_ACP), showWindow, mode, display, stopRequested);
}

WatchResult RunAndWatch(const std::wstring& commandLine, int showWindow, WatchMode mode,
                        ProgressDisplay& display, const std::function<bool()>& stopRequested) {
  auto stop = [&] { return stopRequested ? stopRequested() : IsCancelRequested(); };
  WatchResult result;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  ui::UniqueHandle readEnd;
  ui::UniqueHandle writeEnd;
  if (!CreatePipe(readEnd.receive(), writeEnd.receive(), &inheritable, 0)) return result;
  // Our read end must not live on in the child, or the pipe never reports the child's end.
  SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = static_cast<WORD>(showWindow);
  startup.hStdInput = nullptr;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();

  std::vector<wchar_t> mutableCommand(commandLine.begin(), commandLine.end());
  mutableCommand.push_back(L'\0');
  std::wstring folder = ProgramFolder();
  PROCESS_INFORMATION info{};
  // Suspended until it is in the job, so that nothing it starts escapes the job either. The
  // encoders are console programs: without a console window of their own (a hidden console
  // start may still show a terminal where the default terminal is not the console host).
  if (!ui::CreateProcessOutsideJob(nullptr, mutableCommand.data(), &inheritable, &inheritable, TRUE,
                                   NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED | CREATE_NO_WINDOW,
                                   nullptr, folder.empty() ? nullptr : folder.c_str(), &startup,
                                   &info))
    return result;
  ui::UniqueHandle process(info.hProcess);
  ui::UniqueHandle thread(info.hThread);
  // Should the job refuse it (it stayed in an outer job that neither nests nor lets it leave),
  // the encoder still runs; the run stops it by name.
  EncoderJob::Instance().Assign(process.get());
  ResumeThread(thread.get());
  writeEnd.reset();

  PipeReader reader(std::move(readEnd), kChunkReadSize);
  EndReportScanner report(mode == WatchMode::Mencoder ? EndReportKind::Mencoder
                                                      : EndReportKind::Ffmpeg);
  auto stopped = [&] {
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    result.exitCode = static_cast<int32_t>(code);
    result.endReported = report.Seen();
    result.stopped = true;
    return result;
  };
  // Waits for `object` or a window message, then processes the messages that wait.
  auto wait = [](HANDLE object) {
    MsgWaitForMultipleObjectsEx(1, &object, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    ui::ProcessMessages();
  };

  while (true) {
    if (stop()) return stopped();
    if (std::optional<std::string> chunk = reader.Take()) {
      report.Feed(*chunk);
      // The chunk's text ends at its first zero byte.
      Interpret(std::string_view(chunk->c_str()), mode, display);
      ui::ProcessMessages();
      continue;
    }
    if (reader.Ended()) break;
    wait(reader.ReadyEvent());
  }
  while (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
    if (stop()) return stopped();
    wait(process.get());
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.get(), &exitCode);
  result.exitCode = static_cast<int32_t>(exitCode);
  result.endReported = report.Seen();
  return result;
}
