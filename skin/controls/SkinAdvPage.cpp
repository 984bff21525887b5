#include "skin/controls/SkinAdvPage.h"

#include "skin/controls/PropertyAccess.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "ui/BitmapImage.h"

VELMO_NAMED_CLASS_INFO(TSkinAdvPage, TSkinControl)

namespace {

constexpr const wchar_t* kNormal = L"TabBackGround";
constexpr const wchar_t* kActive = L"TabBackGroundActive";
constexpr int kTabFrames = 5;

ui::TBitmapImage* Picture(ui::TPersistent* control, const wchar_t* name) {
  return dynamic_cast<ui::TBitmapImage*>(skin::ObjectProperty(control, name));
}

// One frame of a strip, cut out.
ui::Bitmap Frame(const ui::Bitmap& strip, int count, int frame) {
  const RECT r = skin::FrameRect(strip, {count, frame, false});
  ui::Bitmap out(r.right - r.left, r.bottom - r.top);
  ui::Bitmap::Canvas to(out), from(strip);
  BitBlt(to.dc(), 0, 0, out.Width(), out.Height(), from.dc(), r.left, r.top, SRCCOPY);
  return out;
}

}  // namespace

TSkinAdvPage::TSkinAdvPage(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinAdvPage::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                 HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  ui::TControl* control = FrameworkControl();
  ui::TBitmapImage* normal = Picture(control, kNormal);
  ui::TBitmapImage* active = Picture(control, kActive);
  if (!normal || !active) return;
  oldNormal_ = normal->Image().Clone();
  oldActive_ = active->Image().Clone();
  saved_ = true;
  Apply();
}

void TSkinAdvPage::Apply() {
  const TDataSkinBorder* tabs = Records() ? Records()->Tabs.get() : nullptr;
  ui::TControl* control = FrameworkControl();
  ui::TBitmapImage* normal = Picture(control, kNormal);
  ui::TBitmapImage* active = Picture(control, kActive);
  if (!HasImage(tabs) || !normal || !active) return;
  normal->Assign(Frame(tabs->Bitmap, kTabFrames, 1));
  active->Assign(Frame(tabs->Bitmap, kTabFrames, 2));
  Repaint();
}

void TSkinAdvPage::RestoreControl() {
  ui::TControl* control = FrameworkControl();
  if (saved_ && control && !control->Destroying()) {
    for (auto [name, old] : {std::pair{kNormal, &oldNormal_}, std::pair{kActive, &oldActive_}}) {
      ui::TBitmapImage* picture = Picture(control, name);
      if (!picture) continue;
      if (old->Empty())
        picture->Clear();
      else
        picture->Assign(*old);
    }
    saved_ = false;
    control->Invalidate();
  }
  TSkinControl::RestoreControl();
}

void TSkinAdvPage::SkinChanged() {
  if (saved_) Apply();
  TSkinControl::SkinChanged();
}

// The control draws its tabs from the pictures it was given.
void TSkinAdvPage::DrawSkin(HDC, const RECT&) {}
