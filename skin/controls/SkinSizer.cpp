#include "skin/controls/SkinSizer.h"

#include "skin/controls/OffscreenFace.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"

VELMO_NAMED_CLASS_INFO(TSkinSizer, TSkinFaceControl)

namespace {

// The grip picture of the ExtraImages strip.
constexpr int kGripFrame = 5;

}  // namespace

TSkinSizer::TSkinSizer(ui::TComponent* owner) : TSkinFaceControl(owner) {}

SIZE TSkinSizer::GripSize(const SkinRecords* records) {
  const TDataSkinObject* extra = records ? records->ExtraImages.get() : nullptr;
  if (!HasImage(extra) || extra->FrameCount < kGripFrame) return {0, 0};
  return {extra->Bitmap.Width() / extra->FrameCount, extra->Bitmap.Height()};
}

void TSkinSizer::DrawGrip(HDC dc, const RECT& area, const SkinRecords* records) {
  const SIZE size = GripSize(records);
  if (size.cx <= 0) return;
  const RECT corner{area.right - size.cx, area.bottom - size.cy, area.right, area.bottom};
  skin::DrawFrameAtSize(dc, corner, records->ExtraImages->Bitmap, true, size.cx, kGripFrame);
}

void TSkinSizer::DrawSkin(HDC dc, const RECT& rect) {
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  FillFace(face.dc(), face.Local());
  if (GetWindowLongW(WindowHandle(), GWL_STYLE) & SBS_SIZEGRIP)
    DrawGrip(face.dc(), face.Local(), Records());
  face.CopyTo(dc);
}
