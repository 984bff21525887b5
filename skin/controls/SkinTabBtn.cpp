#include "skin/controls/SkinTabBtn.h"

#include <commctrl.h>

#include "skin/controls/OffscreenFace.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinTabBtn, TSkinFaceControl)

TSkinTabBtn::TSkinTabBtn(ui::TComponent* owner) : TSkinFaceControl(owner) {}

bool TSkinTabBtn::DrawsFace() const { return Records() && HasImage(Records()->Buttons.get()); }

int TSkinTabBtn::HotTab() const {
  TCHITTESTINFO hit{};
  GetCursorPos(&hit.pt);
  ScreenToClient(WindowHandle(), &hit.pt);
  return static_cast<int>(
      SendMessageW(WindowHandle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool TSkinTabBtn::BeforeMessage(ui::TMessage& m) {
  if (!DrawsFace()) return TSkinFaceControl::BeforeMessage(m);
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case ui::CM_MOUSELEAVE: {
      if (m.Msg == WM_MOUSEMOVE) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, WindowHandle(), 0};
        TrackMouseEvent(&track);
      }
      const int hot = m.Msg == WM_MOUSEMOVE ? HotTab() : -1;
      if (hot != hot_) {
        hot_ = hot;
        Repaint();
      }
      return true;
    }
    default:
      return TSkinFaceControl::BeforeMessage(m);
  }
}

void TSkinTabBtn::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinButton* buttons = Records() ? Records()->Buttons.get() : nullptr;
  if (!HasImage(buttons)) return;
  RefreshState();
  const HWND window = WindowHandle();
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  HDC target = face.dc();
  FillFace(target, face.Local());
  ui::SelectObjectGuard font(target, ControlFont());
  SetBkMode(target, TRANSPARENT);
  const int count = static_cast<int>(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0));
  const int current = static_cast<int>(SendMessageW(window, TCM_GETCURSEL, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT r{};
    SendMessageW(window, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    const int frame = !enabled_      ? TSkinButton::kDisabled
                      : i == current ? TSkinButton::kPressedFrame
                      : i == hot_    ? TSkinButton::kHotFrame
                                     : TSkinButton::kNormal;
    DrawStateImage(target, r, *buttons, 5, frame);
    wchar_t text[256]{};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 255;
    SendMessageW(window, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    COLORREF colour = FontColour();
    if (!enabled_)
      colour = ShadowColour();
    else if (frame == TSkinButton::kPressedFrame && buttons->HasPressedColour2)
      colour = skin::ResolveColour(buttons->PressedColour2);
    else if (frame == TSkinButton::kHotFrame && buttons->HasMouseOverColour2)
      colour = skin::ResolveColour(buttons->MouseOverColour2);
    else if (frame == TSkinButton::kNormal && buttons->HasNormalColour2)
      colour = skin::ResolveColour(buttons->NormalColour2);
    SetTextColor(target, colour);
    DrawTextW(target, text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  face.CopyTo(dc);
}
