#include "skin/controls/SkinListView.h"

#include <commctrl.h>

#include "skin/controls/SkinHeader.h"

VELMO_NAMED_CLASS_INFO(TSkinListView, TSkinScrollbar)

TSkinListView::TSkinListView(ui::TComponent* owner) : TSkinScrollbar(owner) {}

void TSkinListView::AttachScrolling(ui::TWinControl& control, TSkinData& skinData,
                                    TWinSkinForm& form, HDC canvas) {
  if (StateCode() != kNew) return;
  TSkinScrollbar::AttachScrolling(control, skinData, form, canvas);
  auto header = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETHEADER, 0, 0));
  if (!header) return;
  header_ = new TSkinHeader(this);
  header_->AttachWindow(header, skinData, form, canvas);
}
