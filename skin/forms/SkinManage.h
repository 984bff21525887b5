#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/data/SkinManagerLink.h"
#include "ui/Bitmap.h"

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
namespace skin {
class MenuItemCache;
}
namespace ui {
class TComponent;
class TCustomForm;
class TTimer;
}  // namespace ui

// The process-wide manager that puts skinning onto windows: it watches the user-interface
// thread's windows through a CBT hook, decides which top-level windows get a form skinner,
// keeps the skinners and the registered skin data components, and runs the skin commands
// (skin all, unskin all, refresh) from a timer, so that they happen after the message or
// property setter that asked for them.
//
// The manager owns its form skinners. A skinner that goes away some other way (its
// framework form frees it as an owned component) takes itself out of the list from its
// destructor, so the list never holds a freed object.
class TSkinManage : public ISkinManager {
 public:
  // Command codes besides the ones the skin data component schedules.
  enum : int { kPurge = 6, kReskinWindow = 7 };
  // State values.
  enum : int { kNothingActivated = 0, kRunning = 1, kDestroying = 4 };
  // PopupKind values: what the next popup menu window belongs to.
  enum : int { kPlainPopup = 0, kMenuBarPopup = 1, kSystemMenuPopup = 2 };

  TSkinManage();
  ~TSkinManage() override;
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // The manager of the process, or null (also while it is some other ISkinManager).
  static TSkinManage* Instance();
  // Makes the skin data components of this process create a TSkinManage.
  static void Register();

  // --- ISkinManager ----------------------------------------------------------------------
  void RegisterSkinData(TSkinData& data) override;
  // Also gives back and frees every form skinner that uses the component.
  void UnregisterSkinData(TSkinData& data) override;
  void InstallHook() override;
  void SetPendingSkinData(TSkinData* data) override { pendingSkinData_ = data; }
  void ScheduleCommand(int command, int delayMs) override;
  int State() const override { return state_; }
  void SetState(int state) override { state_ = state; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  void ReloadSkinData(TSkinData& data) override;
  bool SkinWindow(HWND window) override;

  // --- Windows and skinners ------------------------------------------------------------
  bool Enabled() const { return enabled_; }
  void SkinForm(ui::TCustomForm& form);
  TWinSkinForm* FindFormSkinner(HWND window) const;
  // Takes the entry out without freeing it (a skinner that is going away).
  void RemoveFormSkinner(TWinSkinForm* skinner);
  // Frees the skinners whose windows are gone.
  void PurgeFormSkinners();
  const std::vector<TWinSkinForm*>& FormSkinners() const { return formSkinners_; }
  bool AcceptWindow(HWND window, const std::wstring& className);
  TSkinData* FindSkinData(HWND window) const;
  // The application form whose window this is, else the framework control stored in the
  // window's property, else null.
  static ui::TComponent* FindFrameworkForm(HWND window);
  void RefreshSkinData();
  void SetMDIMaximized(bool maximized);
  bool MDIMaximized() const { return mdiMaximized_; }
  const std::vector<TSkinData*>& SkinDatas() const { return skinDatas_; }
  TSkinData* MainSkinData() const { return mainSkinData_; }
  TSkinData* PendingSkinData() const { return pendingSkinData_; }
  int Command() const { return command_; }
  void SetReskinWindow(HWND window) { reskinWindow_ = window; }
  // Runs the pending command now (the timer's tick).
  void RunCommand();

  // --- Values the form skinners read and write ------------------------------------------
  int PopupKind() const { return popupKind_; }
  void SetPopupKind(int kind) { popupKind_ = kind; }
  bool PopupsFromMenuBar() const { return popupsFromMenuBar_; }
  void SetPopupsFromMenuBar(bool value) { popupsFromMenuBar_ = value; }
  bool HideWhileSkinning() const { return hideWhileSkinning_; }
  void SetHideWhileSkinning(bool value) { hideWhileSkinning_ = value; }
  const void* ModuleTag() const { return moduleTag_; }
  // The MDI frame of the application: its client window and its form skinner.
  HWND MDIClient() const { return mdiClient_; }
  TWinSkinForm* MDIFrame() const { return mdiFrame_; }
  void SetMDIFrame(HWND client, TWinSkinForm* frame) {
    mdiClient_ = client;
    mdiFrame_ = frame;
  }
  // The maximised MDI child record.
  HWND MaximizedChild() const { return maximizedChild_; }
  void SetMaximizedChild(HWND child) { maximizedChild_ = child; }

  // --- Popup menu windows -------------------------------------------------------------
  // Gives a popup menu window its skinner when the popup kind's menus are skinned.
  bool AddPopupMenu(HWND window);
  // Frees the window's popup skinner; the last one going resets PopupKind.
  bool RemovePopupMenu(HWND window);
  bool IsPopupSkinned(HWND window) const;
  const std::vector<std::unique_ptr<TWinSkinPopMenu>>& PopupSkinners() const {
    return popupSkinners_;
  }
  // Marks every popup skinner (as PopupsFromMenuBar marks new ones).
  void MarkPopups();
  // Tells the popup skinner that shows this menu which menu it is: the one whose window
  // answers with it, else the newest one that has none yet.
  void AttachMenuToPopup(HMENU menu);
  // The rendered background of the popup window that shows this menu, and where its items'
  // coordinates start in it; no bitmap when no skinned popup shows the menu.
  struct PopupBackground {
    const ui::Bitmap* bitmap = nullptr;
    POINT clientOrigin{};
    skin::MenuItemCache* items = nullptr;  // the popup's composed items
  };
  PopupBackground PopupBitmap(HMENU menu) const;

  bool HookInstalled() const { return hook_ != nullptr; }
  // True once a manager has been destroyed: the hook procedure only passes calls on.
  static bool HookDisabled();

 private:
  static LRESULT CALLBACK CBTHook(int code, WPARAM wParam, LPARAM lParam);
  void RunPendingCommand();
  void OnCreateWindow(HWND window, const CBT_CREATEWNDW& create);
  void FreeFormSkinner(TWinSkinForm* skinner);
  static bool IsMDIChildMaximized(HWND mdiClient);

  std::unique_ptr<ui::TTimer> timer_;
  std::vector<TWinSkinForm*> formSkinners_;  // owned
  std::vector<std::unique_ptr<TWinSkinPopMenu>> popupSkinners_;
  std::vector<TSkinData*> skinDatas_;
  bool enabled_ = false;
  bool inSkinAll_ = false;
  int state_ = kNothingActivated;
  int popupKind_ = kPlainPopup;
  bool popupsFromMenuBar_ = false;
  bool mdiMaximized_ = false;
  // A window being skinned at its first activation is kept off the screen until its first
  // skinned paint (cloaked where the compositor can, else hidden).
  bool hideWhileSkinning_ = true;
  HWND mdiClient_ = nullptr;
  TWinSkinForm* mdiFrame_ = nullptr;
  HWND maximizedChild_ = nullptr;
  int command_ = 0;
  TSkinData* pendingSkinData_ = nullptr;
  TSkinData* mainSkinData_ = nullptr;
  const void* moduleTag_ = nullptr;
  HWND reskinWindow_ = nullptr;
  HHOOK hook_ = nullptr;
};
