#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "skin/controls/SkinScrollbar.h"

class TSkinHeader;

// List views: the scroll-bar overlays and frame, the report view's header drawn from the
// skin's Headerbar, and the entries' check boxes drawn from the skin's check-box images.
class TSkinListView : public TSkinScrollbar {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinListView(ui::TComponent* owner);
  ~TSkinListView() override;

  void AttachScrolling(ui::TWinControl& control, TSkinData& skinData, TWinSkinForm& form,
                       HDC canvas) override;
  void RestoreControl() override;
  void SkinChanged() override;

  TSkinHeader* Header() const { return header_; }
  // The check-box images the list shows while skinned, or null.
  HIMAGELIST CheckImages() const { return skinChecks_; }

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void SkinningSwitched(bool active) override;

 private:
  void ApplyCheckImages();
  void GiveBackCheckImages();

  TSkinHeader* header_ = nullptr;     // owned as a component
  HIMAGELIST skinChecks_ = nullptr;   // ours, made from the skin
  HIMAGELIST savedChecks_ = nullptr;  // the list's own, put back when we let go
};
