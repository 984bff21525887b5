// The menu bar drawn in the frame and the owner-drawn menu items. Until the skinned menus
// are built, a window keeps its system menu bar, popup menus keep the system look, and
// the frame code finds no menu-bar items.
#include "skin/forms/WinSkinForm.h"

void TWinSkinForm::CreateMenuBar() {}

void TWinSkinForm::FreeMenuBar() { skinMenu_ = nullptr; }

void TWinSkinForm::RebuildMenuBar(HMENU menu) { (void)menu; }

bool TWinSkinForm::PaintMenuBar(HDC dc, const RECT& strip) {
  (void)dc;
  (void)strip;
  return false;
}

TNCObject* TWinSkinForm::MenuItemAt(POINT framePoint) const {
  (void)framePoint;
  return nullptr;
}

bool TWinSkinForm::IsMenuItem(const TNCObject* object) const {
  (void)object;
  return false;
}

TNCObject* TWinSkinForm::FirstMenuItem() const { return nullptr; }

TNCObject* TWinSkinForm::FindAccelerator(wchar_t key) const {
  (void)key;
  return nullptr;
}

void TWinSkinForm::OpenMenu(TNCObject* item) { (void)item; }

void TWinSkinForm::ClickMenuButton(TNCObject* item) { (void)item; }

void TWinSkinForm::InstallItemPainters(ui::TComponent& component, bool on) {
  (void)component;
  (void)on;
}

void TWinSkinForm::InstallMainMenuPainters(ui::TComponent& component, bool on) {
  (void)component;
  (void)on;
}

void TWinSkinForm::InstallSysMenuPainters(ui::TPopupMenu& menu) { (void)menu; }

bool TWinSkinForm::MeasureMenuItem(MEASUREITEMSTRUCT& item) {
  (void)item;
  return false;
}

bool TWinSkinForm::DrawMenuItem(const DRAWITEMSTRUCT& item) {
  (void)item;
  return false;
}
