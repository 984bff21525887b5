#include "skin/controls/SkinScControl.h"

VELMO_NAMED_CLASS_INFO(TSkinScControl, TSkinControl)

TSkinScControl::TSkinScControl(ui::TComponent* owner) : TSkinControl(owner) {}

TSkinScControl::~TSkinScControl() {
  UnhookControl();
  bar_.reset();
}

void TSkinScControl::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool, HDC canvas) {
  auto* control = dynamic_cast<ui::TWinControl*>(Owner());
  if (StateCode() != kNew || !control) return;
  Register(form, skinData, canvas);
  SetWindow(control->Handle());
  bar_ = std::make_unique<TWScrollbar>(*this);
  bar_->AttachToControl(*control, TWScrollbar::kControl);
  Place();
  HookControl(*control);
  MarkAttached();
}

void TSkinScControl::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form,
                                  HDC canvas) {
  if (StateCode() != kNew || !IsWindow(window)) return;
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  bar_ = std::make_unique<TWScrollbar>(*this);
  bar_->AttachToWindow(window, TWScrollbar::kControl);
  Place();
}

void TSkinScControl::Place() {
  if (!bar_) return;
  if (Control() && !Control()->Visible())
    bar_->Conceal();
  else
    bar_->UpdatePosition(WindowHandle());
}

void TSkinScControl::RestoreControl() {
  TSkinControl::RestoreControl();
  if (StateCode() != kEnded) bar_.reset();
}

void TSkinScControl::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case WM_NCPAINT:
      if (Control()) SetWindow(Control()->WindowHandle());
      Place();
      break;
    case ui::CM_VISIBLECHANGED:
      if (!bar_) break;
      if (m.WParam)
        bar_->UpdatePosition(WindowHandle());
      else
        bar_->Conceal();
      break;
    case SBM_SETSCROLLINFO:
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case ui::CN_VSCROLL:
    case ui::CN_HSCROLL:
      if (bar_) bar_->Invalidate();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}
