#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/doubles/EncoderProcessTree.h"
#include "ui/UniqueHandle.h"

// Drives the real converter from outside, as a user would: it finds windows by class and text,
// clicks buttons, fills the open dialog, reads the list and the bars, answers message boxes.
namespace e2e {

using namespace std::chrono_literals;

// Polls `condition` until it holds or `timeout` passes, pumping this thread's messages.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

// The first descendant of `parent` whose text equals `text` (and whose class contains
// `classPart`, when given).
HWND FindDescendant(HWND parent, const std::wstring& text, const std::wstring& classPart = L"");
// All descendants whose class name contains `classPart`, in window order.
std::vector<HWND> FindDescendants(HWND parent, const std::wstring& classPart);

// A visible top-level window of the process with this class (and title, when given).
HWND FindProcessWindow(DWORD processId, const std::wstring& className,
                       const std::wstring& title = L"");

// Posts a click to a button (it may open a modal window, so the driver does not wait).
void Click(HWND button);

// A message box (or another dialog) that the application shows.
struct MessageBoxView {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
};
std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, std::chrono::milliseconds timeout);
void AnswerMessageBox(const MessageBoxView& box, int buttonId);

class App {
 public:
  // Starts VelmoConvert.exe of `programFolder` and waits for its main window.
  explicit App(const std::filesystem::path& programFolder);
  ~App();

  DWORD ProcessId() const { return processId_; }
  HWND MainWindow() const { return main_; }
  bool Running() const;
  // Closes the main window and waits for the process; kills it when it does not end.
  void Quit();
  // Ends the process at once (TerminateProcess), as a crash or the task manager would.
  void Kill();

  // The user's three ways to close the main window, by real input into the foreground window
  // (the caller waits for what follows). False when the way was not there to take: no close
  // box answers hit testing, or no system menu opened.
  bool ClickCloseBox();
  bool CloseFromSystemMenu();
  void PressAltF4();

  // Imports files through the open dialog (all from one folder).
  void Import(const std::vector<std::filesystem::path>& files);

  HWND ListView() const;
  int EntryCount() const;
  bool EntryChecked(int index) const;
  void SetEntryChecked(int index, bool checked);
  std::wstring EntryText(int index, int column) const;

  HWND Button(const std::wstring& caption) const;
  void ChooseFormat(const std::wstring& radioCaption);
  void SetDeleteAfter(bool on);
  std::wstring OutputFolder() const;

  HWND ProgressWindow() const;
  struct Bar {
    int position = 0;
    int max = 0;
  };
  Bar ProgressBar(int index) const;  // 0: current, 1: total

 private:
  std::vector<char> ReadRemote(const void* address, size_t size) const;

  ui::UniqueHandle process_;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
};

// The folder of this test program and of the built program (build/dist).
std::filesystem::path ProgramFolder();
std::filesystem::path TestFolder();

// Makes a test clip with the engine: testsrc and a sine tone, `seconds` long, FLV.
void MakeClip(const std::filesystem::path& path, int seconds, const wchar_t* size = L"320x240");

// The engine's reading of a file: its format name, the codec of each stream (video streams
// first) and the duration; nothing when the engine cannot read it.
struct ProbeResult {
  std::string format;
  std::vector<std::string> codecs;
  double duration = 0;
};
std::optional<ProbeResult> Probe(const std::filesystem::path& file);

// Processes of ours that are still running under the program folder's names.
std::vector<std::wstring> EncoderProcessesLeft();

}  // namespace e2e
