#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "convert/ConversionHost.h"

class ProgressView;

struct ConversionEnvironment {
  std::wstring programFolder;  // where the encoders lie (no trailing backslash)
  std::wstring appDataDir;     // the batch file's base folder (no trailing backslash)
  // Blocks the user-interface thread without processing messages (the fixed waits).
  std::function<void(unsigned milliseconds)> wait;
  // The short form of a path, empty when there is none (ShortPathOf by default).
  std::function<std::wstring(const std::wstring&)> shortPath;
};

// Converts every checked entry of the main window's list, one after the other, with progress in
// the progress window, the fallback attempt, delete-after, per-entry error messages and
// cancellation, then offers to open the output folder.
//
// The list stays editable during a run. The run takes the next entry when it is ready for one:
// the first checked entry in list order that it has not taken yet, so entries added or checked
// while it runs are converted too, and an entry removed or unchecked before its turn is not.
// An entry removed while it is being converted is abandoned: its encoder is stopped and its
// unfinished output removed.
//
// Deliberate choices: only entries whose source was deleted leave the list at the end (after a
// cancel too); failed entries stay with their icon. A failed encoder is reported with the
// entry-error box. The run creates the batch file's folder; an entry never fails over that record
// (a scanner may hold the fresh file). Only the program's own encoders are
// stopped. A file with another extension keeps its path and converts. A cancel that lands after
// the encoder's report but before it ended may count the entry as cancelled; its source is kept.
// The resolution and the output folder are read for each entry. A run whose every entry left the
// list ends like a cancelled one; closing the program ends a run as a cancel does. An output
// folder that is not a full path is an entry error: nothing is written outside it, and a
// relative one would resolve against the encoders' working folder, the program's own.
// Paths stay wide; the encoders get each path in the ANSI code page, by its short name, or,
// where neither exists, on a command line started with the wide call (EncoderPaths.h).
class ConversionRun {
 public:
  ConversionRun(ConversionHost& host, ProgressView& progress, ConversionEnvironment environment);

  // One run for the format key. A press that arrives while a run is still under way (its pumps
  // deliver it) is ignored.
  void Convert(std::string_view key);
  bool Running() const { return running_; }

 private:
  enum class EntryResult { Completed, Cancelled, Abandoned };
  // The entry being converted, until it completed or its unfinished output was dealt with.
  struct Current {
    EntryId id;
    std::wstring output;  // where its encoder writes
    bool outputExisted;   // a file lay there before: it is never removed then
  };

  std::optional<EntryId> NextEntry() const;
  void UpdateTotalMax();
  EntryResult ConvertEntry(EntryId id, std::string_view key);
  void RemoveUnfinishedOutput();
  static bool Ending();  // cancelled, or the program is ending
  void StopEncoders();
  void EndSteps(bool cancelled);
  void ShowEntryError(EntryId id, int indexAtStart);

  ConversionHost& host_;
  ProgressView& progress_;
  ConversionEnvironment environment_;
  bool running_ = false;

  // Per run.
  std::string resolution_;  // the resolution box's text as the command line takes it
  std::set<EntryId> taken_;
  std::optional<Current> current_;
  std::vector<EntryId> sourcesDeleted_;
  // Outputs completed in this run, by full path in upper case, with their sources: another
  // source must not write over one.
  std::map<std::wstring, std::wstring> outputsMade_;
  std::set<std::wstring> foldersMade_;  // output folders created, by PathKey
  std::wstring lastFolder_;             // the output folder of the last completed entry
  int concluded_ = 0;                   // entries that completed or failed
};
