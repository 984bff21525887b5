#include "ui/Persistent.h"

#include <cwctype>

namespace ui {

bool SameText(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

bool TClassInfo::InheritsFrom(std::wstring_view className) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    if (SameText(c->name_, className)) return true;
  }
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::wstring_view name) const {
  for (const TClassInfo* c = this; c; c = c->parent_) {
    // Later registrations override earlier ones of the same class.
    for (auto it = c->props_.rbegin(); it != c->props_.rend(); ++it) {
      if (SameText(it->name, name)) return &*it;
    }
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> result;
  if (parent_) result = parent_->Properties();
  for (const TPropInfo& p : props_) result.push_back(&p);
  return result;
}

TClassInfo& TClassInfo::Add(TPropInfo prop) {
  props_.push_back(std::move(prop));
  return *this;
}

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo object(L"TObject", nullptr);
  static const TClassInfo info(L"TPersistent", &object);
  return info;
}

std::optional<TPropKind> TPersistent::PropertyKind(std::wstring_view name) const {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p) return std::nullopt;
  return p->kind;
}

namespace {

std::optional<int> ParseInt(const std::wstring& text) {
  if (text.empty()) return std::nullopt;
  size_t used = 0;
  try {
    long long v = std::stoll(text, &used, 10);
    if (used != text.size() || v < INT32_MIN || v > UINT32_MAX) return std::nullopt;
    return static_cast<int>(v);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<int> FindIdentifier(const TPropInfo& p, std::wstring_view id) {
  for (size_t i = 0; i < p.identifiers.size(); ++i) {
    if (SameText(p.identifiers[i], id)) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::wstring Trim(std::wstring_view s) {
  size_t b = 0, e = s.size();
  while (b < e && std::iswspace(s[b])) ++b;
  while (e > b && std::iswspace(s[e - 1])) --e;
  return std::wstring(s.substr(b, e - b));
}

}  // namespace

std::optional<std::wstring> TPersistent::GetPropText(std::wstring_view name) const {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p) return std::nullopt;
  switch (p->kind) {
    case TPropKind::Text:
      if (p->getText) return p->getText(*this);
      break;
    case TPropKind::Integer:
      if (p->getOrdinal) {
        int v = p->getOrdinal(*this);
        return p->formatInteger ? p->formatInteger(v) : std::to_wstring(v);
      }
      break;
    case TPropKind::Enum:
      if (p->getOrdinal) {
        int v = p->getOrdinal(*this);
        if (v >= 0 && v < static_cast<int>(p->identifiers.size())) return p->identifiers[v];
        return std::to_wstring(v);
      }
      break;
    case TPropKind::Set:
      if (p->getOrdinal) {
        unsigned mask = static_cast<unsigned>(p->getOrdinal(*this));
        std::wstring text = L"[";
        for (size_t i = 0; i < p->identifiers.size() && i < 32; ++i) {
          if (mask & (1u << i)) {
            if (text.size() > 1) text += L",";
            text += p->identifiers[i];
          }
        }
        return text + L"]";
      }
      break;
    case TPropKind::Object:
      if (p->getObject) {
        TPersistent* o = p->getObject(*this);
        return o ? o->ClassName() : L"";
      }
      break;
    case TPropKind::Strings:
      if (p->getStrings) {
        std::wstring text;
        for (const auto& line : p->getStrings(*this)) text += line + L"\r\n";
        return text;
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

std::optional<int> TPersistent::GetPropInt(std::wstring_view name) const {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || !p->getOrdinal) return std::nullopt;
  if (p->kind != TPropKind::Integer && p->kind != TPropKind::Enum && p->kind != TPropKind::Set) {
    return std::nullopt;
  }
  return p->getOrdinal(*this);
}

TPersistent* TPersistent::GetPropObject(std::wstring_view name, std::wstring_view ofClass) const {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || p->kind != TPropKind::Object || !p->getObject) return nullptr;
  TPersistent* o = p->getObject(*this);
  if (o && !ofClass.empty() && !o->InheritsFrom(ofClass)) return nullptr;
  return o;
}

std::vector<std::wstring> TPersistent::GetPropStrings(std::wstring_view name) const {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || p->kind != TPropKind::Strings || !p->getStrings) return {};
  return p->getStrings(*this);
}

bool TPersistent::SetPropText(std::wstring_view name, const std::wstring& value) {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p) return false;
  switch (p->kind) {
    case TPropKind::Text:
      if (!p->setText) return false;
      p->setText(*this, value);
      return true;
    case TPropKind::Integer: {
      std::optional<int> v;
      int parsed = 0;
      if (p->parseInteger && p->parseInteger(Trim(value), parsed)) v = parsed;
      if (!v) v = ParseInt(Trim(value));
      if (!v || !p->setOrdinal) return false;
      p->setOrdinal(*this, *v);
      return true;
    }
    case TPropKind::Enum: {
      auto v = FindIdentifier(*p, Trim(value));
      if (!v || !p->setOrdinal) return false;
      p->setOrdinal(*this, *v);
      return true;
    }
    case TPropKind::Set: {
      std::wstring t = Trim(value);
      if (t.size() < 2 || t.front() != L'[' || t.back() != L']' || !p->setOrdinal) return false;
      unsigned mask = 0;
      size_t start = 1;
      while (start < t.size() - 1) {
        size_t comma = t.find(L',', start);
        if (comma == std::wstring::npos || comma > t.size() - 1) comma = t.size() - 1;
        std::wstring id = Trim(std::wstring_view(t).substr(start, comma - start));
        if (!id.empty()) {
          auto bit = FindIdentifier(*p, id);
          if (!bit) return false;
          mask |= 1u << *bit;
        }
        start = comma + 1;
      }
      p->setOrdinal(*this, static_cast<int>(mask));
      return true;
    }
    default:
      return false;
  }
}

bool TPersistent::SetPropInt(std::wstring_view name, int value) {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || !p->setOrdinal) return false;
  if (p->kind == TPropKind::Enum &&
      (value < 0 || value >= static_cast<int>(p->identifiers.size()))) {
    return false;
  }
  if (p->kind != TPropKind::Integer && p->kind != TPropKind::Enum && p->kind != TPropKind::Set) {
    return false;
  }
  p->setOrdinal(*this, value);
  return true;
}

bool TPersistent::SetPropObject(std::wstring_view name, TPersistent* value) {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || p->kind != TPropKind::Object || !p->setObject) return false;
  if (value && !p->objectClass.empty() && !value->InheritsFrom(p->objectClass)) return false;
  p->setObject(*this, value);
  return true;
}

bool TPersistent::SetPropStrings(std::wstring_view name, const std::vector<std::wstring>& value) {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || p->kind != TPropKind::Strings || !p->setStrings) return false;
  p->setStrings(*this, value);
  return true;
}

bool TPersistent::SetPropBinary(std::wstring_view name, std::span<const uint8_t> data) {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || p->kind != TPropKind::Binary || !p->setBinary) return false;
  p->setBinary(*this, data);
  return true;
}

bool TPersistent::SetPropEvent(std::wstring_view name, TNotifyEvent handler) {
  const TPropInfo* p = ClassType().FindProperty(name);
  if (!p || p->kind != TPropKind::Event || !p->setEvent) return false;
  p->setEvent(*this, std::move(handler));
  return true;
}

}  // namespace ui
