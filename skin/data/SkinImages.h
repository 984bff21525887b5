#pragma once

#include <windows.h>

#include "skin/data/Colours.h"
#include "ui/Bitmap.h"

// Image operations shared by the skin records and every painter. Bitmaps are ui::Bitmap
// (32 bits per pixel), so "converting to 24 bits" is never needed: the colour channels are
// the same.
namespace skin {

// An explicit colour, or a system-colour reference looked up in the system's colour table.
COLORREF ResolveColour(Colour colour);
// Mixes two colours (MixRgb), resolving system-colour references first.
COLORREF MixColors(Colour c1, Colour c2, int weight);

// Fills `rect` line by line (rows when vertical, else columns) with a ramp from c1 to c2,
// only where the DC's clip box allows. The last 16 ramps are cached.
void GradientFill(HDC dc, const RECT& rect, Colour c1, bool vertical, Colour c2);

void ReplaceMagenta(ui::Bitmap& bitmap, COLORREF colour);
void MirrorHorizontal(ui::Bitmap& bitmap);
void FlipVertical(ui::Bitmap& bitmap);
void Grayscale(ui::Bitmap& bitmap);
// Quarter turns: Rotate clockwise, RotateBack counter-clockwise; width and height swap.
void Rotate(ui::Bitmap& bitmap);
void RotateBack(ui::Bitmap& bitmap);
void CopyBitmap(const ui::Bitmap& source, ui::Bitmap& target);

}  // namespace skin
