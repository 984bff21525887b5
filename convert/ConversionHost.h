#pragma once

#include <optional>
#include <string>

// Icons of the list entries (the main window's image list).
enum EntryIcon : int { kIconWaiting = 0, kIconDone = 1, kIconWorking = 2, kIconAttention = 3, kIconFailed = 4 };

// What a conversion run reads from and writes to the main window.
class ConversionHost {
 public:
  virtual ~ConversionHost() = default;

  // The input list: entries in list order.
  virtual int EntryCount() const = 0;
  virtual bool EntryChecked(int index) const = 0;
  // The path column; nothing when the entry has no such column.
  virtual std::optional<std::wstring> EntryPath(int index) const = 0;
  virtual void SetEntryIcon(int index, int icon) = 0;
  virtual void RemoveEntry(int index) = 0;

  virtual std::wstring ResolutionText() const = 0;
  virtual std::wstring OutputFolderText() const = 0;
  virtual bool DeleteAfterConversion() const = 0;
  virtual void EnableStartButton(bool enabled) = 0;

  // A message box owned by the main window; returns the button pressed (IDOK, IDYES, ...).
  virtual int ShowMessage(const std::wstring& text, const std::wstring& caption,
                          unsigned flags) = 0;
  // The application's title, the caption of the per-entry error message.
  virtual std::wstring ApplicationTitle() const = 0;
  // Opens a folder with the shell on its own thread (ANSI path).
  virtual void OpenInShell(const std::string& path) = 0;
};
