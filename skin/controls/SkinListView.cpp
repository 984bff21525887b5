#include "skin/controls/SkinListView.h"

#include <commctrl.h>

#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinHeader.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"

VELMO_NAMED_CLASS_INFO(TSkinListView, TSkinScrollbar)

namespace {

// Unchecked and checked, as the list's state images 1 and 2 expect them.
HIMAGELIST MakeCheckImages(const ui::Bitmap& strip, int frameCount) {
  if (strip.Empty() || frameCount < 2) return nullptr;
  const int width = strip.Width() / frameCount;
  const int height = strip.Height();
  if (width <= 0 || height <= 0) return nullptr;
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 0);
  if (!list) return nullptr;
  for (int basic : {1, 2}) {
    const int frame = TSkinCheckBox::CheckFrame(frameCount, basic, false, false);
    ui::Bitmap image(width, height);
    {
      ui::Bitmap::Canvas source(strip);
      ui::Bitmap::Canvas target(image);
      RECT from = skin::FrameRect(strip, {frameCount, frame, false});
      BitBlt(target.dc(), 0, 0, width, height, source.dc(), from.left, from.top, SRCCOPY);
    }
    if (ImageList_AddMasked(list, image.Handle(), kKeyColour) < 0) {
      ImageList_Destroy(list);
      return nullptr;
    }
  }
  return list;
}

}  // namespace

TSkinListView::TSkinListView(ui::TComponent* owner) : TSkinScrollbar(owner) {}

TSkinListView::~TSkinListView() {
  if (WindowHandle() && IsWindow(WindowHandle()))
    GiveBackCheckImages();
  else if (skinChecks_)
    ImageList_Destroy(skinChecks_);  // the window went without taking ours along
}

void TSkinListView::AttachScrolling(ui::TWinControl& control, TSkinData& skinData,
                                    TWinSkinForm& form, HDC canvas) {
  if (StateCode() != kNew) return;
  TSkinScrollbar::AttachScrolling(control, skinData, form, canvas);
  ApplyCheckImages();
  auto header = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETHEADER, 0, 0));
  if (!header) return;
  header_ = new TSkinHeader(this);
  header_->AttachWindow(header, skinData, form, canvas);
}

void TSkinListView::ApplyCheckImages() {
  HWND list = WindowHandle();
  if (!list || !Records() || !Records()->Buttons) return;
  DWORD ex = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  if (!(ex & LVS_EX_CHECKBOXES)) return;
  HIMAGELIST ours =
      MakeCheckImages(Records()->Buttons->CheckBitmap, Records()->Buttons->CheckButtonFrame);
  if (!ours) return;
  auto previous = reinterpret_cast<HIMAGELIST>(
      SendMessageW(list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(ours)));
  if (skinChecks_)
    ImageList_Destroy(skinChecks_);  // a skin change replaces our earlier images
  else
    savedChecks_ = previous;
  skinChecks_ = ours;
  InvalidateRect(list, nullptr, TRUE);
}

void TSkinListView::GiveBackCheckImages() {
  if (!skinChecks_) return;
  SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_STATE,
               reinterpret_cast<LPARAM>(savedChecks_));
  ImageList_Destroy(skinChecks_);
  skinChecks_ = savedChecks_ = nullptr;
  InvalidateRect(WindowHandle(), nullptr, TRUE);
}

bool TSkinListView::BeforeMessage(ui::TMessage& m) {
  // Whoever frees the list's state images when its window goes must find its own there.
  if (m.Msg == WM_DESTROY) GiveBackCheckImages();
  return TSkinScrollbar::BeforeMessage(m);
}

void TSkinListView::SkinningSwitched(bool active) {
  TSkinScrollbar::SkinningSwitched(active);
  if (active)
    ApplyCheckImages();
  else
    GiveBackCheckImages();
}

void TSkinListView::RestoreControl() {
  if (StateCode() != kEnded) GiveBackCheckImages();
  TSkinScrollbar::RestoreControl();
}

void TSkinListView::SkinChanged() {
  TSkinScrollbar::SkinChanged();
  ApplyCheckImages();
}
