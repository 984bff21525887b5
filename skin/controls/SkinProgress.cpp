#include "skin/controls/SkinProgress.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/OffscreenFace.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"

VELMO_NAMED_CLASS_INFO(TSkinProgress, TSkinFaceControl)

TSkinProgress::TSkinProgress(ui::TComponent* owner) : TSkinFaceControl(owner) {}

bool TSkinProgress::DrawsFace() const { return Records() && HasImage(Records()->Progress.get()); }

int TSkinProgress::FilledLength(int length, int position, int low, int high) {
  // Measured from the low end of the range, so that a range not starting at 0 fills right.
  if (high <= low || position <= low) return 0;
  return MulDiv(length, std::min(position, high) - low, high - low);
}

void TSkinProgress::DrawBar(HDC dc, int width, int height, int filled) const {
  const TDataSkinBorder& bar = *Records()->Progress;
  const RECT whole{0, 0, width, height};
  FillFace(dc, whole);
  if (bar.Style != 1) {
    DrawStateImage(dc, whole, bar, 2, 1);
    if (filled > 0) DrawStateImage(dc, {0, 0, filled, height}, bar, 2, 2);
    return;
  }
  DrawStateImage(dc, whole, bar, 1, 1);
  const TDataSkinObject* chunk = Records()->ProgressChunk.get();
  if (!HasImage(chunk)) return;
  const int frames = std::max(1, chunk->FrameCount);
  const int chunkWidth = chunk->Bitmap.Width() / frames, chunkHeight = chunk->Bitmap.Height();
  const int top = (height - chunkHeight) / 2;
  const int start = chunk->Margins.left + 2;
  if (filled <= start || chunkWidth <= 0) return;
  if (chunk->Tile != 1) {
    skin::DrawFrame(dc, {start, top, filled, top + chunkHeight}, chunk->Bitmap, chunk->Trans != 0,
                    frames, 1);
    return;
  }
  // Whole chunks side by side; the last one is cut where the filled part ends.
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, start, top, filled, top + chunkHeight);
  for (int x = start; x < filled; x += chunkWidth)
    skin::DrawFrameAtSize(dc, {x, top, x + chunkWidth, top + chunkHeight}, chunk->Bitmap,
                          chunk->Trans != 0, chunkWidth, 1);
  RestoreDC(dc, saved);
}

void TSkinProgress::DrawSkin(HDC dc, const RECT& rect) {
  if (!DrawsFace()) return;
  const HWND window = WindowHandle();
  const bool vertical = (GetWindowLongW(window, GWL_STYLE) & PBS_VERTICAL) != 0;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (vertical) std::swap(width, height);
  OffscreenFace bar({0, 0, width, height});
  if (!bar.Ready()) return;
  PBRANGE range{};
  SendMessageW(window, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  const int position = static_cast<int>(SendMessageW(window, PBM_GETPOS, 0, 0));
  DrawBar(bar.dc(), width, height, FilledLength(width, position, range.iLow, range.iHigh));
  if (!vertical) {
    BitBlt(dc, rect.left, rect.top, width, height, bar.dc(), 0, 0, SRCCOPY);
    return;
  }
  // The bar's start turns to the bottom.
  ui::Bitmap turned = bar.Picture().Clone();
  skin::RotateBack(turned);
  ui::Bitmap::Canvas canvas(turned);
  BitBlt(dc, rect.left, rect.top, turned.Width(), turned.Height(), canvas.dc(), 0, 0, SRCCOPY);
}
