#include "skin/controls/SkinCheckBox.h"

#include <algorithm>

#include "skin/controls/OffscreenFace.h"
#include "skin/controls/PropertyAccess.h"
#include "skin/data/SkinData.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinCheckBox, TSkinControl)

namespace {

constexpr int kTransparentTag = 5555;
// Framework notifications after which the box is drawn again: the focus leaving the control,
// and a state change that other libraries' check boxes announce.
constexpr UINT kFocusLeaving = ui::CM_BASE + 0x1B;
constexpr UINT kStateNotice = ui::CM_BASE + 0xD0;

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

}  // namespace

TSkinCheckBox::TSkinCheckBox(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinCheckBox::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                  HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  ui::TControl* control = FrameworkControl();
  parentBackground_ = (control && control->Tag() == kTransparentTag) || HasOption(xoTransparent);
  ChooseMode();
  Repaint();
}

void TSkinCheckBox::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) {
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  parentBackground_ = HasOption(xoTransparent);
  ChooseMode();
}

void TSkinCheckBox::ChooseMode() {
  const ui::Bitmap* image = BoxImage();
  mode_ = image && !image->Empty() ? 1 : 0;
}

const ui::Bitmap* TSkinCheckBox::BoxImage() const {
  return Records() && Records()->Buttons ? &Records()->Buttons->CheckBitmap : nullptr;
}

int TSkinCheckBox::FrameCount() const {
  return Records() && Records()->Buttons ? Records()->Buttons->CheckButtonFrame : 1;
}

int TSkinCheckBox::CheckFrame(int frameCount, int basic, bool indeterminate, bool disabled) {
  const int frame = indeterminate ? 4 : basic + (disabled ? 2 : 0);
  if (frameCount != 12) return frame;
  if (indeterminate) return disabled ? 12 : 9;
  return GroupedFrame(frame);
}

int TSkinCheckBox::GroupedFrame(int basic) {
  switch (basic) {
    case 2:
      return 5;
    case 3:
      return 4;
    case 4:
      return 8;
    default:
      return basic;
  }
}

int TSkinCheckBox::PublishedState() const {
  const ui::TControl* control = FrameworkControl();
  if (!control) return 0;
  if (control->HasProperty(L"State")) {
    const std::wstring state = ui::LowerCase(skin::EnumProperty(control, L"State"));
    if (Contains(state, L"uncheck")) return 1;
    if (Contains(state, L"check")) return 2;
    if (Contains(state, L"gray")) return 4;
    return 0;
  }
  // An unchecked box is the normal frame, not the disabled one.
  if (control->HasProperty(L"Checked")) return skin::BoolProperty(control, L"Checked") ? 2 : 1;
  return 0;
}

int TSkinCheckBox::BoxFrame() const {
  const LRESULT state = SendMessageW(WindowHandle(), BM_GETSTATE, 0, 0);
  int basic = (state & 3) == BST_CHECKED ? 2 : 1;
  if (const ui::TControl* control = FrameworkControl()) {
    if (int published = PublishedState()) basic = published;
    // Data-aware boxes show what was last set on the window.
    if (control->HasProperty(L"DataField") && lastState_ > 0)
      basic = lastState_ == 3 ? 4 : lastState_;
    if (control->HasProperty(L"DataBinding")) basic = 1;
  }
  const bool indeterminate = (state & BST_INDETERMINATE) != 0 || basic == 4;
  return CheckFrame(FrameCount(), basic, indeterminate, !enabled_);
}

bool TSkinCheckBox::BeforeMessage(ui::TMessage& m) {
  // The strip is read where it lives: a new skin's records may come before the wrappers'
  // refresh, and a box whose strip went must still be drawn (by the system) meanwhile.
  if (m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT || m.Msg == WM_ERASEBKGND) ChooseMode();
  switch (m.Msg) {
    case WM_PAINT:
      if (mode_ != 1) break;
      PaintNow(m);
      return false;
    case WM_PRINTCLIENT:
      if (mode_ != 1) break;
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      return false;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      RECT r;
      GetClientRect(WindowHandle(), &r);
      if (parentBackground_ && mode_ != 1) {
        if (FrameworkControl())
          PaintParentBackground(dc, r);
        else
          FillParentColour(dc, r);
      } else if (mode_ != 1) {
        break;
      }
      // In mode 1 the paint covers everything.
      m.Result = 1;
      return false;
    }
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinCheckBox::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case BM_SETCHECK:
      lastState_ = static_cast<int>(m.WParam) + 1;
      Repaint();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case kFocusLeaving:
    case kStateNotice:
    // The system draws the box itself on these; ours goes back on top.
    case BM_SETSTATE:
    case WM_UPDATEUISTATE:
    case WM_KEYUP:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinCheckBox::SkinChanged() {
  ChooseMode();
  TSkinControl::SkinChanged();
}

void TSkinCheckBox::DrawSkin(HDC dc, const RECT& rect) {
  const ui::Bitmap* image = BoxImage();
  if (mode_ != 1 || !image || image->Empty()) return;
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  RefreshState();
  const int width = face.Width(), height = face.Height();
  HDC target = face.dc();
  if (parentBackground_)
    PaintParentBackground(target, face.Local());
  else
    FillFace(target, face.Local());

  const int frames = std::max(1, FrameCount());
  const int boxWidth = image->Width() / frames, boxHeight = image->Height();
  const bool leftText = (GetWindowLongW(WindowHandle(), GWL_STYLE) & BS_LEFTTEXT) != 0;
  const int top = (height - boxHeight) / 2;
  const RECT box = leftText ? RECT{width - boxWidth, top, width, top + boxHeight}
                            : RECT{0, top, boxWidth, top + boxHeight};
  DrawStripFrame(target, box, frames, BoxFrame(), *image);

  const RECT area =
      leftText ? RECT{0, 0, box.left - 2, height} : RECT{box.right + 2, 0, width, height};
  const std::wstring caption = CaptionLines(caption_);
  ui::SelectObjectGuard font(target, ControlFont());
  UINT flags = DT_WORDBREAK | DT_EXPANDTABS | (leftText ? DT_RIGHT : DT_LEFT);
  if (leftText && RightToLeft()) flags |= DT_RTLREADING;
  if (focused_ && !caption.empty()) DrawTextFocus(target, flags | DT_VCENTER, area);
  RECT text = area;
  DrawTextW(target, caption.c_str(), -1, &text, flags | DT_CALCRECT);
  const int textHeight = text.bottom - text.top;
  text = area;
  text.top += ((area.bottom - area.top) - textHeight) / 2 - 1;
  text.bottom = text.top + textHeight;
  SetBkMode(target, TRANSPARENT);
  SetTextColor(target, enabled_ ? FontColour() : ShadowColour());
  DrawTextW(target, caption.c_str(), -1, &text, flags | DT_NOCLIP);
  face.CopyTo(dc);
}
