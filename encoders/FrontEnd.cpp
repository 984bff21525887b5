// The encoder front-end: one program that lies in the program folder as ffmpeg.exe,
// ffmpegx.exe and mencoder.exe. It accepts the converter's command lines, runs the engine
// (engine\ffmpeg.exe beside it) with equivalent current options, and prints the progress
// markers the converter reads, in the layout of the encoder its file name stands for.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "encoders/EncoderRequest.h"
#include "encoders/EngineArguments.h"
#include "encoders/EngineLog.h"
#include "encoders/EngineProcess.h"
#include "encoders/MarkerLines.h"
#include "encoders/ProgressStream.h"
#include "encoders/WindowsArguments.h"
#include "ui/CodePage.h"
#include "ui/UniqueHandle.h"

namespace {

using namespace frontend;

constexpr int kUsageError = 2;
constexpr int kFailure = 1;
// A status line every 50 ms, whatever the engine's own pace: the converter handles its window
// messages once per chunk of output, so this period bounds how long its windows wait.
constexpr DWORD kStatusPeriodMs = 50;

std::string Utf8(std::wstring_view text) { return ui::WideToAnsi(text, CP_UTF8); }
std::wstring Wide(std::string_view utf8) { return ui::AnsiToWide(utf8, CP_UTF8); }

// Console text is in the system's ANSI code page; one write per call.
void Write(DWORD stdHandle, std::string_view bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stdHandle), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}
void WriteText(DWORD stdHandle, std::string_view utf8) {
  Write(stdHandle, ui::WideToAnsi(Wide(utf8), CP_ACP));
}

int Fail(std::string_view program, int code, std::string_view message) {
  WriteText(STD_ERROR_HANDLE, std::string(program) + ": " + std::string(message) + "\r\n");
  return code;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring FullPath(const std::wstring& path) {
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  length = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  full.resize(length);
  return full;
}

// "C:\\..." or "\\\\server\\...": a relative output would land in our working folder, the
// converter's program folder.
bool IsFullPath(std::wstring_view path) {
  auto separator = [](wchar_t c) { return c == L'\\' || c == L'/'; };
  return (path.size() >= 3 && path[1] == L':' && separator(path[2])) ||
         (path.size() >= 2 && separator(path[0]) && separator(path[1]));
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Whether this process can create a file in the folder, tried with a file that goes when it is
// closed. The engine carries no manifest, so where a 32-bit Windows virtualizes file access it
// would not fail in a protected folder (Program Files) but write into the user's VirtualStore,
// where nobody finds the output; we carry one and see the refusal.
bool CanWriteInto(const std::wstring& folder) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::wstring probe = folder + L"\\~velmo" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                         std::to_wstring(GetTickCount64() + attempt) + L".tmp";
    ui::UniqueHandle file(CreateFileW(
        probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (file) return true;
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

// What lay at the output path before the engine ran, to know whether a failed run left
// something there that it must remove.
struct FileState {
  bool exists = false;
  FILETIME written{};
  ULONGLONG size = 0;
  bool operator==(const FileState& other) const {
    return exists == other.exists && size == other.size &&
           CompareFileTime(&written, &other.written) == 0;
  }
};

FileState StateOf(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  FileState state;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return state;
  state.exists = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  state.written = data.ftLastWriteTime;
  state.size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return state;
}

// Everything the reader threads learn, guarded by one lock.
struct Shared {
  std::mutex lock;
  std::condition_variable readerEnded;
  int readersEnded = 0;
  ProgressStream progress;
  EngineLog log;
};

void ReaderEnded(Shared& shared) {
  {
    std::lock_guard guard(shared.lock);
    ++shared.readersEnded;
  }
  shared.readerEnded.notify_all();
}

void ReadProgress(HANDLE pipe, std::shared_ptr<Shared> owner) {
  Shared& shared = *owner;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    std::lock_guard guard(shared.lock);
    shared.progress.Feed(std::string_view(buffer, got));
  }
  ReaderEnded(shared);
}

void ReadLog(HANDLE pipe, std::shared_ptr<Shared> owner) {
  Shared& shared = *owner;
  char buffer[4096];
  DWORD got = 0;
  std::string pending;
  auto takeLines = [&](bool all) {
    size_t begin = 0;
    for (size_t end; (end = pending.find_first_of("\r\n", begin)) != std::string::npos;
         begin = end + 1) {
      std::lock_guard guard(shared.lock);
      shared.log.FeedLine(std::string_view(pending).substr(begin, end - begin));
    }
    pending.erase(0, begin);
    if (all && !pending.empty()) {
      std::lock_guard guard(shared.lock);
      shared.log.FeedLine(pending);
      pending.clear();
    }
  };
  while (ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    pending.append(buffer, got);
    takeLines(false);
  }
  takeLines(true);
  ReaderEnded(shared);
}

// Prints the markers of the program's name from what the readers know so far.
class MarkerPrinter {
 public:
  MarkerPrinter(FrontEndName name, Shared& shared) : name_(name), shared_(shared) {}

  void Tick(bool finished, bool succeeded) {
    std::lock_guard guard(shared_.lock);
    bool ready = shared_.log.HeaderDone() || shared_.log.DurationText() ||
                 shared_.progress.AnyBlock() || finished;
    if (!ready) return;
    if (finished && !succeeded && !shared_.progress.AnyBlock()) return;
    if (name_ != FrontEndName::Mencoder && !durationPrinted_) {
      Write(STD_OUTPUT_HANDLE, DurationLine(shared_.log.DurationText()));
      durationPrinted_ = true;
    }
    EngineProgress progress = shared_.progress.Latest();
    if (shared_.progress.BlockCount() != seenBlocks_) {
      seenBlocks_ = shared_.progress.BlockCount();
      reportTick_ = GetTickCount64();
    }
    if (!finished)
      progress.outTimeCentis =
          EstimatedCentis(progress, static_cast<long long>(GetTickCount64() - reportTick_),
                          shared_.log.DurationCentis());
    // What was printed once is not taken back.
    progress.outTimeCentis = std::max(progress.outTimeCentis, printedCentis_);
    printedCentis_ = progress.outTimeCentis;
    Write(STD_OUTPUT_HANDLE,
          name_ == FrontEndName::Mencoder
              ? MencoderStatusLine(progress, shared_.log.DurationCentis(), finished && succeeded)
              : FfmpegStatusLine(progress));
  }

 private:
  FrontEndName name_;
  Shared& shared_;
  bool durationPrinted_ = false;
  size_t seenBlocks_ = 0;
  ULONGLONG reportTick_ = 0;
  long long printedCentis_ = 0;
};

int Run() {
  std::wstring modulePath = ModulePath();
  size_t slash = modulePath.find_last_of(L"\\/");
  std::wstring folder = modulePath.substr(0, slash);
  std::string fileName = Utf8(modulePath.substr(slash + 1));
  std::optional<FrontEndName> name = FrontEndFromFileName(fileName);
  if (!name)
    return Fail(fileName, kUsageError,
                "this program must be named ffmpeg.exe, ffmpegx.exe or mencoder.exe");
  std::string program(FileNameOf(*name));

  ParsedRequest parsed = ParseRequest(*name, SplitWindowsCommandLine(Utf8(GetCommandLineW())));
  if (!parsed.request) return Fail(program, kUsageError, parsed.error);
  const EncoderRequest& request = *parsed.request;

  if (!IsFullPath(Wide(request.output)))
    return Fail(program, kUsageError,
                "the output \"" + request.output + "\" is not a full path; nothing is written");
  std::wstring source = FullPath(Wide(request.source));
  std::wstring output = FullPath(Wide(request.output));
  DWORD attributes = GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return Fail(program, kFailure,
                "cannot read the source \"" + request.source + "\": no such file");
  if (SamePath(source, output))
    return Fail(program, kFailure,
                "the output \"" + request.output + "\" is the source itself; it is left untouched");
  std::wstring outputFolder = output.substr(0, output.find_last_of(L"\\/"));
  if (!CanWriteInto(outputFolder))
    return Fail(
        program, kFailure,
        "cannot write into the output folder \"" + Utf8(outputFolder) + "\"; nothing is written");
  std::wstring engine = folder + L"\\engine\\ffmpeg.exe";
  if (GetFileAttributesW(engine.c_str()) == INVALID_FILE_ATTRIBUTES)
    return Fail(program, kFailure, "the engine is missing: " + Utf8(engine));

  std::string commandLine =
      QuoteWindowsArgument(Utf8(engine)) + " " + JoinWindowsCommandLine(EngineArguments(request));
  if (GetEnvironmentVariableW(L"VELMO_SHOW_ENGINE_LINE", nullptr, 0) > 0)
    WriteText(STD_ERROR_HANDLE, commandLine + "\r\n");

  FileState before = StateOf(output);
  EngineProcess process;
  std::wstring startError;
  if (!process.Start(engine, Wide(commandLine), &startError))
    return Fail(program, kFailure, Utf8(startError));

  auto owner = std::make_shared<Shared>();
  Shared& shared = *owner;
  std::thread progressReader(ReadProgress, process.Output(), owner);
  std::thread logReader(ReadLog, process.Log(), owner);
  MarkerPrinter printer(*name, shared);
  while (WaitForSingleObject(process.Process(), kStatusPeriodMs) == WAIT_TIMEOUT)
    printer.Tick(false, false);
  // The pipes end with the engine. Should anything else hold them open, what has arrived is
  // all there is: the converter must not wait for us forever.
  bool readersEnded = false;
  {
    std::unique_lock guard(shared.lock);
    readersEnded = shared.readerEnded.wait_for(guard, std::chrono::seconds(5),
                                               [&] { return shared.readersEnded == 2; });
  }
  if (readersEnded) {
    progressReader.join();
    logReader.join();
  } else {
    progressReader.detach();
    logReader.detach();
  }

  DWORD code = process.ExitCode();
  FileState after = StateOf(output);
  // The engine's last report says "end" only when it finished its work: an engine stopped
  // from outside may also have ended with code 0.
  bool reportedEnd = false;
  {
    std::lock_guard guard(shared.lock);
    reportedEnd = shared.progress.Latest().ended;
  }
  bool complete = code == 0 && reportedEnd && after.exists && after.size > 0;
  printer.Tick(true, complete);
  if (complete) {
    std::string report;
    {
      std::lock_guard guard(shared.lock);
      report = EndReportLine(*name == FrontEndName::Mencoder, shared.progress.Latest(),
                             shared.log.Summary(), static_cast<long long>(after.size));
    }
    Write(STD_OUTPUT_HANDLE, report);
    return 0;
  }
  Write(STD_OUTPUT_HANDLE, "\r\n");

  // Nothing half-written stays behind; a file the engine never touched is not ours to delete.
  if (after.exists && !(after == before)) DeleteFileW(output.c_str());
  std::string why = shared.log.ErrorText();
  // The paths as the user gave them, without the prefix we added for the engine.
  for (const std::string& path : {request.source, request.output}) {
    std::string prefixed = "file:" + path;
    for (size_t at; (at = why.find(prefixed)) != std::string::npos;)
      why.replace(at, prefixed.size(), path);
  }
  if (code == 0)
    why = "the engine was stopped before it finished\r\n";
  else if (why.empty())
    why = "the engine ended with code " + std::to_string(code) + "\r\n";
  WriteText(STD_ERROR_HANDLE, why);
  return code != 0 ? static_cast<int>(code) : kFailure;
}

}  // namespace

int main() { return Run(); }
