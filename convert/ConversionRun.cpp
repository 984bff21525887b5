#include "convert/ConversionRun.h"

#include <windows.h>
// after windows.h
#include <shlobj.h>

#include <stdexcept>

#include "convert/BatchFile.h"
#include "convert/CancelRequest.h"
#include "convert/CommandLine.h"
#include "convert/EncoderPaths.h"
#include "convert/EncoderProcesses.h"
#include "convert/EncoderRunner.h"
#include "convert/FormatTable.h"
#include "convert/ProgressView.h"
#include "ui/CodePage.h"
#include "ui/MessagePump.h"
#include "ui/UniqueHandle.h"

namespace {

// An entry that cannot be converted; the run reports it and goes on with the next entry.
class EntryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The resolution box's item that keeps the source's picture size.
constexpr wchar_t kKeepResolutionText[] = L"原始分辨率";

std::string ToAnsi(const std::wstring& text) { return ui::WideToAnsi(text, CP_ACP); }

bool IsFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsNonEmptyFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

// Both paths name one file (however they are written: long, short, other case).
bool SameFile(const std::wstring& a, const std::wstring& b) {
  auto identity = [](const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    ui::UniqueHandle file(CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file && GetFileInformationByHandle(file.get(), &info);
  };
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  if (!identity(a, ia) || !identity(b, ib)) return false;
  return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

std::wstring PathKey(const std::wstring& path) {
  DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  std::wstring full(length, L'\0');
  full.resize(length ? GetFullPathNameW(path.c_str(), length, full.data(), nullptr) : 0);
  if (full.empty()) full = path;
  CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  return full;
}

// A drive and its root, or a network share: "C:out" is relative to drive C's current folder.
bool IsAbsolute(const std::wstring& path) {
  return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || path.starts_with(L"\\\\");
}

}  // namespace

ConversionRun::ConversionRun(ConversionHost& host, ProgressView& progress,
                             ConversionEnvironment environment)
    : host_(host), progress_(progress), environment_(std::move(environment)) {
  if (!environment_.wait) environment_.wait = [](unsigned ms) { Sleep(ms); };
}

// Closing the main window ends the program: the run ends first, with the effects of a cancel.
bool ConversionRun::Ending() { return IsCancelRequested() || ui::QuitRequested(); }

void ConversionRun::StopEncoders() {
  StopOwnEncoders({"mencoder.exe", "ffmpeg.exe", "ffmpegx.exe"});
}

void ConversionRun::ShowEntryError(EntryId id, int indexAtStart) {
  host_.SetEntryIcon(id, kIconFailed);
  if (Ending()) return;  // nobody would answer it
  int number = host_.EntryIndex(id).value_or(indexAtStart) + 1;
  host_.ShowMessage(L"转换第" + std::to_wstring(number) + L"个文件时出现错误",
                    host_.ApplicationTitle(), MB_OK);
}

std::optional<EntryId> ConversionRun::NextEntry() const {
  for (const EntryState& entry : host_.Entries())
    if (entry.checked && !taken_.contains(entry.id)) return entry.id;
  return std::nullopt;
}

void ConversionRun::UpdateTotalMax() {
  int waiting = 0;
  for (const EntryState& entry : host_.Entries())
    if (entry.checked && !taken_.contains(entry.id)) ++waiting;
  progress_.SetTotalMax(static_cast<int>(taken_.size()) + waiting);
}

void ConversionRun::RemoveUnfinishedOutput() {
  // Only a file this entry's encoder made: one that lay there before is the user's.
  if (current_ && !current_->outputExisted) DeleteFileW(current_->output.c_str());
  current_.reset();
}

ConversionRun::EntryResult ConversionRun::ConvertEntry(EntryId id, std::string_view key) {
  // Every entry starts from an empty bar, whatever the one before it left.
  progress_.SetCurrentPosition(0);
  progress_.SetDetailText(L"");
  std::optional<std::wstring> path = host_.EntryPath(id);
  if (!path) throw EntryError("entry without a path");
  // The settings are read for each entry: the user may change them while the run goes on.
  std::wstring resolution = host_.ResolutionText();
  resolution_ =
      resolution == kKeepResolutionText ? std::string(kKeepResolution) : ToAnsi(resolution);
  std::wstring folder = host_.OutputFolderText();
  // Without a full folder the encoder would write into its working folder, the program's own.
  if (folder.find_first_not_of(L" \t") == std::wstring::npos) throw EntryError("no output folder");
  if (!IsAbsolute(folder)) throw EntryError("output folder not a full path");
  if (foldersMade_.insert(PathKey(folder)).second) {
    std::wstring create = folder;
    while (create.size() > 3 && create.back() == L'\\') create.pop_back();
    SHCreateDirectoryExW(nullptr, create.c_str(), nullptr);
  }
  EncoderPaths paths(environment_.shortPath);
  std::string outputFolder = paths.Path(folder);
  if (folder.ends_with(L'\\') && !outputFolder.ends_with('\\')) outputFolder += '\\';
  std::string source = paths.Path(*path);
  std::string programFolder = paths.Path(environment_.programFolder);
  // The base name comes from the wide path: searched in ANSI bytes, a character's second byte
  // may look like a backslash.
  std::string baseName = RepresentableBaseName(*path);
  CommandLine line =
      BuildCommandLine({key, resolution_, source, outputFolder, programFolder, baseName});
  if (line.text.empty()) throw EntryError("no format");
  std::wstring output = paths.Wide(line.outputPath);
  // Writing over the source would destroy it; writing over another entry's finished output
  // would lose that one.
  if (SameFile(output, *path)) throw EntryError("output is the source");
  if (auto made = outputsMade_.find(PathKey(output));
      made != outputsMade_.end() && made->second != PathKey(*path))
    throw EntryError("output of another entry");
  current_ = Current{id, output, IsFile(output)};

  // Only a record for the user: a file held by a scanner or a missing folder fails nothing.
  WriteBatchFile(environment_.appDataDir, paths.Ansi(line.text));
  progress_.SetStatusText(L"正在转换第" + std::to_wstring(host_.EntryIndex(id).value_or(0) + 1) +
                          L"个文件为" + ui::AnsiToWide(key, CP_ACP) + L"......");
  ui::ProcessMessages();
  progress_.SetDetailText(L"");

  // The watch stops for a cancel, and when the user removes the entry from the list.
  auto stop = [&] { return Ending() || !host_.EntryIndex(id); };
  WatchResult watched;
  if (!stop()) {
    if (key != "avi") {
      watched =
          RunAndWatch(paths.Wide(line.text), SW_HIDE, WatchMode::PrimaryFfmpeg, progress_, stop);
      if (!watched.stopped && progress_.CurrentPosition() == 0) {
        StopEncoders();
        environment_.wait(3000);
        std::string fallback = RewriteForFallback(line.text);
        WriteBatchFile(environment_.appDataDir, paths.Ansi(fallback));
        if (!stop())
          watched = RunAndWatch(paths.Wide(fallback), SW_HIDE, WatchMode::FallbackFfmpeg, progress_,
                                stop);
      }
    } else {
      watched = RunAndWatch(paths.Wide(line.text), SW_HIDE, WatchMode::Mencoder, progress_, stop);
    }
  }
  if (stop()) {
    if (Ending()) return EntryResult::Cancelled;  // the end steps clean up
    StopEncoders();
    environment_.wait(1000);
    RemoveUnfinishedOutput();
    return EntryResult::Abandoned;
  }
  // Only the encoder's own report says that it finished: one ended from outside may exit
  // with 0 too, leaving a partial file.
  if (watched.exitCode != 0 || !watched.endReported || !IsNonEmptyFile(output))
    throw EntryError("encoder failed");

  current_.reset();
  outputsMade_[PathKey(output)] = PathKey(*path);
  lastFolder_ = folder;
  progress_.SetTotalPosition(progress_.TotalPosition() + 1);
  progress_.SetCurrentPosition(0);
  host_.SetEntryIcon(id, kIconDone);
  ui::ProcessMessages();

  if (host_.DeleteAfterConversion() && !Ending()) {
    StopOwnEncoders({"ffmpeg.exe", "mencoder.exe", "ffmpegx.exe"});
    environment_.wait(1000);
    // A cancel that took effect before the deletion keeps the source.
    if (!Ending() && DeleteFileW(path->c_str())) sourcesDeleted_.push_back(id);
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
  taken_.clear();
  current_.reset();
  sourcesDeleted_.clear();
  outputsMade_.clear();
  foldersMade_.clear();
  lastFolder_.clear();
  concluded_ = 0;

  if (!NextEntry()) {
    host_.ShowMessage(L"没有找到可以转换的文件", L"转换", MB_OK | MB_ICONINFORMATION);
    EndSteps(false);
    running_ = false;
    return;
  }

  UpdateTotalMax();
  progress_.SetCurrentPosition(0);
  progress_.SetTotalPosition(0);
  progress_.ShowProgress();
  ui::ProcessMessages();

  while (!Ending()) {
    std::optional<EntryId> id = NextEntry();
    if (!id) break;
    taken_.insert(*id);
    UpdateTotalMax();
    int indexAtStart = host_.EntryIndex(*id).value_or(0);
    try {
      if (ConvertEntry(*id, key) == EntryResult::Completed) ++concluded_;
    } catch (const std::exception&) {
      ++concluded_;
      RemoveUnfinishedOutput();
      ShowEntryError(*id, indexAtStart);
    }
    if (Ending()) break;
    ui::ProcessMessages();
  }

  // A run whose every entry was removed or abandoned has nothing to offer: it ends like a
  // cancelled one. One whose entries failed still asks.
  bool cancelled = Ending() || concluded_ == 0;
  if (cancelled) {
    ui::ProcessMessages();
  } else {
    UpdateTotalMax();
    progress_.SetCurrentPosition(progress_.CurrentMax());
    progress_.SetTotalPosition(progress_.TotalMax());
    host_.FlashIfInBackground();
    int answer = host_.ShowMessage(L"转换已经全部完成.是否立即打开保存转换文件的目录?", L"成功",
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    // The folder the last entry wrote to: the box may have been changed during the run.
    if (answer == IDYES)
      host_.OpenInShell(lastFolder_.empty() ? host_.OutputFolderText() : lastFolder_);
    ui::ProcessMessages();
  }
  EndSteps(cancelled || Ending());

  // Entries whose source is gone leave the list, also after a cancel: they point at nothing.
  // Entries that failed or were not reached stay, so that the user sees what is left to do.
  for (auto id = sourcesDeleted_.rbegin(); id != sourcesDeleted_.rend(); ++id)
    host_.RemoveEntry(*id);
  running_ = false;
}

void ConversionRun::EndSteps(bool cancelled) {
  StopEncoders();
  if (cancelled) {
    environment_.wait(1000);
    // The entry under way when the cancel took effect; an entry that completed is done with.
    RemoveUnfinishedOutput();
  }
  current_.reset();
  progress_.CloseProgress();
  host_.EnableStartButton(true);
}
