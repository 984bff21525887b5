#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/Component.h"

namespace ui {

enum TOpenOption : int {
  ofReadOnly = 1 << 0,
  ofOverwritePrompt = 1 << 1,
  ofHideReadOnly = 1 << 2,
  ofNoChangeDir = 1 << 3,
  ofShowHelp = 1 << 4,
  ofNoValidate = 1 << 5,
  ofAllowMultiSelect = 1 << 6,
  ofExtensionDifferent = 1 << 7,
  ofPathMustExist = 1 << 8,
  ofFileMustExist = 1 << 9,
  ofCreatePrompt = 1 << 10,
  ofShareAware = 1 << 11,
  ofNoReadOnlyReturn = 1 << 12,
  ofNoTestFileCreate = 1 << 13,
  ofNoNetworkButton = 1 << 14,
  ofNoLongNames = 1 << 15,
  ofOldStyleDialog = 1 << 16,
  ofNoDereferenceLinks = 1 << 17,
  ofEnableIncludeNotify = 1 << 18,
  ofEnableSizing = 1 << 19,
};

// The system's file-open dialog. Filter is "description|patterns|description|patterns".
class TOpenDialog : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TOpenDialog(TComponent* owner);
  std::wstring Title() const { return title_; }
  void SetTitle(const std::wstring& v) { title_ = v; }
  std::wstring Filter() const { return filter_; }
  void SetFilter(const std::wstring& v) { filter_ = v; }
  int Options() const { return options_; }
  void SetOptions(int v) { options_ = v; }
  std::wstring InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::wstring& v) { initialDir_ = v; }
  std::wstring FileName() const { return files_.empty() ? std::wstring() : files_.front(); }
  // The chosen files, full paths, in the dialog's order.
  const std::vector<std::wstring>& Files() const { return files_; }

  // Shows the dialog; false when the user cancelled.
  bool Execute(HWND owner);

 private:
  std::wstring title_, filter_, initialDir_;
  int options_ = ofHideReadOnly | ofEnableSizing;
  std::vector<std::wstring> files_;
};

VELMO_NAMED_CLASS(TTntOpenDialog, TOpenDialog)

// A message box owned by `owner`; answers the button pressed.
int MessageBoxText(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

// The shell's folder browser; the chosen folder's path, or nothing when cancelled.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& title);

}  // namespace ui
