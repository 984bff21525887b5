#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <initializer_list>
#include <vector>

#include "skin/data/SkinData.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Form.h"

// Which wrapper each child control of a skinned window gets. Wrappers are made by class name
// from the registry, so a row whose wrapper class is not registered leaves its control alone.

namespace {

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

bool OneOf(const std::wstring& name, std::initializer_list<const wchar_t*> names) {
  return std::any_of(names.begin(), names.end(), [&](const wchar_t* n) { return name == n; });
}

bool Has(const TSkinData& data, int controlType) {
  return (data.SkinControls() & Bit(controlType)) != 0;
}

bool SkinHasTabs(const TSkinData& data) { return data.Records().Tabs != nullptr; }

LONG Style(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// Published properties the classification reads and writes.
std::wstring EnumText(const ui::TControl& control, std::wstring_view name) {
  if (control.PropertyKind(name) != ui::TPropKind::Enum) return {};
  return control.GetPropText(name).value_or(std::wstring());
}

int IntegerOf(const ui::TControl& control, std::wstring_view name) {
  if (control.PropertyKind(name) != ui::TPropKind::Integer) return -1;
  return control.GetPropInt(name).value_or(-1);
}

// Makes a wrapper of the class for the control and attaches it; null while the class is not
// registered.
TControlWrapper* Wrap(TWinSkinForm& form, std::wstring_view wrapperClass, ui::TControl& control,
                      bool applyColour = false, const WrapperSettings& settings = {}) {
  TControlWrapper* wrapper = skin::CreateWrapper(wrapperClass, &control);
  if (!wrapper) return nullptr;
  wrapper->Configure(settings);
  wrapper->AttachControl(form, *form.SkinData(), applyColour, form.ControlCanvas());
  return wrapper;
}

// Scroll-bar wrappers attach through their own operation.
TControlWrapper* WrapScrolling(TWinSkinForm& form, std::wstring_view wrapperClass,
                               ui::TControl& control, const WrapperSettings& settings = {}) {
  auto* windowed = dynamic_cast<ui::TWinControl*>(&control);
  if (!windowed) return nullptr;
  TControlWrapper* wrapper = skin::CreateWrapper(wrapperClass, &control);
  if (!wrapper) return nullptr;
  wrapper->Configure(settings);
  wrapper->AttachScrolling(*windowed, *form.SkinData(), form, form.ControlCanvas());
  return wrapper;
}

// A wrapper for a window that no framework control stands behind; the form skinner owns it.
TControlWrapper* WrapWindow(TWinSkinForm& form, std::wstring_view wrapperClass, HWND window) {
  if (!window) return nullptr;
  TControlWrapper* wrapper = skin::CreateWrapper(wrapperClass, &form);
  if (!wrapper) return nullptr;
  wrapper->AttachWindow(window, *form.SkinData(), form, form.ControlCanvas());
  return wrapper;
}

// The control answers the skin query, or a wrapper of the list wraps it or its window.
bool IsWrappedControl(const TWinSkinForm& form, ui::TControl& control) {
  if (control.Perform(skin::WM_SKINQUERY) == 1) return true;
  for (TControlWrapper* wrapper : form.Controls()) {
    if (wrapper->Owner() == &control) return true;
  }
  auto* windowed = dynamic_cast<ui::TWinControl*>(&control);
  return windowed && windowed->HandleAllocated() && form.IsWrapped(windowed->WindowHandle());
}

WrapperSettings Mode(int mode) {
  WrapperSettings settings;
  settings.mode = mode;
  return settings;
}

WrapperSettings ExtendedCombo() {
  WrapperSettings settings;
  settings.extendedCombo = true;
  return settings;
}

WrapperSettings SingleBar() {
  WrapperSettings settings;
  settings.singleBar = true;
  return settings;
}

bool HasScrollBars(HWND window) { return (Style(window) & (WS_HSCROLL | WS_VSCROLL)) != 0; }

bool HasBorder(HWND window) {
  RECT w{}, c{};
  GetWindowRect(window, &w);
  GetClientRect(window, &c);
  return w.right - w.left != c.right || w.bottom - w.top != c.bottom;
}

}  // namespace

void TWinSkinForm::SkinFormControls(ui::TCustomForm& form) {
  if (!skinData_) return;
  PurgeEndedControls();
  WalkComponents(form);
  if (Has(*skinData_, xcPopupMenu)) InstallItemPainters(form, true);
  for (ui::TWinControl* control : form.TabOrderList()) {
    if (!control->HandleAllocated() || control->Tag() == skinData_->DisableTag()) continue;
    if (SendMessageW(control->WindowHandle(), skin::WM_SKINQUERY, 0, 0) == 1) continue;
    ClassifyControl(*control, &form);
  }
}

void TWinSkinForm::WalkComponents(ui::TComponent& component) {
  const std::vector<ui::TComponent*> owned = component.Components();
  for (ui::TComponent* c : owned) {
    if (auto* control = dynamic_cast<ui::TControl*>(c)) ClassifyControl(*control, &component);
  }
}

void TWinSkinForm::WalkControls(ui::TWinControl& control) {
  const std::vector<ui::TControl*> children = control.Controls();
  for (ui::TControl* child : children) ClassifyControl(*child, &control);
}

void TWinSkinForm::ClassifyControl(ui::TControl& control, ui::TComponent* container) {
  if (!skinData_) return;
  TSkinData& data = *skinData_;
  auto* windowed = dynamic_cast<ui::TWinControl*>(&control);

  if (control.Tag() == data.DisableTag()) {
    // A group left alone leaves its items alone too.
    const std::wstring lower = ui::LowerCase(control.ClassName());
    if (windowed && (lower.find(L"radiogroup") != std::wstring::npos ||
                     lower.find(L"checkgroup") != std::wstring::npos)) {
      for (ui::TControl* child : windowed->Controls()) child->SetTag(data.DisableTag());
    }
    return;
  }
  if (!control.Parent() || IsWrappedControl(*this, control)) return;
  const std::wstring name = Upper(control.ClassName());
  if (windowed && !windowed->HandleAllocated()) {
    try {
      windowed->HandleNeeded();
    } catch (...) {
      return;  // a control whose window cannot be made is skipped; the walk goes on
    }
    if (!windowed->HandleAllocated()) return;
  }

  if (data.OnSkinControl) {
    ui::TComponent* skinned = nullptr;
    data.OnSkinControl(*this, data, container, &control, name, skinned);
    if (skinned) {
      auto* wrapper = dynamic_cast<TControlWrapper*>(skinned);
      if (wrapper && std::find(controls_.begin(), controls_.end(), wrapper) == controls_.end())
        wrapper->AttachControl(*this, data, wrapper->ApplyColour(), ControlCanvas());
      if (windowed && control.InheritsFrom(L"TCustomPanel")) WalkControls(*windowed);
      return;
    }
  }

  if (ClassifyBySkin3rd(control.ClassName(), control)) return;
  if (OneOf(name, {L"TDBCOMBOBOXEH", L"TFRDESIGNERPAGE", L"TFRPBOX"})) return;

  const bool tabs = Has(data, xcTab) && SkinHasTabs(data);
  // 1 tab controls
  if (control.InheritsFrom(L"TCustomTabControl") && tabs) {
    if (!control.InheritsFrom(L"TPageControl"))
      Wrap(*this, L"TSkinTab", control, false, Mode(2));
    else if (ui::SameText(EnumText(control, L"Style"), L"tsTabs"))
      Wrap(*this, L"TSkinTab", control);
    else
      Wrap(*this, L"TSkinTabBtn", control);
    return;
  }
  // 2 tool buttons: their drop-down menus are painted by the menu painter
  if (control.InheritsFrom(L"TToolButton") && FrameOn()) {
    if (auto* menu = dynamic_cast<ui::TComponent*>(control.GetPropObject(L"DropdownMenu")))
      InstallItemPainters(*menu, true);
    return;
  }
  // 3 to 5 the other tab kinds
  if (name == L"TTABSET" && tabs) {
    Wrap(*this, L"TSkinTab31", control);
    return;
  }
  if (control.InheritsFrom(L"TTabSheet") && tabs) {
    Wrap(*this, L"TSkinTabSheet", control);
    return;
  }
  if (name == L"TTABBEDNOTEBOOK" && tabs) {
    Wrap(*this, L"TSkinTab", control);
    return;
  }
  // 6 a container without a look of its own
  if (name == L"TMVCPANEL") {
    if (windowed) WalkControls(*windowed);
    return;
  }
  // 7 to 13
  if (control.InheritsFrom(L"TCustomCheckBox") && Has(data, xcCheckBox)) {
    Wrap(*this, L"TSkinCheckBox", control);
    return;
  }
  if (OneOf(name, {L"TUPDOWN", L"TSPINBUTTON"}) && Has(data, xcSpin)) {
    Wrap(*this, L"TSkinUpDown", control);
    return;
  }
  if (name == L"TMEDIAPLAYER" && Has(data, xcButton)) {
    Wrap(*this, L"TSkinMP", control);
    return;
  }
  if (name == L"TDBNAVIGATOR" && Has(data, xcPanel)) {
    Wrap(*this, L"TSkinBox", control, true);
    if (windowed) {
      const std::vector<ui::TControl*> children = windowed->Controls();
      for (ui::TControl* child : children) ClassifyControl(*child, nullptr);
    }
    return;
  }
  if (OneOf(name, {L"TRZDBCHECKBOX", L"TRZCHECKBOX"}) && Has(data, xcCheckBox)) {
    Wrap(*this, L"TSkinObjImage", control, true, Mode(1));
    return;
  }
  if (OneOf(name, {L"TRZRADIOBUTTON", L"TRZDBRADIOBUTTON"}) && Has(data, xcRadioButton)) {
    Wrap(*this, L"TSkinObjImage", control, true, Mode(2));
    return;
  }
  if (OneOf(name, {L"TCXDBCHECKBOX", L"TCXCHECKBOX"}) && Has(data, xcCheckBox)) {
    Wrap(*this, L"TSkinObjImage", control, true, Mode(3));
    return;
  }
  // 14 to 19
  if (control.InheritsFrom(L"TCustomGroupBox") && Has(data, xcPanel)) {
    if (windowed) WalkControls(*windowed);
    Wrap(*this, L"TSkinGroupBox", control);
    return;
  }
  if (control.InheritsFrom(L"TRadioButton") && Has(data, xcRadioButton)) {
    Wrap(*this, L"TSkinRadioButton", control);
    return;
  }
  if (control.InheritsFrom(L"TCustomStatusBar") && Has(data, xcStatusBar)) {
    Wrap(*this, L"TSkinStatusBar", control);
    return;
  }
  if (control.InheritsFrom(L"TProgressBar") && Has(data, xcProgress)) {
    Wrap(*this, L"TSkinProgress", control);
    return;
  }
  if ((name == L"TTNTCOMBOBOX" || control.InheritsFrom(L"TCustomComboBox")) && Has(data, xcCombo)) {
    Wrap(*this, L"TSkinComBox", control);
    return;
  }
  // 20, 21 rich edits
  if (OneOf(name, {L"TRICHEDIT", L"TWWDBRICHEDIT", L"TDXDBMEMO"}) && Has(data, xcScrollbar)) {
    WrapScrolling(*this, L"TSkinScrollbar", control);
    return;
  }
  // 22 a bitmap button never falls through to the push-button row
  if (control.InheritsFrom(L"TBitBtn")) {
    if (Has(data, xcBitBtn)) Wrap(*this, L"TSkinBitButton", control);
    return;
  }
  // 23 to 29
  if (control.InheritsFrom(L"TSpeedButton") && Has(data, xcSpeedButton)) {
    Wrap(*this, L"TSkinSpeedButton", control);
    return;
  }
  if (control.InheritsFrom(L"TCustomPanel") && Has(data, xcPanel)) {
    if (windowed) WalkControls(*windowed);
    Wrap(*this, L"TSkinBox", control, true);
    return;
  }
  if (OneOf(name, {L"TDXTREELIST", L"TDXDBTREELIST", L"TDXDBGRID"}) && Has(data, xcScrollbar)) {
    WrapScrolling(*this, L"TSkinScrollbar", control);
    return;
  }
  if (control.InheritsFrom(L"TCustomListView") && Has(data, xcScrollbar)) {
    WrapScrolling(*this, L"TSkinListView", control);
    return;
  }
  if (windowed && HasScrollBars(windowed->WindowHandle()) && Has(data, xcScrollbar)) {
    WrapScrolling(*this, L"TSkinScrollbar", control);
    return;
  }
  if (control.InheritsFrom(L"TButton") && Has(data, xcButton)) {
    Wrap(*this, L"TSkinButton", control);
    return;
  }
  if (control.InheritsFrom(L"TCustomEdit") && Has(data, xcEdit)) {
    Wrap(*this, L"TSkinEdit", control);
    return;
  }
  // 30 forms embedded as controls
  if (!OneOf(name, {L"TDCEDIT", L"TDCDBEDIT"})) {
    if (control.InheritsFrom(L"TCustomForm")) {
      Wrap(*this, L"TSkinBox", control, true);
      WalkComponents(control);
    }
    return;
  }
  // 31 edits with buttons of another library
  const int buttons = IntegerOf(control, L"NumButtons");
  if (buttons == 1 && Has(data, xcCombo)) {
    Wrap(*this, L"TSkinComBox", control);
  } else if (buttons == 0 && Has(data, xcEdit) && windowed) {
    if (TControlWrapper* edit = skin::CreateWrapper(L"TSkinEdit", &control))
      edit->AttachWindow(windowed->WindowHandle(), data, *this, ControlCanvas());
  }
}

bool TWinSkinForm::ClassifyBySkin3rd(const std::wstring& className, ui::TControl& control) {
  if (!skinData_) return false;
  TSkinData& data = *skinData_;
  const std::wstring key = ui::LowerCase(className) + L"=";
  std::wstring kind;
  bool found = false;
  // Asked for every control against every line: compared in place, not lowered line by line.
  auto startsWithKey = [&](const std::wstring& line) {
    if (line.size() < key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i)
      if (static_cast<wchar_t>(std::towlower(line[i])) != key[i]) return false;
    return true;
  };
  for (const std::wstring& line : data.Skin3rd()) {
    if (!startsWithKey(line)) continue;
    kind = ui::LowerCase(line.substr(key.size(), 50));
    found = true;
    break;
  }
  if (!found) return false;

  auto* windowed = dynamic_cast<ui::TWinControl*>(&control);
  auto walk = [&] {
    if (windowed) WalkControls(*windowed);
  };
  // A group's items; one the walk (or anything else) wrapped already is left as it is.
  auto items = [&](auto&& each) {
    if (!windowed) return;
    const std::vector<ui::TControl*> children = windowed->Controls();
    for (ui::TControl* child : children)
      if (!IsWrappedControl(*this, *child)) each(*child);
  };

  if (kind == L"nil") {
  } else if (kind == L"combobox" && Has(data, xcCombo)) {
    Wrap(*this, L"TSkinComBox", control);
  } else if (kind == L"comboboxex" && Has(data, xcCombo)) {
    Wrap(*this, L"TSkinComBox", control, false, ExtendedCombo());
  } else if (kind == L"edit" && Has(data, xcEdit)) {
    if (windowed && HasBorder(windowed->WindowHandle())) Wrap(*this, L"TSkinEdit", control);
  } else if (kind == L"radiobutton" && Has(data, xcRadioButton)) {
    Wrap(*this, L"TSkinRadioButton", control);
  } else if (kind == L"panel" && Has(data, xcPanel)) {
    control.SetPropText(L"Transparent", L"True");
    Wrap(*this, L"TSkinBox", control, true);
  } else if (kind == L"trackbar" && Has(data, xcButton)) {
    control.SetPropText(L"Transparent", L"True");
    Wrap(*this, L"TSkinTrackBar", control);
  } else if (kind == L"button" && Has(data, xcButton)) {
    Wrap(*this, L"TSkinButton", control);
  } else if (kind == L"datetimepicker" && Has(data, xcCombo)) {
    Wrap(*this, L"TSkinDateTime", control);
  } else if (kind == L"mediaplayer" && Has(data, xcButton)) {
    Wrap(*this, L"TSkinMP", control);
  } else if (kind == L"bitbtn" && Has(data, xcButton)) {
    const bool dropDown =
        key == L"tcxbutton=" && ui::SameText(EnumText(control, L"Kind"), L"cxbkDropDownButton");
    Wrap(*this, dropDown ? L"TSkinMenuButton" : L"TSkinBitButton", control);
  } else if (kind == L"pngbitbtn" && Has(data, xcButton)) {
    Wrap(*this, L"TSkinBitButton", control, false, {.imageKind = L"PngImage"});
  } else if (kind == L"pngspeedbutton" && Has(data, xcButton)) {
    Wrap(*this, L"TSkinSpeedButton", control, false, {.imageKind = L"PngImage"});
  } else if (kind == L"menubtn" && Has(data, xcButton)) {
    Wrap(*this, L"TSkinMenuButton", control);
  } else if (kind == L"speedbutton" && Has(data, xcSpeedButton)) {
    Wrap(*this, L"TSkinSpeedButton", control);
  } else if (kind == L"tab" && Has(data, xcTab) && SkinHasTabs(data)) {
    Wrap(*this, L"TSkinTab", control);
  } else if (kind == L"progress" && Has(data, xcProgress)) {
    Wrap(*this, L"TSkinProgress", control);
  } else if (kind == L"scrollbar" && Has(data, xcScrollbar)) {
    WrapScrolling(*this, L"TSkinScrollbar", control);
    walk();
  } else if (kind == L"singlescrollbar" && Has(data, xcScrollbar)) {
    WrapScrolling(*this, L"TSkinScrollbar", control, SingleBar());
  } else if (kind == L"embedscrollbar" && Has(data, xcScrollbar)) {
    items([&](ui::TControl& child) {
      auto* w = dynamic_cast<ui::TWinControl*>(&child);
      if (w && w->HandleAllocated() && HasScrollBars(w->WindowHandle()))
        WrapScrolling(*this, L"TSkinScrollbar", child);
    });
  } else if (kind == L"container") {
    walk();
  } else if (kind == L"groupbox" && Has(data, xcGroupBox)) {
    Wrap(*this, L"TSkinGroupBox", control, true);
  } else if (kind == L"advpagecontrol" && Has(data, xcTab)) {
    Wrap(*this, L"TSkinAdvPage", control, true, Mode(4));
  } else if (kind == L"radiogroup" && Has(data, xcGroupBox)) {
    if (Has(data, xcRadioButton)) {
      items([&](ui::TControl& child) {
        if (Upper(child.ClassName()).find(L"TRZ") != std::wstring::npos)
          Wrap(*this, L"TSkinObjImage", child, true, Mode(2));
        else
          Wrap(*this, L"TSkinRadioButton", child);
      });
    }
    Wrap(*this, L"TSkinGroupBox", control, true);
  } else if (kind == L"checkgroup" && Has(data, xcPanel)) {
    if (Has(data, xcRadioButton)) {
      items([&](ui::TControl& child) {
        if (Upper(child.ClassName()).find(L"TRZ") != std::wstring::npos)
          Wrap(*this, L"TSkinObjImage", child, true, Mode(1));
        else
          Wrap(*this, L"TSkinCheckBox", child);
      });
    }
    if (Has(data, xcGroupBox)) Wrap(*this, L"TSkinGroupBox", control, true);
  } else if (kind == L"checkbox" && Has(data, xcCheckBox)) {
    Wrap(*this, L"TSkinCheckBox", control);
  }
  // Any other kind, or a kind whose switch is off: found, and left alone.
  return true;
}

// ---- windows without a framework form ------------------------------------------------------

void TWinSkinForm::SkinChildWindows(HWND window) {
  // Wrappers add windows of their own (scroll-bar overlays): walk what was there.
  std::vector<HWND> children;
  for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (Style(child) & WS_CHILD) children.push_back(child);
  }
  for (HWND child : children) {
    if (IsWindow(child)) ClassifyWindow(child);
  }
}

namespace {

// One pass over the plain-window table for a lower-case class name; false when no row names
// the class at all.
bool ClassifyWindowAs(TWinSkinForm& form, const std::wstring& name, HWND window) {
  const TSkinData& data = *form.SkinData();
  const LONG style = Style(window);
  const bool tabStop = (style & WS_TABSTOP) != 0;
  auto faceColour = [&](HWND w) {
    if (ui::TWinControl* control = ui::TWinControl::FromHandle(w))
      control->SetColor(static_cast<ui::TColor>(data.Records().Colours.ButtonFace));
  };
  if (name == L"button") {
    if (style & BS_BITMAP) return true;
    // By the type, not by bits of it: split buttons and command links are push buttons.
    switch (style & BS_TYPEMASK) {
      case BS_OWNERDRAW:
      case BS_GROUPBOX:
        return true;
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        if (Has(data, xcCheckBox)) WrapWindow(form, L"TSkinCheckBox", window);
        break;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        if (Has(data, xcRadioButton)) WrapWindow(form, L"TSkinRadioButton", window);
        break;
      default:
        if (Has(data, xcButton)) WrapWindow(form, L"TSkinButton", window);
        break;
    }
  } else if (name == L"combobox") {
    if (Has(data, xcCombo) && (style & 3) != CBS_SIMPLE) WrapWindow(form, L"TSkinComBox", window);
  } else if (name == L"comboboxex32") {
    if (Has(data, xcCombo)) WrapWindow(form, L"TSkinComBox", GetWindow(window, GW_CHILD));
  } else if (name == L"scrollbar") {
    if (!tabStop) WrapWindow(form, L"TSkinSizer", window);
  } else if (name == L"systreeview32") {
  } else if (name == L"#32770") {
    if (!tabStop) {
      form.SkinChildWindows(window);
      WrapWindow(form, L"TSkinBoxH", window);
    }
  } else if (OneOf(name,
                   {L"tpanel", L"ttntpanel.unicodeclass", L"ttntsilentpaintpanel.unicodeclass"})) {
    form.SkinChildWindows(window);
    faceColour(window);
  } else if (name == L"tcheckbox") {
    if (Has(data, xcCheckBox)) WrapWindow(form, L"TSkinCheckBox", window);
  } else if (name == L"tcombobox") {
    if (Has(data, xcCombo)) WrapWindow(form, L"TSkinComBox", window);
  } else if (name == L"tbutton") {
    if (Has(data, xcButton)) WrapWindow(form, L"TSkinButton", window);
  } else if (name == L"tprogressbar") {
    WrapWindow(form, L"TSkinProgress", window);
  } else if (name == L"tsilentpaintpanel") {
    faceColour(window);
  } else if (name == L"systabcontrol32") {
    if (Has(data, xcTab) && !(style & TCS_OWNERDRAWFIXED)) WrapWindow(form, L"TSkinTab", window);
  } else if (name == L"toolbarwindow32") {
    WrapWindow(form, L"TSkinBoxH", window);
  } else if (name == L"edit") {
    if (Has(data, xcEdit)) WrapWindow(form, L"TSkinEdit", window);
  } else {
    return false;
  }
  return true;
}

}  // namespace

void TWinSkinForm::ClassifyWindow(HWND window) {
  if (!skinData_) return;
  for (TControlWrapper* wrapper : controls_) {
    if (wrapper->WindowHandle() == window) return;
  }
  const std::wstring name = ui::LowerCase(ui::WindowClassName(window));
  if (ClassifyWindowAs(*this, name, window)) return;
  // The framework's own classes ("TTntButton.UnicodeClass") are known by the system class
  // they are built on.
  const std::wstring base = ui::LowerCase(ui::BaseWindowClass(name));
  if (!base.empty() && base != name) ClassifyWindowAs(*this, base, window);
}

bool TWinSkinForm::IsWrapped(HWND window) const {
  if (SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1) return true;
  for (TControlWrapper* wrapper : controls_)
    if (wrapper->WindowHandle() == window) return true;
  return false;
}
