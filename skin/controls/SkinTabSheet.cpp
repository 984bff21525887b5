#include "skin/controls/SkinTabSheet.h"

#include "skin/controls/OffscreenFace.h"

VELMO_NAMED_CLASS_INFO(TSkinTabSheet, TSkinControl)

TSkinTabSheet::TSkinTabSheet(ui::TComponent* owner) : TSkinControl(owner) {}

bool TSkinTabSheet::BeforeMessage(ui::TMessage& m) {
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
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& rect) {
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  FillFace(face.dc(), face.Local());
  if (ui::TWinControl* control = Control()) control->PaintControls(face.dc());
  face.CopyTo(dc);
}
