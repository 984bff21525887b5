#include "skin/controls/SkinFaceControl.h"

VELMO_NAMED_CLASS_INFO(TSkinFaceControl, TSkinControl)

bool TSkinFaceControl::BeforeMessage(ui::TMessage& m) {
  if (DrawsFace()) {
    switch (m.Msg) {
      case WM_PAINT:
        PaintNow(m);
        return false;
      case WM_PRINTCLIENT:
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        return false;
      case WM_ERASEBKGND:
        m.Result = 1;
        return false;
      default:
        break;
    }
  }
  return TSkinControl::BeforeMessage(m);
}
