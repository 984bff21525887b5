#include "skin/controls/SkinTrackBar.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/forms/SkinMessages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinTrackBar, TSkinControl)

namespace {

constexpr int kThumbFrames = 5;
constexpr int kThumbFrame = 2;

}  // namespace

TSkinTrackBar::TSkinTrackBar(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinTrackBar::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                  HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  // The bar asks for its custom drawing only when it paints.
  Repaint();
}

void TSkinTrackBar::RestoreControl() {
  TSkinControl::RestoreControl();
  Repaint();
}

bool TSkinTrackBar::Vertical() const {
  return (GetWindowLongW(WindowHandle(), GWL_STYLE) & TBS_VERT) != 0;
}

bool TSkinTrackBar::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_NOTIFY:
    case skin::WM_SKINNOTIFY:
      // With the cookie the number means "skinned"; without it, a reflected WM_NOTIFY.
      if (m.Msg == skin::WM_SKINNOTIFY && m.LParam == skin::SkinCookie) break;
      if (CustomDraw(m)) return false;
      break;
    case ui::CN_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(m.WParam), FaceColour());
      if (Records() && Records()->FaceBrush) {
        m.Result = reinterpret_cast<LRESULT>(Records()->FaceBrush.get());
        return false;
      }
      break;
    default:
      break;
  }
  return TSkinControl::BeforeMessage(m);
}

bool TSkinTrackBar::CustomDraw(ui::TMessage& m) {
  auto* header = reinterpret_cast<NMHDR*>(m.LParam);
  if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW) ||
      header->hwndFrom != WindowHandle())
    return false;
  auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
  switch (draw->dwDrawStage) {
    case CDDS_PREPAINT:
      m.Result = CDRF_NOTIFYITEMDRAW;
      return true;
    case CDDS_ITEMPREPAINT:
      switch (draw->dwItemSpec) {
        case TBCD_THUMB:
          DrawThumb(draw->hdc);
          m.Result = CDRF_SKIPDEFAULT;
          return true;
        case TBCD_CHANNEL:
          DrawChannel(draw->hdc);
          m.Result = CDRF_SKIPDEFAULT;
          return true;
        default:
          m.Result = CDRF_DODEFAULT;
          return true;
      }
    default:
      m.Result = CDRF_DODEFAULT;
      return true;
  }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  RECT thumb{};
  SendMessageW(WindowHandle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const SkinRecords* records = Records();
  const TDataSkinObject* image =
      records ? (Vertical() ? records->TrackbarThumbVert : records->TrackbarThumbHorz).get()
              : nullptr;
  if (HasImage(image)) {
    DrawStripFrame(dc, thumb, kThumbFrames, kThumbFrame, image->Bitmap);
    return;
  }
  // Without a thumb picture the thumb is still where it is.
  ui::GdiObject<HBRUSH> edge(CreateSolidBrush(ShadowColour()));
  FrameRect(dc, &thumb, edge.get());
}

void TSkinTrackBar::DrawChannel(HDC dc) {
  RECT channel{};
  SendMessageW(WindowHandle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  const bool vertical = Vertical();
  // The system reports a vertical bar's channel lying down.
  if (vertical && channel.right - channel.left > channel.bottom - channel.top)
    channel = {channel.top, channel.left, channel.bottom, channel.right};
  const SkinRecords* records = Records();
  const TDataSkinObject* track =
      records ? (vertical ? records->TrackVert : records->Track).get() : nullptr;
  if (!HasImage(track)) return;
  const int frames = std::max(1, track->FrameCount);
  RECT r = channel;
  Margins margins = track->Margins;
  if (vertical) {
    margins.left = margins.right = 0;
    const int width = track->Bitmap.Width() / frames;
    const int x = (channel.left + channel.right - width) / 2;
    r.left = x;
    r.right = x + width;
  } else {
    margins.top = margins.bottom = 0;
    const int height = track->Bitmap.Height();
    if (height < channel.bottom - channel.top) {
      r.top = (channel.top + channel.bottom - height) / 2;
      r.bottom = r.top + height;
    }
  }
  skin::DrawElement(dc, r, {&track->Bitmap, margins, {frames, 1, false}, false, true});
}
