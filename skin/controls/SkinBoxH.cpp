#include "skin/controls/SkinBoxH.h"

#include "skin/data/SkinData.h"

VELMO_NAMED_CLASS_INFO(TSkinBoxH, TSkinControl)

TSkinBoxH::TSkinBoxH(ui::TComponent* owner) : TSkinControl(owner) {}

HBRUSH TSkinBoxH::FaceBrush() const {
  if (Records() && Records()->FaceBrush) return Records()->FaceBrush.get();
  return GetSysColorBrush(COLOR_BTNFACE);
}

bool TSkinBoxH::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: {
      RECT r;
      GetClientRect(WindowHandle(), &r);
      FillRect(reinterpret_cast<HDC>(m.WParam), &r, FaceBrush());
      m.Result = 1;
      return false;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(m.WParam), FaceColour());
      m.Result = reinterpret_cast<LRESULT>(FaceBrush());
      return false;
    default:
      return TSkinControl::BeforeMessage(m);
  }
}
