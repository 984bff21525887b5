#include "ui/FormReader.h"

#include <cwctype>
#include <span>
#include <vector>

#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace ui {

namespace {

struct Registry {
  std::map<std::wstring, std::pair<const TClassInfo*, TComponentFactory>, std::less<>> classes;
};

Registry& Classes() {
  static Registry registry;
  return registry;
}

template <typename T>
void Add() {
  RegisterComponentClass(T::StaticClass(), [](TComponent* owner) { return new T(owner); });
}

void RegisterFrameworkClasses() {
  static const bool done = [] {
    Add<TEdit>(), Add<TTntEdit>(), Add<TButton>(), Add<TTntButton>(), Add<TBitBtn>(),
        Add<TTntBitBtn>();
    Add<TCheckBox>(), Add<TTntCheckBox>(), Add<TRadioButton>(), Add<TTntRadioButton>();
    Add<TComboBox>(), Add<TTntComboBox>(), Add<TPanel>(), Add<TTntPanel>(), Add<TGroupBox>(),
        Add<TTntGroupBox>();
    Add<TLabel>(), Add<TTntLabel>(), Add<TImage>(), Add<TTntImage>(), Add<TSpeedButton>(),
        Add<TTntSpeedButton>();
    Add<TTimer>(), Add<TImageList>(), Add<TListView>(), Add<TTntListView>(), Add<TStatusBar>(),
        Add<TTntStatusBar>();
    Add<TProgressBar>(), Add<TTntProgressBar>(), Add<TPageControl>(), Add<TTntPageControl>(),
        Add<TTabSheet>();
    Add<TTntTabSheet>(), Add<TPopupMenu>(), Add<TMainMenu>(), Add<TTntPopupMenu>(),
        Add<TMenuItem>(), Add<TTntMenuItem>();
    Add<TOpenDialog>(), Add<TTntOpenDialog>();
    return true;
  }();
  (void)done;
}

// ---- lexer -------------------------------------------------------------------------------

enum class Tok { End, Ident, String, Integer, Symbol, Binary };

struct Token {
  Tok kind = Tok::End;
  std::wstring text;
  std::vector<uint8_t> bytes;          // a binary value written in hexadecimal
  std::span<const uint8_t> resource;  // one kept in a resource of the program ({@NAME})
  wchar_t symbol = 0;
  int line = 0;

  std::span<const uint8_t> Bytes() const {
    return resource.empty() ? std::span<const uint8_t>(bytes) : resource;
  }
};

std::string Narrow(const std::wstring& s);

// The bytes of the program's RCDATA resource `name`, where the program has them mapped: the
// layouts, and the layouts' pictures and skin, which the build keeps as resources of their own.
bool FindProgramResource(const wchar_t* name, std::span<const uint8_t>& bytes) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  bytes = {static_cast<const uint8_t*>(data), SizeofResource(module, found)};
  return true;
}

class Lexer {
 public:
  explicit Lexer(std::wstring_view text) : text_(text) {}

  Token Next() {
    SkipBlanks();
    Token t;
    t.line = line_;
    if (pos_ >= text_.size()) return t;
    wchar_t c = text_[pos_];
    if (std::iswalpha(c) || c == L'_') {
      size_t start = pos_;
      while (pos_ < text_.size() &&
             (std::iswalnum(text_[pos_]) || text_[pos_] == L'_' || text_[pos_] == L'.'))
        ++pos_;
      t.kind = Tok::Ident;
      t.text = text_.substr(start, pos_ - start);
      return t;
    }
    if (c == L'\'' || c == L'#') return ReadString(t);
    if (std::iswdigit(c) || ((c == L'-' || c == L'$') && pos_ + 1 < text_.size())) {
      size_t start = pos_;
      if (c == L'-' || c == L'$') ++pos_;
      while (pos_ < text_.size() && std::iswxdigit(text_[pos_])) ++pos_;
      t.kind = Tok::Integer;
      t.text = text_.substr(start, pos_ - start);
      return t;
    }
    if (c == L'{') return ReadBinary(t);
    ++pos_;
    t.kind = Tok::Symbol;
    t.symbol = c;
    return t;
  }

  [[noreturn]] void Fail(int line, const std::string& what) const {
    throw EReadError("layout line " + std::to_string(line) + ": " + what);
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size()) {
      wchar_t c = text_[pos_];
      if (c == L'\n') {
        ++line_;
        ++pos_;
      } else if (std::iswspace(c) || c == 0xFEFF) {
        ++pos_;
      } else if (c == L'/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == L'/') {
        while (pos_ < text_.size() && text_[pos_] != L'\n') ++pos_;
      } else {
        break;
      }
    }
  }

  // 'text', '' for a quote, #12345 for a character, parts glued together, + across lines.
  Token ReadString(Token& t) {
    t.kind = Tok::String;
    for (;;) {
      if (pos_ < text_.size() && text_[pos_] == L'\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == L'\n') Fail(t.line, "unterminated string");
          if (text_[pos_] == L'\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == L'\'') {
              t.text += L'\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          t.text += text_[pos_++];
        }
      } else if (pos_ < text_.size() && text_[pos_] == L'#') {
        ++pos_;
        size_t start = pos_;
        while (pos_ < text_.size() && std::iswdigit(text_[pos_])) ++pos_;
        if (start == pos_) Fail(t.line, "character code expected after #");
        t.text += static_cast<wchar_t>(std::stoul(std::wstring(text_.substr(start, pos_ - start))));
      } else {
        size_t save = pos_;
        int saveLine = line_;
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == L'+') {
          ++pos_;
          SkipBlanks();
          continue;
        }
        pos_ = save;
        line_ = saveLine;
        return t;
      }
    }
  }

  Token ReadBinary(Token& t) {
    t.kind = Tok::Binary;
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == L'@') {
      const size_t end = text_.find(L'}', pos_);
      if (end == std::wstring_view::npos) Fail(t.line, "unterminated binary value");
      const std::wstring name(text_.substr(pos_ + 1, end - pos_ - 1));
      pos_ = end + 1;
      if (name.empty() || !FindProgramResource(name.c_str(), t.resource))
        Fail(t.line, "no resource " + Narrow(name) + " for a binary value");
      return t;
    }
    int high = -1;
    // Digits are read without a library call for each: a value may be long.
    const size_t end = text_.find(L'}', pos_);
    if (end != std::wstring_view::npos) t.bytes.reserve((end - pos_) / 2);
    while (pos_ < text_.size() && text_[pos_] != L'}') {
      wchar_t c = text_[pos_++];
      if (c == L'\n') ++line_;
      int v = -1;
      if (c >= L'0' && c <= L'9') {
        v = c - L'0';
      } else if (c >= L'a' && c <= L'f') {
        v = c - L'a' + 10;
      } else if (c >= L'A' && c <= L'F') {
        v = c - L'A' + 10;
      } else if (std::iswspace(c)) {
        continue;
      } else {
        Fail(t.line, "hexadecimal digit expected in binary value");
      }
      if (high < 0) {
        high = v;
      } else {
        t.bytes.push_back(static_cast<uint8_t>(high * 16 + v));
        high = -1;
      }
    }
    if (pos_ >= text_.size()) Fail(t.line, "unterminated binary value");
    if (high >= 0) Fail(t.line, "odd number of hexadecimal digits");
    ++pos_;
    return t;
  }

  std::wstring_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

// ---- reader ------------------------------------------------------------------------------

std::string Narrow(const std::wstring& s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr,
                              nullptr);
  std::string r(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), r.data(), n, nullptr,
                      nullptr);
  return r;
}

class Reader {
 public:
  Reader(TComponent& root, std::wstring_view text) : root_(root), lex_(text) { Advance(); }

  void Run() {
    ReadObject(nullptr);
    if (tok_.kind != Tok::End) lex_.Fail(tok_.line, "text after the last end");
    for (auto& fix : fixups_) {
      TComponent* target =
          SameText(fix.name, root_.Name()) ? &root_ : root_.FindComponent(fix.name);
      if (!target) lex_.Fail(fix.line, "no component named " + Narrow(fix.name));
      if (!fix.object->SetPropObject(fix.property, target)) {
        lex_.Fail(fix.line, "cannot set " + Narrow(fix.property) + " to " + Narrow(fix.name));
      }
    }
    for (TComponent* c : loaded_) c->Loaded();
  }

 private:
  struct Fixup {
    TPersistent* object;
    std::wstring property;
    std::wstring name;
    int line;
  };

  void Advance() { tok_ = lex_.Next(); }

  void Expect(wchar_t symbol) {
    if (tok_.kind != Tok::Symbol || tok_.symbol != symbol) {
      lex_.Fail(tok_.line, std::string("'") + static_cast<char>(symbol) + "' expected");
    }
    Advance();
  }

  std::wstring ExpectIdent(const char* what) {
    if (tok_.kind != Tok::Ident) lex_.Fail(tok_.line, std::string(what) + " expected");
    std::wstring text = tok_.text;
    Advance();
    return text;
  }

  void ReadObject(TComponent* parent) {
    if (tok_.kind != Tok::Ident || !SameText(tok_.text, L"object"))
      lex_.Fail(tok_.line, "object expected");
    int line = tok_.line;
    Advance();
    std::wstring name = ExpectIdent("component name");
    Expect(L':');
    std::wstring className = ExpectIdent("class name");
    TComponent* component = nullptr;
    if (!parent) {
      component = &root_;
    } else {
      const auto& classes = Classes().classes;
      auto it = classes.find(LowerCase(className));
      component =
          it == classes.end() ? new TInertComponent(&root_, className) : it->second.second(&root_);
      if (!component) lex_.Fail(line, "cannot create " + Narrow(className));
      component->SetName(name);
      component->BeginLoading();
      component->SetParentComponent(parent);
    }
    if (!parent) {
      root_.SetName(name);
      root_.BeginLoading();
    }
    loaded_.push_back(component);
    while (!(tok_.kind == Tok::Ident && SameText(tok_.text, L"end"))) {
      if (tok_.kind == Tok::End) lex_.Fail(line, "object " + Narrow(name) + " has no end");
      if (tok_.kind == Tok::Ident && SameText(tok_.text, L"object")) {
        ReadObject(component);
      } else {
        ReadProperty(*component);
      }
    }
    Advance();
  }

  void ReadProperty(TComponent& component) {
    int line = tok_.line;
    std::wstring path = ExpectIdent("property name");
    Expect(L'=');
    Token value = tok_;
    std::vector<std::wstring> list;
    if (value.kind == Tok::Symbol && value.symbol == L'[') {
      std::wstring set = L"[";
      Advance();
      while (!(tok_.kind == Tok::Symbol && tok_.symbol == L']')) {
        if (tok_.kind == Tok::Ident) {
          if (set.size() > 1) set += L",";
          set += tok_.text;
        } else if (!(tok_.kind == Tok::Symbol && tok_.symbol == L',')) {
          lex_.Fail(tok_.line, "set element expected");
        }
        Advance();
      }
      value.text = set + L"]";
    } else if (value.kind == Tok::Symbol && value.symbol == L'(') {
      Advance();
      while (!(tok_.kind == Tok::Symbol && tok_.symbol == L')')) {
        if (tok_.kind != Tok::String) lex_.Fail(tok_.line, "string expected in list");
        list.push_back(tok_.text);
        Advance();
      }
    } else if (value.kind == Tok::End || value.kind == Tok::Symbol) {
      lex_.Fail(line, "value expected for " + Narrow(path));
    }
    Advance();

    if (auto* inert = dynamic_cast<TInertComponent*>(&component)) {
      if (SameText(path, L"Name") || SameText(path, L"Tag")) {
        if (!component.SetPropText(path, value.text))
          lex_.Fail(line, "bad value for " + Narrow(path));
        return;
      }
      std::wstring text = value.kind == Tok::Binary
                              ? L"<" + std::to_wstring(value.Bytes().size()) + L" bytes>"
                          : !list.empty() ? L"(" + std::to_wstring(list.size()) + L" lines)"
                                          : value.text;
      inert->SetValue(path, text);
      return;
    }

    // "Font.Name": walk the object properties down to the last name.
    TPersistent* target = &component;
    std::wstring name = path;
    for (size_t dot; (dot = name.find(L'.')) != std::wstring::npos;) {
      TPersistent* inner = target->GetPropObject(name.substr(0, dot));
      if (!inner)
        lex_.Fail(line,
                  "no object property " + Narrow(name.substr(0, dot)) + " in " + Narrow(path));
      target = inner;
      name = name.substr(dot + 1);
    }
    auto kind = target->PropertyKind(name);
    if (!kind)
      lex_.Fail(line, "unknown property " + Narrow(path) + " of " + Narrow(component.ClassName()));
    bool ok = false;
    switch (*kind) {
      case TPropKind::Binary:
        ok = value.kind == Tok::Binary && target->SetPropBinary(name, value.Bytes());
        break;
      case TPropKind::Strings:
        ok = target->SetPropStrings(name, list);
        break;
      case TPropKind::Event:
        if (value.kind == Tok::Ident) {
          auto* form = dynamic_cast<TCustomForm*>(&root_);
          TNotifyEvent handler = form ? form->MethodAddress(value.text) : TNotifyEvent();
          if (!handler) lex_.Fail(line, "no method " + Narrow(value.text) + " for " + Narrow(path));
          ok = target->SetPropEvent(name, std::move(handler));
        }
        break;
      case TPropKind::Object:
        if (value.kind == Tok::Ident) {
          fixups_.push_back({target, name, value.text, line});
          ok = true;
        }
        break;
      default:
        ok = target->SetPropText(name, value.text);
        break;
    }
    if (!ok) lex_.Fail(line, "bad value for " + Narrow(path) + ": " + Narrow(value.text));
  }

  TComponent& root_;
  Lexer lex_;
  Token tok_;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> fixups_;
};

}  // namespace

void RegisterComponentClass(const TClassInfo& info, TComponentFactory factory) {
  Classes().classes[LowerCase(info.Name())] = {&info, std::move(factory)};
}

const TClassInfo* FindComponentClass(std::wstring_view name) {
  RegisterFrameworkClasses();
  auto it = Classes().classes.find(LowerCase(name));
  return it == Classes().classes.end() ? nullptr : it->second.first;
}

TInertComponent::TInertComponent(TComponent* owner, std::wstring className)
    : TComponent(owner),
      info_(std::make_unique<TClassInfo>(std::move(className), &TComponent::StaticClass())) {}

void ReadComponent(TComponent& root, std::wstring_view layout) {
  RegisterFrameworkClasses();
  Reader(root, layout).Run();
}

void ReadComponentResource(TComponent& root, const wchar_t* resourceName) {
  std::span<const uint8_t> bytes;
  if (!FindProgramResource(resourceName, bytes))
    throw EReadError("layout resource missing");
  const char* data = reinterpret_cast<const char*>(bytes.data());
  int size = static_cast<int>(bytes.size());
  int length = MultiByteToWideChar(CP_UTF8, 0, data, size, nullptr, 0);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, data, size, text.data(), length);
  ReadComponent(root, text);
}

}  // namespace ui
