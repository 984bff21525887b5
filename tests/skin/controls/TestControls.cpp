#include "tests/skin/controls/TestControls.h"

namespace testcontrols {

namespace {

// Publishes a property through a getter on the object (and a setter when given).
template <typename T>
ui::TPropInfo TextOf(const wchar_t* name, std::wstring T::*field) {
  ui::TPropInfo p(name, ui::TPropKind::Text);
  p.getText = [field](const ui::TPersistent& o) { return static_cast<const T&>(o).*field; };
  return p;
}

ui::TPropInfo PictureOf(const wchar_t* name,
                        std::function<ui::TBitmapImage*(const ui::TPersistent&)> get) {
  ui::TPropInfo p(name, ui::TPropKind::Object, {}, L"TBitmap");
  p.getObject = [get](const ui::TPersistent& o) -> ui::TPersistent* { return get(o); };
  return p;
}

// The glyph properties of a holder reached through `of`.
void PublishGlyphs(ui::TClassInfo& info, const wchar_t* glyphName,
                   std::function<TGlyphProperties&(const ui::TPersistent&)> of) {
  info.Add(PictureOf(glyphName, [of](const ui::TPersistent& o) { return &of(o).glyphs; }));
  ui::TPropInfo transparent(L"TransparentColor", ui::TPropKind::Integer);
  transparent.getOrdinal = [of](const ui::TPersistent& o) { return of(o).transparent; };
  transparent.setOrdinal = [of](ui::TPersistent& o, int v) { of(o).transparent = v; };
  info.Add(std::move(transparent));
  ui::TPropInfo use(L"UseCustomGlyphs", ui::TPropKind::Enum, {L"False", L"True"});
  use.getOrdinal = [of](const ui::TPersistent& o) { return of(o).use ? 1 : 0; };
  use.setOrdinal = [of](ui::TPersistent& o, int v) {
    of(o).use = v != 0;
    of(o).useWrites.push_back(v != 0);
  };
  info.Add(std::move(use));
}

TGlyphProperties& OwnGlyphs(const ui::TPersistent& o) {
  return const_cast<TVendorBox&>(static_cast<const TVendorBox&>(o)).own;
}

}  // namespace

void TCommonControl::CreateParams(ui::TCreateParams& p) {
  ui::TWinControl::CreateParams(p);
  p.windowClass = ui::FrameworkWindowClass(*this);
  p.baseClass = base_;
  p.style |= style_;
}

VELMO_NAMED_CLASS_INFO(TTrackBar, ui::TWinControl)
VELMO_NAMED_CLASS_INFO(TDateTimePicker, ui::TWinControl)

const ui::TClassInfo& TMediaPlayer::StaticClass() {
  static ui::TClassInfo info(L"TMediaPlayer", &ui::TCustomControl::StaticClass());
  static const bool published = [] {
    info.Add(TextOf(L"VisibleButtons", &TMediaPlayer::visible))
        .Add(TextOf(L"EnabledButtons", &TMediaPlayer::enabled))
        .Add(TextOf(L"ColoredButtons", &TMediaPlayer::coloured));
    return true;
  }();
  (void)published;
  return info;
}

void TMediaPlayer::WndProc(ui::TMessage& m) {
  if (m.Msg == WM_LBUTTONDOWN)
    presses.push_back({static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))});
  ui::TCustomControl::WndProc(m);
}

const ui::TClassInfo& TTabSet::StaticClass() {
  static ui::TClassInfo info(L"TTabSet", &ui::TCustomControl::StaticClass());
  static const bool published = [] {
    ui::TPropInfo index(L"TabIndex", ui::TPropKind::Integer);
    index.getOrdinal = [](const ui::TPersistent& o) {
      return static_cast<const TTabSet&>(o).index;
    };
    ui::TPropInfo tabs(L"Tabs", ui::TPropKind::Strings);
    tabs.getStrings = [](const ui::TPersistent&) {
      return std::vector<std::wstring>{L"常规", L"输出", L"关于"};
    };
    info.Add(std::move(index)).Add(std::move(tabs));
    return true;
  }();
  (void)published;
  return info;
}

const ui::TClassInfo& TGlyphProperties::StaticClass() {
  static ui::TClassInfo info(L"TcxCheckBoxProperties", &ui::TPersistent::StaticClass());
  static const bool published = [] {
    PublishGlyphs(info, L"Glyph", [](const ui::TPersistent& o) -> TGlyphProperties& {
      return const_cast<TGlyphProperties&>(static_cast<const TGlyphProperties&>(o));
    });
    return true;
  }();
  (void)published;
  return info;
}

const ui::TClassInfo& TRzCheckBox::StaticClass() {
  static ui::TClassInfo info(L"TRzCheckBox", &ui::TButtonControl::StaticClass());
  static const bool published = [] {
    PublishGlyphs(info, L"CustomGlyphs", OwnGlyphs);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TRzRadioButton, TRzCheckBox)

const ui::TClassInfo& TcxCheckBox::StaticClass() {
  static ui::TClassInfo info(L"TcxCheckBox", &ui::TButtonControl::StaticClass());
  static const bool published = [] {
    ui::TPropInfo properties(L"Properties", ui::TPropKind::Object, {}, L"TcxCheckBoxProperties");
    properties.getObject = [](const ui::TPersistent& o) -> ui::TPersistent* {
      return &OwnGlyphs(o);
    };
    info.Add(std::move(properties));
    return true;
  }();
  (void)published;
  return info;
}

const ui::TClassInfo& TAdvPageControl::StaticClass() {
  static ui::TClassInfo info(L"TAdvPageControl", &ui::TCustomControl::StaticClass());
  static const bool published = [] {
    info
        .Add(PictureOf(
            L"TabBackGround",
            [](const ui::TPersistent& o) {
              return &const_cast<TAdvPageControl&>(static_cast<const TAdvPageControl&>(o)).normal;
            }))
        .Add(PictureOf(L"TabBackGroundActive", [](const ui::TPersistent& o) {
          return &const_cast<TAdvPageControl&>(static_cast<const TAdvPageControl&>(o)).active;
        }));
    return true;
  }();
  (void)published;
  return info;
}

}  // namespace testcontrols
