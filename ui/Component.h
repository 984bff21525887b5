#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/Persistent.h"

namespace ui {

enum class TOperation { Insert, Remove };

// A named object in an ownership tree. An owner frees the components it owns when it goes,
// last created first. Forms own every component of their layout.
//
// Published: Name, Tag. Subclasses publish more through their StaticClass() (see
// VELMO_DECLARE_CLASS / TClassInfo); the form reader sets properties through that table.
class TComponent : public TPersistent {
  VELMO_DECLARE_CLASS
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  std::wstring Name() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // An owned component by name (case-insensitive), or null.
  TComponent* FindComponent(std::wstring_view name) const;

  // Frees every owned component now, last created first.
  void DestroyComponents();

  // True from creation by the form reader until Loaded() ran.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // The form reader calls this once every component of a layout has its properties.
  virtual void Loaded() { loading_ = false; }

  // Told when a component is inserted into or removed from the owner's tree, or when a
  // component this one asked FreeNotification() of goes away.
  virtual void Notification(TComponent* component, TOperation operation);
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  bool Destroying() const { return destroying_; }

  // The form reader nests objects: a control goes into its enclosing control, a menu item
  // into its menu. The default ignores the nesting.
  virtual void SetParentComponent(TComponent* parent) { (void)parent; }

 protected:
  void SetDestroying() { destroying_ = true; }

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);

  TComponent* owner_ = nullptr;
  std::wstring name_;
  int tag_ = 0;
  bool loading_ = false;
  bool destroying_ = false;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};

}  // namespace ui
