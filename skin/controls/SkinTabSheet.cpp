#include "skin/controls/SkinTabSheet.h"

#include "skin/controls/OffscreenFace.h"

VELMO_NAMED_CLASS_INFO(TSkinTabSheet, TSkinFaceControl)

TSkinTabSheet::TSkinTabSheet(ui::TComponent* owner) : TSkinFaceControl(owner) {}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& rect) {
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  FillFace(face.dc(), face.Local());
  if (ui::TWinControl* control = Control()) control->PaintControls(face.dc());
  face.CopyTo(dc);
}
