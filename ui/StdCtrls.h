#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/BitmapImage.h"
#include "ui/Control.h"

// The standard windowed controls over the Win32 classes EDIT, BUTTON and COMBOBOX.

namespace ui {

class TImageList;

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle { bsNone, bsSingle };

class TCustomEdit : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;

 private:
  bool readOnly_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};
VELMO_NAMED_CLASS(TEdit, TCustomEdit)
VELMO_NAMED_CLASS(TTntEdit, TEdit)

class TButtonControl : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TButtonControl(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
};

class TButton : public TButtonControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TButton(TComponent* owner);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool default_ = false;
  bool cancel_ = false;
};
VELMO_NAMED_CLASS(TTntButton, TButton)

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum class TBitBtnKind {
  bkCustom,
  bkOK,
  bkCancel,
  bkHelp,
  bkYes,
  bkNo,
  bkClose,
  bkAbort,
  bkRetry,
  bkIgnore,
  bkAll
};

// Draws a glyph and a caption the way bitmap and speed buttons lay them out.
struct TGlyphLayout {
  const TBitmapImage* glyph = nullptr;
  int numGlyphs = 1;
  int glyphIndex = 0;  // 0 up, 1 disabled, 2 down, 3 exclusive (when there are that many)
  TButtonLayout layout = TButtonLayout::blGlyphLeft;
  int margin = -1;
  int spacing = 4;
};
void DrawButtonFace(HDC dc, const RECT& area, const std::wstring& caption, const TFont& font,
                    bool enabled, const TGlyphLayout& glyph, int offset);

// A push button with a glyph (owner-drawn, so that its text takes the font's colour).
class TBitBtn : public TButton {
  VELMO_DECLARE_CLASS
 public:
  explicit TBitBtn(TComponent* owner);
  TBitmapImage* Glyph() const { return glyph_.get(); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind v) { kind_ = v; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& item);

  std::unique_ptr<TBitmapImage> glyph_;
  int numGlyphs_ = 1;
  int margin_ = -1;
  int spacing_ = 4;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  TBitBtnKind kind_ = TBitBtnKind::bkCustom;
  TImageList* images_ = nullptr;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
};
VELMO_NAMED_CLASS(TTntBitBtn, TBitBtn)

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomCheckBox(TComponent* owner);
  bool Checked() const { return State() == TCheckBoxState::cbChecked; }
  void SetChecked(bool v) { SetState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
  TCheckBoxState State() const;
  void SetState(TCheckBoxState v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWindow() override;
  void SaveWindowState() override;
  void WndProc(TMessage& message) override;

 private:
  TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
  TAlignment alignment_ = TAlignment::taRightJustify;
};
VELMO_NAMED_CLASS(TCheckBox, TCustomCheckBox)
VELMO_NAMED_CLASS(TTntCheckBox, TCheckBox)

// Checking a radio button unchecks its siblings and raises OnClick.
class TRadioButton : public TButtonControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TRadioButton(TComponent* owner);
  bool Checked() const;
  void SetChecked(bool v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWindow() override;
  void WndProc(TMessage& message) override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = TAlignment::taRightJustify;
};
VELMO_NAMED_CLASS(TTntRadioButton, TRadioButton)

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TCustomComboBox : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomComboBox(TComponent* owner);
  std::vector<std::wstring> Items() const { return items_; }
  void SetItems(const std::vector<std::wstring>& items);
  int ItemIndex() const;
  void SetItemIndex(int index);
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int v) { dropDownCount_ = v; }
  void SetBounds(int left, int top, int width, int height) override;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void InitializeWindow() override;
  void SaveWindowState() override;
  void WndProc(TMessage& message) override;

 private:
  std::vector<std::wstring> items_;
  int itemIndex_ = -1;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int dropDownCount_ = 8;
};
VELMO_NAMED_CLASS(TComboBox, TCustomComboBox)
VELMO_NAMED_CLASS(TTntComboBox, TComboBox)

}  // namespace ui
