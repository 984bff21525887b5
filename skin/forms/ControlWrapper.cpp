#include "skin/forms/ControlWrapper.h"

#include <map>

namespace skin {

namespace {

std::map<std::wstring, WrapperFactory, std::less<>>& Factories() {
  static std::map<std::wstring, WrapperFactory, std::less<>> factories;
  return factories;
}

}  // namespace

void RegisterWrapperClass(std::wstring_view className, WrapperFactory factory) {
  Factories()[std::wstring(className)] = factory;
}

TControlWrapper* CreateWrapper(std::wstring_view className, ui::TComponent* owner) {
  auto it = Factories().find(className);
  return it == Factories().end() || !it->second ? nullptr : it->second(owner);
}

}  // namespace skin
