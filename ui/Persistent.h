#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class TPersistent;
class TComponent;

// An event handler: it receives the object that raised the event.
using TNotifyEvent = std::function<void(TPersistent& sender)>;

enum class TPropKind { Text, Integer, Enum, Set, Object, Strings, Binary, Event };

// One published property. Only the accessors that fit its kind are set:
//   Text              getText / setText
//   Integer, Enum     getOrdinal / setOrdinal (Enum: ordinal into `identifiers`;
//                     Boolean is the enumeration {False, True})
//   Set               getOrdinal / setOrdinal on a bit mask over `identifiers`
//   Object            getObject / setObject (objectClass names what it holds)
//   Strings           getStrings / setStrings
//   Binary            setBinary (streamed, never read back as text)
//   Event             setEvent
struct TPropInfo {
  TPropInfo(std::wstring n, TPropKind k, std::vector<std::wstring> ids = {}, std::wstring cls = {})
      : name(std::move(n)), kind(k), identifiers(std::move(ids)), objectClass(std::move(cls)) {}
  std::wstring name;
  TPropKind kind = TPropKind::Text;
  std::vector<std::wstring> identifiers;
  std::wstring objectClass;
  std::function<std::wstring(const TPersistent&)> getText;
  std::function<void(TPersistent&, const std::wstring&)> setText;
  std::function<int(const TPersistent&)> getOrdinal;
  std::function<void(TPersistent&, int)> setOrdinal;
  std::function<TPersistent*(const TPersistent&)> getObject;
  std::function<void(TPersistent&, TPersistent*)> setObject;
  std::function<std::vector<std::wstring>(const TPersistent&)> getStrings;
  std::function<void(TPersistent&, const std::vector<std::wstring>&)> setStrings;
  std::function<void(TPersistent&, std::span<const uint8_t>)> setBinary;
  std::function<void(TPersistent&, TNotifyEvent)> setEvent;
  // Integer properties with names for some values (colours: "clWhite", "$00FF8000").
  std::function<bool(const std::wstring&, int&)> parseInteger;
  std::function<std::wstring(int)> formatInteger;
};

// A class of the framework: its name, its parent and the properties it publishes.
// Ancestry is answered by name, as the skin engine asks "is this a TCustomCheckBox?".
class TClassInfo {
 public:
  TClassInfo(std::wstring name, const TClassInfo* parent)
      : name_(std::move(name)), parent_(parent) {}
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::wstring& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(std::wstring_view className) const;
  // Own or inherited property, by name (case-insensitive, as the layouts are written).
  const TPropInfo* FindProperty(std::wstring_view name) const;
  std::vector<const TPropInfo*> Properties() const;  // inherited ones first

  TClassInfo& Add(TPropInfo prop);

  // Typed helpers for the common kinds; T is the class that owns the accessors.
  template <typename T>
  TClassInfo& Text(std::wstring name, std::wstring (T::*get)() const,
                   void (T::*set)(const std::wstring&)) {
    TPropInfo p(std::move(name), TPropKind::Text);
    p.getText = [get](const TPersistent& o) { return (static_cast<const T&>(o).*get)(); };
    if (set)
      p.setText = [set](TPersistent& o, const std::wstring& v) { (static_cast<T&>(o).*set)(v); };
    return Add(std::move(p));
  }
  template <typename T>
  TClassInfo& Integer(std::wstring name, int (T::*get)() const, void (T::*set)(int)) {
    TPropInfo p(std::move(name), TPropKind::Integer);
    p.getOrdinal = [get](const TPersistent& o) { return (static_cast<const T&>(o).*get)(); };
    if (set) p.setOrdinal = [set](TPersistent& o, int v) { (static_cast<T&>(o).*set)(v); };
    return Add(std::move(p));
  }
  template <typename T>
  TClassInfo& Boolean(std::wstring name, bool (T::*get)() const, void (T::*set)(bool)) {
    TPropInfo p(std::move(name), TPropKind::Enum, {L"False", L"True"});
    p.getOrdinal = [get](const TPersistent& o) {
      return (static_cast<const T&>(o).*get)() ? 1 : 0;
    };
    if (set) p.setOrdinal = [set](TPersistent& o, int v) { (static_cast<T&>(o).*set)(v != 0); };
    return Add(std::move(p));
  }
  template <typename T, typename E>
  TClassInfo& Enum(std::wstring name, std::vector<std::wstring> ids, E (T::*get)() const,
                   void (T::*set)(E)) {
    TPropInfo p(std::move(name), TPropKind::Enum, std::move(ids));
    p.getOrdinal = [get](const TPersistent& o) {
      return static_cast<int>((static_cast<const T&>(o).*get)());
    };
    if (set)
      p.setOrdinal = [set](TPersistent& o, int v) { (static_cast<T&>(o).*set)(static_cast<E>(v)); };
    return Add(std::move(p));
  }
  template <typename T, typename O>
  TClassInfo& Object(std::wstring name, std::wstring objectClass, O* (T::*get)() const) {
    TPropInfo p(std::move(name), TPropKind::Object, {}, std::move(objectClass));
    p.getObject = [get](const TPersistent& o) -> TPersistent* {
      return (static_cast<const T&>(o).*get)();
    };
    return Add(std::move(p));
  }
  template <typename T>
  TClassInfo& Event(std::wstring name, TNotifyEvent T::*field) {
    TPropInfo p(std::move(name), TPropKind::Event);
    p.setEvent = [field](TPersistent& o, TNotifyEvent e) {
      static_cast<T&>(o).*field = std::move(e);
    };
    return Add(std::move(p));
  }

 private:
  std::wstring name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
};

// Declares the class information of a framework class; define it with VELMO_CLASS_INFO.
#define VELMO_DECLARE_CLASS                     \
 public:                                        \
  static const ::ui::TClassInfo& StaticClass(); \
  const ::ui::TClassInfo& ClassType() const override { return StaticClass(); }

// Declares one more class name over a C++ class that adds no behaviour (TEdit over
// TCustomEdit, TTntEdit over TEdit), so that ancestry questions see each name.
#define VELMO_NAMED_CLASS(Class, Base) \
  class Class : public Base {          \
    VELMO_DECLARE_CLASS                \
   public:                             \
    using Base::Base;                  \
  };
#define VELMO_NAMED_CLASS_INFO(Class, Base)                         \
  const ::ui::TClassInfo& Class::StaticClass() {                    \
    static ::ui::TClassInfo info(L## #Class, &Base::StaticClass()); \
    return info;                                                    \
  }

// Root of the published-property classes: fonts, pictures, image lists and all components.
// Properties are read and written by name, as text or as their kind's value. Readers of
// integer properties decide themselves what a missing property means.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  static const TClassInfo& StaticClass();
  virtual const TClassInfo& ClassType() const { return StaticClass(); }

  const std::wstring& ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(std::wstring_view className) const {
    return ClassType().InheritsFrom(className);
  }

  bool HasProperty(std::wstring_view name) const {
    return ClassType().FindProperty(name) != nullptr;
  }
  std::optional<TPropKind> PropertyKind(std::wstring_view name) const;
  // Any readable property as text: integers in decimal, enumerations by identifier,
  // sets as "[a,b]", objects by their class name. Empty when missing or unreadable.
  std::optional<std::wstring> GetPropText(std::wstring_view name) const;
  // Integer and enumeration properties (the ordinal), sets (the mask).
  std::optional<int> GetPropInt(std::wstring_view name) const;
  // Object properties; with a class name, only an object of that class or a descendant.
  TPersistent* GetPropObject(std::wstring_view name, std::wstring_view ofClass = {}) const;
  std::vector<std::wstring> GetPropStrings(std::wstring_view name) const;
  // Writes from text: integers parsed as decimal, enumerations by identifier (any case),
  // sets as "[a,b]", text as is. False when missing, read-only or the text does not fit.
  bool SetPropText(std::wstring_view name, const std::wstring& value);
  bool SetPropInt(std::wstring_view name, int value);
  bool SetPropObject(std::wstring_view name, TPersistent* value);
  bool SetPropStrings(std::wstring_view name, const std::vector<std::wstring>& value);
  bool SetPropBinary(std::wstring_view name, std::span<const uint8_t> data);
  bool SetPropEvent(std::wstring_view name, TNotifyEvent handler);
};

bool SameText(std::wstring_view a, std::wstring_view b);
// The text in lower case, character by character (class names, identifiers).
std::wstring LowerCase(std::wstring_view text);

}  // namespace ui
