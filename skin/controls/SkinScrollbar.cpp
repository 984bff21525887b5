#include "skin/controls/SkinScrollbar.h"

#include "skin/controls/PropertyAccess.h"
#include "skin/data/SkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinScrollbar, TSkinControl)

TSkinScrollbar::TSkinScrollbar(ui::TComponent* owner) : TSkinControl(owner) {}

TSkinScrollbar::~TSkinScrollbar() {
  // No message of the control may reach overlays that are going.
  UnhookControl();
  FreeBars();
}

void TSkinScrollbar::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool, HDC canvas) {
  if (auto* control = dynamic_cast<ui::TWinControl*>(Owner()))
    AttachScrolling(*control, skinData, form, canvas);
}

void TSkinScrollbar::AttachScrolling(ui::TWinControl& control, TSkinData& skinData,
                                     TWinSkinForm& form, HDC canvas) {
  if (StateCode() != kNew) return;
  Register(form, skinData, canvas);
  HWND window = control.Handle();
  SetWindow(window);
  border_ = !ui::SameText(skin::EnumProperty(&control, L"BorderStyle"), L"bsNone") &&
            !control.InheritsFrom(L"TImageScrollBox") && mode_ != 1;
  if (control.PropertyKind(L"FixedColor") == ui::TPropKind::Integer) {
    savedFixedColour_ = skin::IntProperty(&control, L"FixedColor");
    fixedColourSaved_ = true;
    control.SetPropInt(L"FixedColor", static_cast<int>(Records()->Colours.ButtonFace));
  }
  if (!settings_.singleBar) {
    horizontal_ = std::make_unique<TWScrollbar>(*this);
    horizontal_->AttachToControl(control, TWScrollbar::kHorizontal);
  }
  vertical_ = std::make_unique<TWScrollbar>(*this);
  vertical_->AttachToControl(control, TWScrollbar::kVertical);
  for (TWScrollbar* bar : {horizontal_.get(), vertical_.get()}) {
    if (!bar) continue;
    bar->UpdatePosition(window);
    bar->SetEnabled(control.Enabled());
    if (!control.Visible()) bar->Conceal();
  }
  HookControl(control);
  if (border_) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  MarkAttached();
}

void TSkinScrollbar::RestoreControl() {
  ui::TWinControl* control = Control();
  if (fixedColourSaved_ && control && !control->Destroying()) {
    control->SetPropInt(L"FixedColor", savedFixedColour_);
    fixedColourSaved_ = false;
  }
  TSkinControl::RestoreControl();
  if (StateCode() != kEnded) {
    FreeBars();
    if (WindowHandle() && IsWindow(WindowHandle()))
      RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
}

void TSkinScrollbar::SkinChanged() {
  if (fixedColourSaved_ && Control())
    Control()->SetPropInt(L"FixedColor", static_cast<int>(Records()->Colours.ButtonFace));
  TSkinControl::SkinChanged();
}

void TSkinScrollbar::FreeBars() {
  horizontal_.reset();
  vertical_.reset();
}

void TSkinScrollbar::UpdateBars() {
  HWND window = WindowHandle();
  if (!window || !IsWindow(window)) return;
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  auto update = [&](TWScrollbar* bar, LONG bit) {
    if (!bar) return;
    if (style & bit)
      bar->UpdatePosition(window);
    else if (bar->Shown())
      bar->Conceal();  // the bar went: so does its overlay
  };
  update(horizontal_.get(), WS_HSCROLL);
  update(vertical_.get(), WS_VSCROLL);
}

void TSkinScrollbar::RefreshBars(UINT msg) {
  switch (msg) {
    // Too frequent to look each time, and they change no range.
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_PAINT:
    case WM_ERASEBKGND:
      return;
    default:
      break;
  }
  if (horizontal_) horizontal_->Refresh();
  if (vertical_) vertical_->Refresh();
}

void TSkinScrollbar::ShowScrollPart(UINT msg, WPARAM wParam) {
  TWScrollbar* bar = msg == WM_HSCROLL ? horizontal_.get() : vertical_.get();
  if (bar) bar->SetPart(LOWORD(wParam));
}

void TSkinScrollbar::ConcealBars() {
  if (horizontal_) horizontal_->Conceal();
  if (vertical_) vertical_->Conceal();
}

void TSkinScrollbar::SkinningSwitched(bool active) {
  if (active)
    UpdateBars();
  else
    ConcealBars();
}

bool TSkinScrollbar::BeforeMessage(ui::TMessage& m) {
  // The window goes (the control may live on): its bars' overlays, children of its parent,
  // must not stay standing where the bars were.
  if (m.Msg == WM_NCDESTROY) ConcealBars();
  if (m.Msg == WM_NCPAINT && border_) {
    CallPrevious(m);
    ui::WindowDC dc(WindowHandle(), ui::WindowDC::Area::Whole);
    DrawBorder(dc.get());
    FillCorner(dc.get());
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinScrollbar::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      repositioned_ = true;
      UpdateBars();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ShowScrollPart(m.Msg, m.WParam);
      break;
    case WM_MOUSEWHEEL:
      for (TWScrollbar* bar : {horizontal_.get(), vertical_.get()})
        if (bar && bar->Shown()) bar->Invalidate();
      break;
    case ui::CM_VISIBLECHANGED:
      if (m.WParam)
        UpdateBars();
      else
        ConcealBars();
      break;
    case ui::CM_ENABLEDCHANGED:
      for (TWScrollbar* bar : {horizontal_.get(), vertical_.get()})
        if (bar && Control()) bar->SetEnabled(Control()->Enabled());
      TSkinControl::AfterMessage(m);
      break;
    case ui::CM_RECREATEWND:
      // The control has a new window: the form skinner gives it a new wrapper.
      if (Form() && Control())
        PostMessageW(Form()->Handle(), skin::WM_SKINRESKINSCROLL,
                     reinterpret_cast<WPARAM>(Control()->WindowHandle()), 0);
      break;
    case skin::WM_SKINPAINTDC:
      if (m.LParam != skin::SkinCookie) break;
      if (m.WParam) DrawBorder(reinterpret_cast<HDC>(m.WParam));
      m.Result = skin::SkinCookie;
      break;
    default:
      RefreshBars(m.Msg);
      TSkinControl::AfterMessage(m);
  }
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT&) {
  UpdateBars();
  FillCorner(dc);
}

void TSkinScrollbar::FillCorner(HDC dc) {
  if (!horizontal_ || !vertical_ || !horizontal_->Shown() || !vertical_->Shown()) return;
  RECT h, v, window;
  GetWindowRect(horizontal_->Handle(), &h);
  GetWindowRect(vertical_->Handle(), &v);
  GetWindowRect(WindowHandle(), &window);
  RECT corner{v.left - window.left, h.top - window.top, v.right - window.left,
              h.bottom - window.top};
  FillFace(dc, corner);
}

void TSkinScrollbar::DrawBorder(HDC dc) {
  RECT r;
  GetWindowRect(WindowHandle(), &r);
  OffsetRect(&r, -r.left, -r.top);
  ui::GdiObject<HBRUSH> shadow(CreateSolidBrush(ShadowColour()));
  ui::GdiObject<HBRUSH> face(CreateSolidBrush(FaceColour()));
  FrameRect(dc, &r, shadow.get());
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, face.get());
}
