#include "skin/controls/SkinTabSheet.h"

#include "skin/controls/OffscreenFace.h"

VELMO_NAMED_CLASS_INFO(TSkinTabSheet, TSkinFaceControl)

TSkinTabSheet::TSkinTabSheet(ui::TComponent* owner) : TSkinFaceControl(owner) {}

void TSkinTabSheet::DrawSkin(HDC dc, const RECT& rect) {
  // In its own paint the page's controls cover most of it: only the parts they leave
  // uncovered are composed, each on a bitmap of its own size in the page's coordinates. A
  // control asking for the page under it (its own device context) gets the page whole.
  const HWND window = WindowHandle();
  const std::vector<RECT> parts = WindowFromDC(dc) == window && window
                                      ? OffscreenFace::UncoveredParts(window, rect)
                                      : std::vector<RECT>{rect};
  for (const RECT& part : parts) {
    OffscreenFace face(part);
    if (!face.Ready()) return;
    SetViewportOrgEx(face.dc(), -part.left, -part.top, nullptr);
    FillFace(face.dc(), part);
    if (ui::TWinControl* control = Control()) control->PaintControls(face.dc());
    SetViewportOrgEx(face.dc(), 0, 0, nullptr);  // the copy reads from the face
    face.CopyTo(dc);
  }
}
