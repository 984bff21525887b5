#pragma once

#include <string>
#include <string_view>

#include "ui/Persistent.h"

// Wrappers reach the controls they paint through published properties by name, so that they
// work on any control class that publishes the right names. A missing property is never an
// error: reads give -1 or empty text, writes are skipped.
namespace skin {

// An Integer property; -1 when it is missing or not an integer.
int IntProperty(const ui::TPersistent* object, std::wstring_view name);
// An enumeration's identifier ("bsSingle", "True"); empty when missing or not an enumeration.
std::wstring EnumProperty(const ui::TPersistent* object, std::wstring_view name);
// An enumeration (a Boolean mostly) whose identifier is "True", in any case.
bool BoolProperty(const ui::TPersistent* object, std::wstring_view name);
// A text property; empty when missing or not text.
std::wstring TextProperty(const ui::TPersistent* object, std::wstring_view name);
// An object property holding an object of `ofClass` or a descendant (any class when empty).
ui::TPersistent* ObjectProperty(const ui::TPersistent* object, std::wstring_view name,
                                std::wstring_view ofClass = {});
// Writes a property from text: integers in decimal, enumerations by identifier, text as is.
// False when the property is missing or does not take the text.
bool WriteProperty(ui::TPersistent* object, std::wstring_view name, const std::wstring& value);

}  // namespace skin
