#pragma once

#include "skin/controls/SkinScrollbar.h"

class TSkinHeader;

// List views: the scroll-bar overlays and frame, and the report view's header drawn from the
// skin's Headerbar.
class TSkinListView : public TSkinScrollbar {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinListView(ui::TComponent* owner);

  void AttachScrolling(ui::TWinControl& control, TSkinData& skinData, TWinSkinForm& form,
                       HDC canvas) override;

  TSkinHeader* Header() const { return header_; }

 private:
  TSkinHeader* header_ = nullptr;  // owned as a component
};
