#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Icons of the list entries (the main window's image list).
enum EntryIcon : int {
  kIconWaiting = 0,
  kIconDone = 1,
  kIconWorking = 2,
  kIconAttention = 3,
  kIconFailed = 4
};

// An entry of the input list keeps its id while it is in the list, whatever is added or
// removed around it; the id of a removed entry is never given again. The run holds on to ids,
// not positions, because the user may edit the list while it converts.
using EntryId = std::uint32_t;

struct EntryState {
  EntryId id;
  bool checked;
};

// What a conversion run reads from and writes to the main window.
class ConversionHost {
 public:
  virtual ~ConversionHost() = default;

  // The input list: entries in list order.
  virtual std::vector<EntryState> Entries() const = 0;
  // The entry's position in the list (0-based); nothing once it has been removed.
  virtual std::optional<int> EntryIndex(EntryId id) const = 0;
  // The path column; nothing when the entry has no such column or has been removed.
  virtual std::optional<std::wstring> EntryPath(EntryId id) const = 0;
  // Both do nothing for an entry that has been removed.
  virtual void SetEntryIcon(EntryId id, int icon) = 0;
  virtual void RemoveEntry(EntryId id) = 0;

  virtual std::wstring ResolutionText() const = 0;
  virtual std::wstring OutputFolderText() const = 0;
  virtual bool DeleteAfterConversion() const = 0;
  virtual void EnableStartButton(bool enabled) = 0;

  // A message box owned by the main window; returns the button pressed (IDOK, IDYES, ...).
  virtual int ShowMessage(const std::wstring& text, const std::wstring& caption,
                          unsigned flags) = 0;
  // The application's title, the caption of the per-entry error message.
  virtual std::wstring ApplicationTitle() const = 0;
  // Opens a folder with the shell on its own thread.
  virtual void OpenInShell(const std::wstring& path) = 0;
  // Before the run's final question: when another program is in the foreground, Windows will
  // not bring the question forward, so the program's taskbar button flashes until the user
  // comes back. True when it flashes.
  virtual bool FlashIfInBackground() { return false; }
};
