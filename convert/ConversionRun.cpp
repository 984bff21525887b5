#include "convert/ConversionRun.h"

#include <windows.h>

#include <stdexcept>

#include "convert/BatchFile.h"
#include "convert/CancelRequest.h"
#include "convert/CommandLine.h"
#include "convert/ConversionHost.h"
#include "convert/EncoderProcesses.h"
#include "convert/EncoderRunner.h"
#include "convert/FormatTable.h"
#include "convert/ProgressView.h"
#include "ui/CodePage.h"
#include "ui/MessagePump.h"

namespace {

// An entry that cannot be converted; the run reports it and goes on with the next entry.
class EntryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string ToAnsi(const std::wstring& text) { return ui::WideToAnsi(text, CP_ACP); }

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  std::wstring wa = ui::AnsiToWide(a, CP_ACP);
  std::wstring wb = ui::AnsiToWide(b, CP_ACP);
  return CompareStringOrdinal(wa.c_str(), static_cast<int>(wa.size()), wb.c_str(),
                              static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

// A conversion completed when the last attempt's encoder ended with 0 and left a file that is
// not empty at the output path.
bool OutputComplete(int32_t exitCode, const std::string& outputPath) {
  if (exitCode != 0) return false;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(outputPath.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

void WriteBatchOrFail(const std::string& appDataDir, const std::string& commandLine) {
  if (!WriteBatchFile(appDataDir, commandLine)) throw EntryError("batch file");
}

}  // namespace

ConversionRun::ConversionRun(ConversionHost& host, ProgressView& progress,
                             ConversionEnvironment environment)
    : host_(host), progress_(progress), environment_(std::move(environment)) {
  if (!environment_.wait) environment_.wait = [](unsigned ms) { Sleep(ms); };
}

void ConversionRun::StopEncoders() { StopOwnEncoders({"mencoder.exe", "ffmpeg.exe", "ffmpegx.exe"}); }

void ConversionRun::ShowEntryError(int index) {
  host_.SetEntryIcon(index, kIconFailed);
  host_.ShowMessage(L"转换第" + std::to_wstring(index + 1) + L"个文件时出现错误",
                    host_.ApplicationTitle(), MB_OK);
}

ConversionRun::EntryResult ConversionRun::ConvertEntry(int index, std::string_view key) {
  std::optional<std::wstring> path = host_.EntryPath(index);
  if (!path) throw EntryError("entry without a path");
  std::string source = ToAnsi(*path);
  CommandLine line = BuildCommandLine({key, ToAnsi(host_.ResolutionText()), source,
                                       ToAnsi(host_.OutputFolderText()),
                                       environment_.programFolder});
  if (line.text.empty()) throw EntryError("no format");
  // Writing over the source would destroy it.
  if (SamePathIgnoringCase(line.outputPath, source)) throw EntryError("output is the source");
  lastOutputPath_ = line.outputPath;

  WriteBatchOrFail(environment_.appDataDir, line.text);
  progress_.SetStatusText(L"正在转换第" + std::to_wstring(index + 1) + L"个文件为" +
                          ui::AnsiToWide(key, CP_ACP) + L"......");
  ui::ProcessMessages();
  progress_.SetDetailText(L"");

  int32_t exitCode;
  if (key != "avi") {
    exitCode = RunAndWatch(line.text, SW_HIDE, WatchMode::PrimaryFfmpeg, progress_);
    if (!IsCancelRequested() && progress_.CurrentPosition() == 0) {
      StopEncoders();
      environment_.wait(3000);
      std::string fallback = RewriteForFallback(line.text);
      WriteBatchOrFail(environment_.appDataDir, fallback);
      exitCode = RunAndWatch(fallback, SW_HIDE, WatchMode::FallbackFfmpeg, progress_);
    }
  } else {
    exitCode = RunAndWatch(line.text, SW_HIDE, WatchMode::Mencoder, progress_);
  }
  if (IsCancelRequested()) return EntryResult::Cancelled;
  if (!OutputComplete(exitCode, line.outputPath)) throw EntryError("encoder failed");

  progress_.SetTotalPosition(progress_.TotalPosition() + 1);
  progress_.SetCurrentPosition(0);
  host_.SetEntryIcon(index, kIconDone);
  ui::ProcessMessages();

  if (host_.DeleteAfterConversion()) {
    StopOwnEncoders({"ffmpeg.exe", "mencoder.exe", "ffmpegx.exe"});
    environment_.wait(1000);
    DeleteFileA(source.c_str());
  }
  return EntryResult::Completed;
}

void ConversionRun::Convert(std::string_view key) {
  // The Cancel button enables the start button before the cancelled run has ended; a press
  // then must neither start a nested run nor clear the flag under the ending one.
  if (running_) return;
  running_ = true;
  CancelRequested = 0;
  host_.EnableStartButton(false);
  lastOutputPath_.clear();

  int checked = 0;
  for (int i = 0; i < host_.EntryCount(); ++i)
    if (host_.EntryChecked(i)) ++checked;
  if (checked == 0) {
    host_.ShowMessage(L"没有找到可以转换的文件", L"转换", MB_OK | MB_ICONINFORMATION);
    EndSteps(false);
    running_ = false;
    return;
  }

  progress_.SetTotalMax(checked);
  progress_.SetCurrentPosition(0);
  progress_.SetTotalPosition(0);
  progress_.ShowProgress();
  ui::ProcessMessages();

  std::vector<bool> completed(static_cast<size_t>(host_.EntryCount()), false);
  const int count = host_.EntryCount();
  for (int i = 0; i < count; ++i) {
    if (i >= host_.EntryCount()) break;  // entries removed while the run pumped messages
    if (!host_.EntryChecked(i)) continue;
    try {
      EntryResult result = ConvertEntry(i, key);
      completed[static_cast<size_t>(i)] = result == EntryResult::Completed;
    } catch (const std::exception&) {
      ShowEntryError(i);
    }
    if (IsCancelRequested()) break;
    ui::ProcessMessages();
  }

  bool cancelled = IsCancelRequested();
  if (cancelled) {
    ui::ProcessMessages();
  } else {
    progress_.SetCurrentPosition(progress_.CurrentMax());
    progress_.SetTotalPosition(progress_.TotalMax());
    int answer = host_.ShowMessage(L"转换已经全部完成.是否立即打开保存转换文件的目录?", L"成功",
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer == IDYES) host_.OpenInShell(ToAnsi(host_.OutputFolderText()));
    ui::ProcessMessages();
  }
  EndSteps(cancelled);

  // Converted entries leave the list; an entry that failed stays, with its failure icon, so
  // that the user sees what is left to do.
  if (host_.DeleteAfterConversion() && !cancelled) {
    for (int i = std::min<int>(host_.EntryCount(), static_cast<int>(completed.size())) - 1; i >= 0;
         --i)
      if (completed[static_cast<size_t>(i)] && host_.EntryChecked(i)) host_.RemoveEntry(i);
  }
  running_ = false;
}

void ConversionRun::EndSteps(bool cancelled) {
  StopEncoders();
  if (cancelled) {
    environment_.wait(1000);
    if (!lastOutputPath_.empty()) DeleteFileA(lastOutputPath_.c_str());
  }
  progress_.CloseProgress();
  host_.EnableStartButton(true);
}
