#include "ui/Component.h"

#include <algorithm>

namespace ui {

const TClassInfo& TComponent::StaticClass() {
  static TClassInfo info(L"TComponent", &TPersistent::StaticClass());
  static const bool published = [] {
    info.Text<TComponent>(L"Name", &TComponent::Name, &TComponent::SetName)
        .Integer<TComponent>(L"Tag", &TComponent::Tag, &TComponent::SetTag);
    return true;
  }();
  (void)published;
  return info;
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
  destroying_ = true;
  // Whoever asked to hear of our end hears it before we go.
  for (TComponent* c : std::vector<TComponent*>(freeNotifies_)) {
    c->RemoveFreeNotification(this);
    c->Notification(this, TOperation::Remove);
  }
  freeNotifies_.clear();
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

TComponent* TComponent::FindComponent(std::wstring_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    // The component removes itself from this list in its destructor.
    delete last;
    if (!components_.empty() && components_.back() == last) components_.pop_back();
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::Remove) RemoveFreeNotification(component);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
    freeNotifies_.push_back(component);
  }
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end()) {
    component->freeNotifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  std::erase(freeNotifies_, component);
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  Notification(component, TOperation::Insert);
}

void TComponent::Remove(TComponent* component) {
  std::erase(components_, component);
  component->owner_ = nullptr;
  if (!destroying_) {
    Notification(component, TOperation::Remove);
    for (TComponent* c : components_) c->Notification(component, TOperation::Remove);
  }
}

}  // namespace ui
