#include "skin/controls/SkinTab31.h"

#include "skin/controls/OffscreenFace.h"
#include "skin/controls/PropertyAccess.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinTab31, TSkinFaceControl)

namespace {

constexpr int kTabFrames = 5;
constexpr int kDefaultStart = 5;
constexpr int kTextPadding = 8;

}  // namespace

TSkinTab31::TSkinTab31(ui::TComponent* owner) : TSkinFaceControl(owner) {}

void TSkinTab31::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                               HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  MakeImage();
  Repaint();
}

void TSkinTab31::SkinChanged() {
  MakeImage();
  TSkinControl::SkinChanged();
}

void TSkinTab31::MakeImage() {
  tabs_.Reset();
  const TDataSkinBorder* record = Records() ? Records()->Tabs.get() : nullptr;
  if (!HasImage(record)) return;
  tabs_ = record->Bitmap.Clone();
  skin::FlipVertical(tabs_);
  tile_ = record->Tile != 0;
  trans_ = record->Trans != 0;
  normalText_ = skin::ResolveColour(record->NormalColour2);
  currentText_ = skin::ResolveColour(record->MouseOverColour2);
  margins_ = {record->Margins.left, record->Margins.bottom, record->Margins.right,
              record->Margins.top};
}

bool TSkinTab31::DrawsFace() const { return !tabs_.Empty(); }

void TSkinTab31::DrawSkin(HDC dc, const RECT& rect) {
  if (tabs_.Empty()) return;
  const ui::TControl* control = FrameworkControl();
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  HDC target = face.dc();
  FillFace(target, face.Local());
  ui::SelectObjectGuard font(target, ControlFont());
  SetBkMode(target, TRANSPARENT);
  const std::vector<std::wstring> names =
      control ? control->GetPropStrings(L"Tabs") : std::vector<std::wstring>{};
  const int current = skin::IntProperty(control, L"TabIndex");
  int x = skin::IntProperty(control, L"StartMargin");
  if (x < 0) x = kDefaultStart;
  tabRects_.clear();
  for (size_t i = 0; i < names.size(); ++i) {
    SIZE extent{};
    GetTextExtentPoint32W(target, names[i].c_str(), static_cast<int>(names[i].size()), &extent);
    const RECT r{x, 0, x + extent.cx + 2 * kTextPadding, face.Height() - 1};
    const bool selected = static_cast<int>(i) == current;
    skin::DrawElement(target, r,
                      {&tabs_, margins_, {kTabFrames, selected ? 2 : 1, false}, tile_, trans_});
    SetTextColor(target, selected ? currentText_ : normalText_);
    RECT text = r;
    DrawTextW(target, names[i].c_str(), -1, &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    tabRects_.push_back(r);
    x = r.right;
  }
  face.CopyTo(dc);
}
