#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/SkinReader.h"
#include "skin/data/SkinRecords.h"
#include "ui/Bitmap.h"
#include "ui/Component.h"
#include "ui/GdiObject.h"

enum TSkinControlType {
  xcMainMenu,
  xcPopupMenu,
  xcMenuItem,
  xcToolbar,
  xcControlbar,
  xcCombo,
  xcCheckBox,
  xcRadioButton,
  xcProgress,
  xcScrollbar,
  xcEdit,
  xcButton,
  xcBitBtn,
  xcSpeedButton,
  xcSpin,
  xcPanel,
  xcGroupBox,
  xcStatusBar,
  xcTab,
  xcTrackBar,
  xcSystemMenu,
  xcFastReport
};
enum TSkinOption {
  xoMDIScrollbar,
  xoMenuMerge,
  xoTransparent,
  xoPreview,
  xoParentBackGround,
  xoNoFocusRect,
  xoToolbarBK,
  xoToolbarButton,
  xoMDIChildBorder,
  xoMenuBG,
  xoFormScrollbar
};
enum class TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

// Sets as bit masks, bit n for the member of ordinal n (3 bytes and 2 bytes when streamed).
using TSkinControlTypes = std::uint32_t;
using TSkinOptions = std::uint32_t;
constexpr std::uint32_t Bit(int member) { return 1u << member; }

// The non-visual component a form carries to be skinned: it holds the stored skin (or loads
// a skin file), parses it into the records every painter reads, carries the settings the
// skinners follow, and switches skinning on and off through the control manager.
class TSkinData : public ui::TComponent {
  VELMO_DECLARE_CLASS
 public:
  static constexpr const wchar_t* kVersion = L"4.94.12.01";
  static constexpr const wchar_t* kOlderSkinMessage =
      L"This is Older Skin File\rPlease update to new version !";

  using FormSkinEvent =
      std::function<void(TSkinData& sender, const std::wstring& className, bool& doSkin)>;
  using SkinControlEvent = std::function<void(
      ui::TComponent& sender, TSkinData& skinData, ui::TComponent* form, ui::TComponent* control,
      const std::wstring& controlClass, ui::TComponent*& skinnedControl)>;
  using SkinFormEvent =
      std::function<void(TSkinData& sender, HWND window, const std::wstring& className)>;

  // Lets the form reader create TSkinData objects of a layout; call once at start-up.
  static void RegisterClass();

  explicit TSkinData(ui::TComponent* owner);
  ~TSkinData() override;

  // Published properties.
  bool Active() const { return active_; }
  void SetActive(bool value);
  int DisableTag() const { return disableTag_; }
  void SetDisableTag(int value) { disableTag_ = value; }
  TSkinControlTypes SkinControls() const { return skinControls_; }
  void SetSkinControls(TSkinControlTypes value) { skinControls_ = value & 0x3FFFFF; }
  TSkinOptions Options() const { return options_; }
  void SetOptions(TSkinOptions value) { options_ = value & 0x7FF; }
  std::vector<std::wstring> Skin3rd() const { return skin3rd_; }
  void SetSkin3rd(const std::vector<std::wstring>& lines) { skin3rd_ = lines; }
  std::wstring SkinFile() const { return skinFile_; }
  void SetSkinFile(const std::wstring& name);
  std::wstring SkinStore() const { return L"(none)"; }  // a design-time indicator
  void SetSkinStore(const std::wstring&) {}
  TSkinFormType SkinFormtype() const { return formType_; }
  void SetSkinFormtype(TSkinFormType value) { formType_ = value; }
  std::wstring Version() const { return kVersion; }
  void SetVersion(const std::wstring&) {}
  bool MenuUpdate() const { return menuUpdate_; }
  void SetMenuUpdate(bool value) { menuUpdate_ = value; }
  bool MenuMerge() const { return menuMerge_; }
  void SetMenuMerge(bool value) { menuMerge_ = value; }

  FormSkinEvent OnFormSkin;
  ui::TNotifyEvent OnSkinChanged;
  SkinControlEvent OnSkinControl;
  SkinFormEvent OnBeforeSkinForm, OnAfterSkinForm;

  // The binary property SkinStream: u32 length, then the stored skin stream.
  void ReadSkinStream(std::span<const std::uint8_t> payload);
  std::vector<std::uint8_t> WriteSkinStream() const;
  const std::vector<std::uint8_t>& StoredSkin() const { return stored_; }

  bool LoadSkin();
  void ApplySkinChange();
  void AllowForm(HWND window, const std::wstring& className, bool& doSkin);
  void SkinChanged();
  void Loaded() override;

  bool SkinParsed() const { return !noSkinParsed_; }
  const SkinRecords& Records() const { return records_; }
  HWND LastAskedWindow() const { return lastAsked_; }
  HFONT CaptionFont() const { return captionFont_.get(); }
  const ui::Bitmap& AppIcon() const { return appIcon_; }
  HIMAGELIST MenuGlyphs() const { return menuGlyphs_.get(); }
  SIZE MaximizedSize() const { return maximized_; }

  // How the older-skin message reaches the user; tests replace it.
  static std::function<void(const wchar_t* text)>& OlderSkinNotice();
  static std::vector<std::wstring> DefaultSkin3rd();

 private:
  void CaptureAppIcon();

  bool active_ = false;
  int disableTag_ = 99;
  TSkinControlTypes skinControls_;
  TSkinOptions options_ = Bit(xoPreview) | Bit(xoToolbarBK);
  std::vector<std::wstring> skin3rd_;
  std::wstring skinFile_;
  TSkinFormType formType_ = TSkinFormType::sfMainform;
  bool menuUpdate_ = true;
  bool menuMerge_ = false;

  std::vector<std::uint8_t> stored_;
  bool noSkinParsed_ = true;
  HWND lastAsked_ = nullptr;
  SkinRecords records_;
  ui::GdiObject<HFONT> captionFont_;
  ui::Bitmap appIcon_;
  struct ImageListDeleter {
    void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
  };
  std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter> menuGlyphs_;
  SIZE maximized_{};
  bool registered_ = false;
};
