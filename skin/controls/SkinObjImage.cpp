#include "skin/controls/SkinObjImage.h"

#include <vector>

#include "skin/controls/PropertyAccess.h"
#include "skin/data/SkinData.h"
#include "ui/BitmapImage.h"

VELMO_NAMED_CLASS_INFO(TSkinObjImage, TSkinControl)

namespace {

// Magenta as the controls read a colour: decimal text.
const std::wstring kKeyText = std::to_wstring(RGB(255, 0, 255));

ui::TBitmapImage* Picture(ui::TPersistent* holder, const wchar_t* name) {
  return dynamic_cast<ui::TBitmapImage*>(skin::ObjectProperty(holder, name));
}

}  // namespace

TSkinObjImage::TSkinObjImage(ui::TComponent* owner) : TSkinControl(owner) {}

ui::TPersistent* TSkinObjImage::Holder() const {
  ui::TControl* control = FrameworkControl();
  if (mode_ == kGroupedCheckBox)
    if (ui::TPersistent* properties = skin::ObjectProperty(control, L"Properties"))
      return properties;
  return control;
}

const wchar_t* TSkinObjImage::GlyphProperty() const {
  return mode_ == kGroupedCheckBox ? L"Glyph" : L"CustomGlyphs";
}

ui::Bitmap TSkinObjImage::Glyphs() const {
  const TDataSkinButton* buttons = Records() ? Records()->Buttons.get() : nullptr;
  if (!buttons) return {};
  const bool radio = mode_ == kRadioButton;
  const ui::Bitmap& strip = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
  const int count = radio ? buttons->RadioButtonFrame : buttons->CheckButtonFrame;
  if (strip.Empty() || count < 1) return {};
  // The basic frames in the strips' own layouts; any other strip is taken whole.
  std::vector<int> frames;
  if (!radio && count == 12)
    frames = {1, 5, 9, 4, 8, 12};
  else if (radio && count == 8)
    frames = {1, 5, 4, 8};
  else
    return strip.Clone();
  const int width = strip.Width() / count, height = strip.Height();
  ui::Bitmap glyphs(width * static_cast<int>(frames.size()), height);
  ui::Bitmap::Canvas to(glyphs), from(strip);
  for (size_t i = 0; i < frames.size(); ++i)
    BitBlt(to.dc(), static_cast<int>(i) * width, 0, width, height, from.dc(),
           (frames[i] - 1) * width, 0, SRCCOPY);
  return glyphs;
}

void TSkinObjImage::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                  HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  ui::TPersistent* holder = Holder();
  ui::TBitmapImage* picture = Picture(holder, GlyphProperty());
  if (!picture) return;
  oldGlyphs_ = picture->Image().Clone();
  oldTransparent_ = holder->GetPropText(L"TransparentColor").value_or(L"");
  oldUse_ = holder->GetPropText(L"UseCustomGlyphs").value_or(L"");
  saved_ = true;
  Apply();
}

void TSkinObjImage::Apply() {
  ui::TPersistent* holder = Holder();
  ui::TBitmapImage* picture = Picture(holder, GlyphProperty());
  const ui::Bitmap glyphs = Glyphs();
  if (!picture || glyphs.Empty()) return;
  picture->Assign(glyphs);
  skin::WriteProperty(holder, L"TransparentColor", kKeyText);
  // Switching custom glyphs off and on makes the control take the new ones.
  skin::WriteProperty(holder, L"UseCustomGlyphs", L"false");
  skin::WriteProperty(holder, L"UseCustomGlyphs", L"true");
  Repaint();
}

void TSkinObjImage::RestoreControl() {
  ui::TControl* control = FrameworkControl();
  if (saved_ && control && !control->Destroying()) {
    ui::TPersistent* holder = Holder();
    if (ui::TBitmapImage* picture = Picture(holder, GlyphProperty())) {
      if (oldGlyphs_.Empty())
        picture->Clear();
      else
        picture->Assign(oldGlyphs_);
    }
    if (!oldTransparent_.empty()) skin::WriteProperty(holder, L"TransparentColor", oldTransparent_);
    skin::WriteProperty(holder, L"UseCustomGlyphs", L"false");
    if (!oldUse_.empty()) skin::WriteProperty(holder, L"UseCustomGlyphs", oldUse_);
    saved_ = false;
  }
  TSkinControl::RestoreControl();
}

void TSkinObjImage::SkinChanged() {
  if (saved_) Apply();
  TSkinControl::SkinChanged();
}
