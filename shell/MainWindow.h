#pragma once

#include <windows.h>
// after windows.h
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "convert/ConversionHost.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

// Posted to the main window when an import ends and a start pressed during it waits.
inline constexpr UINT kStartAfterImport = WM_APP + 1;

// The maker's site: the link on the banner opens it.
inline constexpr wchar_t kMakerSiteAddress[] = L"http://www.velmo.example/";
inline constexpr wchar_t kSupportAddress[] = L"support@velmo.example";

// The main window: output folder row, list buttons, the input list, format and resolution,
// the delete-after option and the start button. Read from the layout resource TTNTFORM1.
class TTntForm1 : public ui::TTntForm, public ConversionHost {
  VELMO_DECLARE_CLASS
 public:
  // Reads the layout and runs TntFormCreate; the window is made on first use or Show().
  explicit TTntForm1(ui::TComponent* owner);
  ~TTntForm1() override;

  // Controls of the layout, by their layout names.
  ui::TTntListView* TntListView1 = nullptr;
  ui::TTntComboBox* TntComboBox1 = nullptr;
  ui::TTntEdit* TntEdit1 = nullptr;
  ui::TTntCheckBox* TntCheckBox1 = nullptr;
  ui::TTntBitBtn* TntBitBtn1 = nullptr;
  ui::TTntLabel* TntLabel2 = nullptr;
  ui::TTntSpeedButton* TntSpeedButton2 = nullptr;
  ui::TTntOpenDialog* OpenDialog1 = nullptr;
  ui::TTntPopupMenu* TntPopupMenu1 = nullptr;
  ui::TImageList* ImageList2 = nullptr;
  ui::TTntRadioButton* g[9] = {};  // g[1] .. g[8]

  // The conversion run over the checked entries (shell/MainWindowCover.cpp).
  void cover(const std::string& key);

  // Event handlers of the layout.
  void TntFormCreate();
  void TntFormResize();
  void TntButton1Click();
  void TntButton2Click();
  void TntSpeedButton2Click();
  void TntBitBtn1Click();
  void TntBitBtn5Click();
  void TntBitBtn6Click();
  void TntBitBtn7Click();
  void TntBitBtn8Click();
  void TntBitBtn9Click();
  void RadioClick(int index);
  // Files dropped from the shell (WM_DROPFILES).
  void WMDropFiles(HDROP drop);
  void SetDefaultOutputFolder();
  // Adds one imported file, as the open dialog returned it.
  void ImportFile(const std::wstring& path);

  // The format key of the checked radio button (g1, g2, g3, g6, g4, g5, g7, g8: the last
  // checked one wins); empty when none is checked.
  std::string CheckedFormatKey() const;

  // Message boxes of the window go through here (owner: this window).
  int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) override;

  // ConversionHost; an entry's id lives in its item data.
  std::vector<EntryState> Entries() const override;
  std::optional<int> EntryIndex(EntryId id) const override;
  std::optional<std::wstring> EntryPath(EntryId id) const override;
  void SetEntryIcon(EntryId id, int icon) override;
  void RemoveEntry(EntryId id) override;
  std::wstring ResolutionText() const override;
  std::wstring OutputFolderText() const override;
  bool DeleteAfterConversion() const override;
  void EnableStartButton(bool enabled) override;
  std::wstring ApplicationTitle() const override;
  void OpenInShell(const std::wstring& path) override;
  bool FlashIfInBackground() override;

 protected:
  ui::TNotifyEvent MethodAddress(std::wstring_view name) override;
  void WndProc(ui::TMessage& message) override;

 private:
  template <typename T>
  T* Find(const wchar_t* name);
  // An import or a drop under way. A start pressed meanwhile (its pumps deliver the press)
  // waits for its end: the run must neither work inside it, with the list's redraw off, nor
  // miss the entries still to come.
  class ImportScope {
   public:
    explicit ImportScope(TTntForm1& form);
    ~ImportScope();
    ImportScope(const ImportScope&) = delete;
    ImportScope& operator=(const ImportScope&) = delete;

   private:
    TTntForm1& form_;
  };
  int importing_ = 0;
  std::optional<std::string> pendingStart_;  // the format key of a start that waits
  // Appends an entry: caption, format (may be empty), path; checked, icon 0.
  void AddEntry(const std::wstring& caption, const std::wstring& format, const std::wstring& path);
  EntryId nextEntryId_ = 1;
};
