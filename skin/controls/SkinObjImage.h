#pragma once

#include "skin/controls/SkinControl.h"
#include "ui/Bitmap.h"

// Check boxes and radio buttons of other libraries that draw their own glyphs from a picture
// property: the wrapper hands them pictures cut from the skin's check or radio strip and
// gives their own back when it lets go. Mode 1: a check box with CustomGlyphs; mode 2: a
// radio button with CustomGlyphs; mode 3: a check box whose Glyph lies in its Properties.
class TSkinObjImage : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  enum : int { kCheckBox = 1, kRadioButton = 2, kGroupedCheckBox = 3 };

  explicit TSkinObjImage(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void RestoreControl() override;
  void SkinChanged() override;

  // The glyph strip for a control: the skin's basic frames side by side (check boxes:
  // unchecked, checked, mixed, then each disabled; radio buttons: unchecked, checked, then
  // each disabled).
  ui::Bitmap Glyphs() const;

 private:
  // The object that holds the glyph properties (the control, or its Properties).
  ui::TPersistent* Holder() const;
  const wchar_t* GlyphProperty() const;
  // Gives the control the skin's glyphs and makes it take them.
  void Apply();

  bool saved_ = false;
  ui::Bitmap oldGlyphs_;
  std::wstring oldTransparent_;
  std::wstring oldUse_;
};
