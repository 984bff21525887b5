#include "skin/controls/PropertyAccess.h"

namespace skin {

int IntProperty(const ui::TPersistent* object, std::wstring_view name) {
  if (!object || object->PropertyKind(name) != ui::TPropKind::Integer) return -1;
  return object->GetPropInt(name).value_or(-1);
}

std::wstring EnumProperty(const ui::TPersistent* object, std::wstring_view name) {
  if (!object || object->PropertyKind(name) != ui::TPropKind::Enum) return {};
  return object->GetPropText(name).value_or(std::wstring());
}

bool BoolProperty(const ui::TPersistent* object, std::wstring_view name) {
  return ui::SameText(EnumProperty(object, name), L"True");
}

std::wstring TextProperty(const ui::TPersistent* object, std::wstring_view name) {
  if (!object || object->PropertyKind(name) != ui::TPropKind::Text) return {};
  return object->GetPropText(name).value_or(std::wstring());
}

ui::TPersistent* ObjectProperty(const ui::TPersistent* object, std::wstring_view name,
                                std::wstring_view ofClass) {
  return object ? object->GetPropObject(name, ofClass) : nullptr;
}

bool WriteProperty(ui::TPersistent* object, std::wstring_view name, const std::wstring& value) {
  return object && object->SetPropText(name, value);
}

}  // namespace skin
