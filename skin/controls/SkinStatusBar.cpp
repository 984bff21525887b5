#include "skin/controls/SkinStatusBar.h"

#include <commctrl.h>

#include <vector>

#include "skin/controls/OffscreenFace.h"
#include "skin/controls/PropertyAccess.h"
#include "skin/controls/SkinSizer.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinStatusBar, TSkinFaceControl)

namespace {

constexpr int kTextInset = 2;

}  // namespace

TSkinStatusBar::TSkinStatusBar(ui::TComponent* owner) : TSkinFaceControl(owner) {}

std::wstring TSkinStatusBar::PanelText(int panel) const {
  if (panel == SB_SIMPLEID && FrameworkControl() && FrameworkControl()->HasProperty(L"SimpleText"))
    return skin::TextProperty(FrameworkControl(), L"SimpleText");
  const int length = LOWORD(SendMessageW(WindowHandle(), SB_GETTEXTLENGTHW, panel, 0));
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(WindowHandle(), SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  HDC target = face.dc();
  FillFace(target, face.Local());
  const TDataSkinObject* edges = Records() ? Records()->StatusBarEdges.get() : nullptr;
  const HWND window = WindowHandle();
  // The grip's corner is left free of panels.
  const bool grip = (GetWindowLongW(window, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
  const int gripWidth = grip ? TSkinSizer::GripSize(Records()).cx : 0;

  std::vector<std::pair<RECT, std::wstring>> panels;
  if (SendMessageW(window, SB_ISSIMPLE, 0, 0)) {
    panels.push_back({{0, 0, face.Width() - gripWidth, face.Height()}, PanelText(SB_SIMPLEID)});
  } else {
    const int count = static_cast<int>(SendMessageW(window, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT r{};
      SendMessageW(window, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
      panels.push_back({r, PanelText(i)});
    }
  }

  ui::SelectObjectGuard font(target, ControlFont());
  SetBkMode(target, TRANSPARENT);
  SetTextColor(target, edges ? skin::ResolveColour(edges->NormalColour2) : FontColour());
  for (auto& [r, text] : panels) {
    if (HasImage(edges)) DrawStateImage(target, r, *edges, 3, 1);
    RECT inside = r;
    InflateRect(&inside, -kTextInset, -kTextInset);
    DrawTextW(target, text.c_str(), -1, &inside,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  if (grip) TSkinSizer::DrawGrip(target, face.Local(), Records());
  face.CopyTo(dc);
}
