#include "skin/controls/SkinHeader.h"

#include <windowsx.h>

#include <algorithm>
// after windows.h
#include <commctrl.h>

#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinHeader, TSkinControl)

namespace {
// Room between an item's edge (or its image) and its text.
constexpr int kTextInset = 6;
}  // namespace

TSkinHeader::TSkinHeader(ui::TComponent* owner) : TSkinControl(owner) {}

bool TSkinHeader::HasHeaderImage() const {
  return Records() && HasImage(Records()->Headerbar.get());
}

bool TSkinHeader::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!HasHeaderImage()) break;
      PaintNow(m);
      return false;
    case WM_ERASEBKGND:
      if (!HasHeaderImage()) break;
      m.Result = 1;
      return false;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

int TSkinHeader::ItemAt(POINT point) const {
  const int count = Header_GetItemCount(WindowHandle());
  for (int i = 0; i < count; ++i) {
    RECT r{};
    Header_GetItemRect(WindowHandle(), i, &r);
    // Not on the dividers, where the mouse resizes.
    InflateRect(&r, -3, 0);
    if (PtInRect(&r, point)) return i;
  }
  return -1;
}

void TSkinHeader::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      const int item = ItemAt({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (item != hot_) {
        hot_ = item;
        Repaint();
      }
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, WindowHandle(), 0};
      TrackMouseEvent(&track);
      break;
    }
    case WM_MOUSELEAVE:
      hot_ = -1;
      Repaint();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinHeader::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasHeaderImage()) return;
  const TDataSkinObject& bar = *Records()->Headerbar;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  if (face_.Width() != width || face_.Height() != height) face_ = ui::Bitmap(width, height);
  if (face_.Empty()) return;
  HWND header = WindowHandle();
  const int frames = bar.FrameCount > 0 ? bar.FrameCount : 1;
  {
    ui::Bitmap::Canvas canvas(face_);
    HDC c = canvas.dc();
    FillFace(c, {0, 0, width, height});
    ui::SelectObjectGuard font(c, ControlFont());
    SetBkMode(c, TRANSPARENT);
    SetTextColor(c,
                 bar.NormalColour2 ? skin::ResolveColour(bar.NormalColour2) : ButtonTextColour());
    auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(header, HDM_GETIMAGELIST, 0, 0));
    const int count = Header_GetItemCount(header);
    int right = 0;
    for (int i = 0; i < count; ++i) {
      RECT item{};
      Header_GetItemRect(header, i, &item);
      right = std::max<int>(right, item.right);
      DrawStateImage(c, item, bar, frames, i == hot_ ? 2 : 1);
      wchar_t text[201]{};
      HDITEMW info{};
      info.mask = HDI_TEXT | HDI_IMAGE | HDI_FORMAT;
      info.pszText = text;
      info.cchTextMax = 200;
      SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&info));
      // The image first, then the text, placed together by the item's alignment.
      int imageWidth = 0, imageHeight = 0;
      const bool image = images && (info.fmt & HDF_IMAGE) && info.iImage >= 0;
      if (image) ImageList_GetIconSize(images, &imageWidth, &imageHeight);
      RECT measure{0, 0, 0, 0};
      DrawTextW(c, text, -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
      const int gap = image ? kTextInset / 2 : 0;
      const int content = imageWidth + gap + (measure.right - measure.left);
      const int room = (item.right - item.left) - 2 * kTextInset;
      int x = item.left + kTextInset;
      if ((info.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
        x += std::max(0, (room - content) / 2);
      else if ((info.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
        x += std::max(0, room - content);
      if (image) {
        ImageList_Draw(images, info.iImage, c, x,
                       item.top + (item.bottom - item.top - imageHeight) / 2, ILD_TRANSPARENT);
        x += imageWidth + gap;
      }
      RECT textRect{x, item.top, item.right - kTextInset, item.bottom};
      DrawTextW(c, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if (right < width) DrawStateImage(c, {right, 0, width, height}, bar, frames, 1);
  }
  ui::Bitmap::Canvas canvas(face_);
  BitBlt(dc, rect.left, rect.top, width, height, canvas.dc(), 0, 0, SRCCOPY);
}
