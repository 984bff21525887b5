#include "skin/controls/SkinMP.h"

#include "skin/controls/WMediaPlayer.h"
#include "skin/data/SkinData.h"

VELMO_NAMED_CLASS_INFO(TSkinMP, TSkinControl)

TSkinMP::TSkinMP(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinMP::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour, HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  ui::TWinControl* player = Control();
  if (panel_ || !player || !player->Parent()) return;
  panel_ = new TWMediaPlayer(this, *player, Records());
  panel_->SetParent(player->Parent());
  PlacePanel();
}

void TSkinMP::PlacePanel() {
  ui::TWinControl* player = Control();
  if (!panel_ || !player) return;
  panel_->SetBounds(player->Left(), player->Top(), player->Width(), player->Height());
  panel_->SetVisible(player->Visible());
  if (panel_->HandleAllocated() && player->HandleAllocated())
    SetWindowPos(panel_->WindowHandle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  panel_->Invalidate();
}

void TSkinMP::SkinningSwitched(bool active) {
  if (!panel_) return;
  if (active) {
    PlacePanel();
  } else {
    panel_->SetVisible(false);
  }
}

void TSkinMP::RestoreControl() {
  delete std::exchange(panel_, nullptr);
  TSkinControl::RestoreControl();
}

void TSkinMP::Notification(ui::TComponent* component, ui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == ui::TOperation::Remove && component == panel_) panel_ = nullptr;
}

void TSkinMP::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_WINDOWPOSCHANGED:
    case ui::CM_VISIBLECHANGED:
      PlacePanel();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}
