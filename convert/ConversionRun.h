#pragma once

#include <functional>
#include <string>
#include <string_view>

class ConversionHost;
class ProgressView;

struct ConversionEnvironment {
  std::string programFolder;  // where the encoders lie (ANSI, no trailing backslash)
  std::string appDataDir;     // the batch file's base folder (ANSI, no trailing backslash)
  // Blocks the user-interface thread without processing messages (the fixed waits).
  std::function<void(unsigned milliseconds)> wait;
};

// Converts every checked entry of the main window's list, one after the other, with progress in
// the progress window, the fallback attempt, delete-after, per-entry error messages and
// cancellation, then offers to open the output folder.
class ConversionRun {
 public:
  ConversionRun(ConversionHost& host, ProgressView& progress, ConversionEnvironment environment);

  // One run for the format key. A press that arrives while a run is still under way (its pumps
  // deliver it) is ignored.
  void Convert(std::string_view key);
  bool Running() const { return running_; }

 private:
  enum class EntryResult { Completed, Failed, Cancelled };
  EntryResult ConvertEntry(int index, std::string_view key);
  void StopEncoders();
  void EndSteps(bool cancelled);
  void ShowEntryError(int index);

  ConversionHost& host_;
  ProgressView& progress_;
  ConversionEnvironment environment_;
  bool running_ = false;
  std::string lastOutputPath_;
};
