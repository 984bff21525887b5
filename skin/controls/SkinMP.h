#pragma once

#include "skin/controls/SkinControl.h"

class TWMediaPlayer;

// Media players: a skinned panel (TWMediaPlayer) laid over the player in its parent, moved
// and shown with it, gone when the player is given back.
class TSkinMP : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinMP(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void RestoreControl() override;

  TWMediaPlayer* Panel() const { return panel_; }

 protected:
  void AfterMessage(ui::TMessage& message) override;
  // Off: the panel goes and the player shows its own buttons; on: the panel is back over them.
  void SkinningSwitched(bool active) override;
  void Notification(ui::TComponent* component, ui::TOperation operation) override;

 private:
  // The panel over the player: same parent, same bounds, same visibility, above it.
  void PlacePanel();

  TWMediaPlayer* panel_ = nullptr;  // owned
};
