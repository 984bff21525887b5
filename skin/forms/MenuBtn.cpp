#include "skin/forms/MenuBtn.h"

#include "skin/forms/WinSkinMenu.h"

void TMenuBtn::Paint() { bar_.PaintButtonAlone(*this); }
