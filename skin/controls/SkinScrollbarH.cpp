#include "skin/controls/SkinScrollbarH.h"

VELMO_NAMED_CLASS_INFO(TSkinScrollbarH, TSkinScrollbar)

TSkinScrollbarH::TSkinScrollbarH(ui::TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinScrollbarH::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form,
                                   HDC canvas) {
  if (StateCode() != kNew || !IsWindow(window)) return;
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  horizontal_ = std::make_unique<TWScrollbar>(*this);
  horizontal_->AttachToWindow(window, TWScrollbar::kHorizontal);
  vertical_ = std::make_unique<TWScrollbar>(*this);
  vertical_->AttachToWindow(window, TWScrollbar::kVertical);
  UpdateBars();
}

void TSkinScrollbarH::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
      UpdateBars();
      break;
    case WM_HSCROLL:
      if (horizontal_) horizontal_->SetPart(LOWORD(m.WParam));
      break;
    case WM_VSCROLL:
      if (vertical_) vertical_->SetPart(LOWORD(m.WParam));
      break;
    default:
      RefreshBars(m.Msg);
      TSkinControl::AfterMessage(m);
  }
  if (vertical_ && WindowHandle() && !IsWindowVisible(WindowHandle())) vertical_->Conceal();
}
