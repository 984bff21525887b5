#include "skin/controls/SkinButton.h"

#include <cwctype>

#include "skin/controls/PropertyAccess.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinButton, TSkinControl)

namespace {

constexpr int kTransparentTag = 5555;

std::wstring LowerClassName(HWND window) { return ui::LowerCase(ui::WindowClassName(window)); }

}  // namespace

TSkinButton::TSkinButton(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinButton::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  ui::TControl* control = FrameworkControl();
  if (!control) return;
  std::wstring name = control->ClassName();
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  // Those classes handle their own presses.
  if (name.rfind(L"trz", 0) == 0 || name.rfind(L"tel", 0) == 0) mode_ = 1;
  parentBackground_ = control->Tag() == kTransparentTag || HasOption(xoTransparent);
}

void TSkinButton::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) {
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  parentBackground_ = HasOption(xoTransparent);
}

const TDataSkinButton* TSkinButton::ButtonsRecord() const {
  return Records() ? Records()->Buttons.get() : nullptr;
}

bool TSkinButton::BeforeMessage(ui::TMessage& m) {
  // Without a button image the button keeps its own look.
  const bool image = HasImage(ButtonsRecord());
  switch (m.Msg) {
    case WM_PAINT:
      if (!image) break;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!image) break;
      m.Result = 1;
      return false;
    case ui::CN_DRAWITEM:
      // An owner-drawn button asks for its face whenever the system would draw it.
      if (!image) break;
      PaintWindow(reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->hDC);
      m.Result = TRUE;
      return false;
    case WM_TIMER:
      KillTimer(WindowHandle(), 1);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Without the image the system button shows its own press.
      if (!image) break;
      if (GetFocus() != WindowHandle()) SetFocus(WindowHandle());
      state_ |= kPressed;
      PaintWindow(nullptr);
      if (mode_ == 0 && FrameworkControl()) ForwardMouseDown(m);
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinButton::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_SETTEXT:
      PaintWindow(nullptr);
      break;
    case WM_KEYDOWN:
      if (m.WParam == VK_SPACE) {
        state_ |= kPressed;
        Repaint();
      }
      break;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE) {
        state_ &= ~kPressed;
        Repaint();
      }
      break;
    case WM_MOUSEMOVE: {
      if (!(GetWindowLongW(WindowHandle(), GWL_STYLE) & WS_DISABLED) && !(state_ & kHot)) {
        state_ |= kHot;
        Repaint();
      }
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, WindowHandle(), 0};
      TrackMouseEvent(&track);
      break;
    }
    case WM_LBUTTONUP:
      if (state_ & kPressed) {
        state_ &= ~kPressed;
        Repaint();
        Click();  // last: the click may free the button and us with it
      }
      break;
    case WM_MOUSELEAVE:
      state_ &= ~(kHot | kPressed);
      Repaint();
      break;
    case WM_KILLFOCUS:
      // Space held while the focus moves on: the button is no longer being pressed.
      state_ &= ~kPressed;
      TSkinControl::AfterMessage(m);
      break;
    case ui::CM_DIALOGKEY:
    case ui::CM_FOCUSCHANGED:
    // The system draws the button itself on these; the face goes back on top.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_UPDATEUISTATE:
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinButton::Click() {
  if (ui::TControl* control = FrameworkControl()) {
    control->Click();
    return;
  }
  HWND window = WindowHandle();
  WPARAM id = LowerClassName(window) == L"tbutton" ? 0 : GetDlgCtrlID(window);
  PostMessageW(GetParent(window), WM_COMMAND, id, reinterpret_cast<LPARAM>(window));
}

void TSkinButton::RefreshButtonState() {
  RefreshState();
  if (FrameworkControl())
    default_ = skin::BoolProperty(FrameworkControl(), L"Default");
  else
    default_ = (GetWindowLongW(WindowHandle(), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
}

int TSkinButton::FaceFrame() const {
  if (!enabled_) return kDisabled;
  if (state_ & kPressed) return kPressedFrame;
  if (state_ & kHot) return kHotFrame;
  if (focused_ || default_) return kFocused;
  return kNormal;
}

COLORREF TSkinButton::TextColour(int frame) const {
  if (!enabled_) return GetSysColor(COLOR_BTNSHADOW);
  if (const TDataSkinButton* b = ButtonsRecord()) {
    // A focused or default button is a normal one with a focus cue: the same text colour, so
    // that a grey font of the control never makes it look disabled.
    if ((frame == kNormal || frame == kFocused) && b->HasNormalColour2)
      return skin::ResolveColour(b->NormalColour2);
    if (frame == kHotFrame && b->HasMouseOverColour2)
      return skin::ResolveColour(b->MouseOverColour2);
    if (frame == kPressedFrame && b->HasPressedColour2)
      return skin::ResolveColour(b->PressedColour2);
  }
  return FontColour();
}

bool TSkinButton::BeginFace(HDC target, const RECT& rect, int frame, bool image) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  if (face_.Width() != width || face_.Height() != height) face_ = ui::Bitmap(width, height);
  if (face_.Empty()) return false;
  ui::Bitmap::Canvas canvas(face_);
  const RECT local{0, 0, width, height};
  if (!parentBackground_) {
    FillFace(canvas.dc(), local);
  } else if (GraphicControl()) {
    // The parent has painted itself under a windowless control already.
    BitBlt(canvas.dc(), 0, 0, width, height, target, rect.left, rect.top, SRCCOPY);
  } else {
    PaintParentBackground(canvas.dc(), local);
  }
  if (image && HasImage(ButtonsRecord()))
    DrawStateImage(canvas.dc(), local, *ButtonsRecord(), 5, frame);
  return true;
}

void TSkinButton::EndFace(HDC target, const RECT& rect) {
  ui::Bitmap::Canvas canvas(face_);
  BitBlt(target, rect.left, rect.top, face_.Width(), face_.Height(), canvas.dc(), 0, 0, SRCCOPY);
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasImage(ButtonsRecord())) return;
  RefreshButtonState();
  const int frame = FaceFrame();
  if (!BeginFace(dc, rect, frame)) return;
  {
    ui::Bitmap::Canvas canvas(face_);
    ui::SelectObjectGuard font(canvas.dc(), ControlFont());
    SetTextColor(canvas.dc(), TextColour(frame));
    DrawCaption(canvas.dc(), {0, 0, face_.Width(), face_.Height()}, true, caption_);
  }
  EndFace(dc, rect);
}
