#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/Component.h"

namespace ui {

// A layout that cannot be read: its line and what was wrong.
class EReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Component classes the form reader can create, by class name.
//
// Registration API (for other folders, e.g. the skin data component):
//
//   ui::RegisterComponentClass(TSkinData::StaticClass(),
//                              [](ui::TComponent* owner) { return new TSkinData(owner); });
//
// Call it before the first layout that names the class is read (at start-up). The class's
// properties are those its StaticClass() publishes (VELMO_DECLARE_CLASS, TClassInfo::Add):
// text, integer, enumeration, set, string list, object reference, event, and binary
// (TPropKind::Binary with setBinary: the reader hands over the bytes of a `{...}` value).
// The component is created with the form as owner, told BeginLoading(), given its
// properties in layout order, and told Loaded() once every component of the layout was
// read. A class that is not registered becomes a TInertComponent that keeps its properties
// as text and does nothing.
void RegisterComponentClass(const TClassInfo& info, TComponentFactory factory);
const TClassInfo* FindComponentClass(std::wstring_view name);

// A component of a class nobody registered: it keeps the values the layout gave it.
class TInertComponent : public TComponent {
 public:
  TInertComponent(TComponent* owner, std::wstring className);
  const TClassInfo& ClassType() const override { return *info_; }
  // Each property as written in the layout (binary ones as "<n bytes>").
  const std::map<std::wstring, std::wstring>& Values() const { return values_; }
  void SetValue(const std::wstring& name, const std::wstring& value) { values_[name] = value; }

 private:
  std::unique_ptr<TClassInfo> info_;
  std::map<std::wstring, std::wstring> values_;
};

// Reads a layout into root: root takes the top object's name and properties, nested objects
// are created with root as owner and their enclosing object as parent. Events name methods
// of root (TCustomForm::MethodAddress). Throws EReadError.
void ReadComponent(TComponent& root, std::wstring_view layout);
// The same from an RCDATA resource of this module holding UTF-8 text.
void ReadComponentResource(TComponent& root, const wchar_t* resourceName);

}  // namespace ui
