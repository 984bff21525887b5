#include "skin/controls/SkinDateTime.h"

#include <commctrl.h>

#include "skin/controls/ArrowButton.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinMetrics.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinDateTime, TSkinControl)

TSkinDateTime::TSkinDateTime(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinDateTime::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                  HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  MakeArrow();
}

void TSkinDateTime::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) {
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  MakeArrow();
}

RECT TSkinDateTime::ArrowBounds() const {
  const HWND window = WindowHandle();
  RECT w{};
  GetWindowRect(window, &w);
  const int width = skin::SkinMetric(SM_CXHSCROLL);
  const int height = (w.bottom - w.top) - 4;
  const bool left = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const int x = left ? 2 : (w.right - w.left) - width - 4;
  return {x, 0, x + width, height};
}

void TSkinDateTime::MakeArrow() {
  const HWND window = WindowHandle();
  if (arrow_ || !window) return;
  // A picker with spin buttons has no drop-down to cover.
  if (GetWindowLongW(window, GWL_STYLE) & DTS_UPDOWN) return;
  // The arrow is a child of the picker, which must not paint over it.
  SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | WS_CLIPCHILDREN);
  arrow_ = new TArrowButton(this, window, Records());
  const RECT r = ArrowBounds();
  arrow_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  ShowWindow(arrow_->Handle(), SW_SHOWNA);
}

void TSkinDateTime::SkinningSwitched(bool active) {
  // Off: the picker's own drop-down button shows and works.
  if (arrow_) ShowWindow(arrow_->Handle(), active ? SW_SHOWNA : SW_HIDE);
}

void TSkinDateTime::Notification(ui::TComponent* component, ui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == ui::TOperation::Remove && component == arrow_) arrow_ = nullptr;
}

void TSkinDateTime::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
      if (arrow_) {
        const RECT r = ArrowBounds();
        arrow_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
        arrow_->Repaint();
      }
      break;
    case WM_NCPAINT:
      PaintWindow(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinDateTime::DrawSkin(HDC dc, const RECT& rect) {
  if (arrow_) {
    const RECT r = ArrowBounds();
    if (arrow_->Left() != r.left || arrow_->Width() != r.right - r.left ||
        arrow_->Height() != r.bottom - r.top)
      arrow_->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  const HWND window = WindowHandle();
  RECT w{}, c{};
  GetWindowRect(window, &w);
  GetClientRect(window, &c);
  if (w.right - w.left == c.right && w.bottom - w.top == c.bottom) return;
  RECT r = rect;
  ui::GdiObject<HBRUSH> shadow(CreateSolidBrush(ShadowColour()));
  FrameRect(dc, &r, shadow.get());
  InflateRect(&r, -1, -1);
  FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}
