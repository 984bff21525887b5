#include "skin/data/SkinData.h"

#include "skin/data/QuickIni.h"
#include "skin/data/SkinLimits.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinMetrics.h"
#include "skin/data/SkinPackageWriter.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/FormReader.h"
#include "ui/UniqueHandle.h"

namespace {

constexpr int kCommandDelayMs = 250;

const std::vector<std::wstring> kControlTypeNames = {
    L"xcMainMenu",   L"xcPopupMenu", L"xcMenuItem",    L"xcToolbar",     L"xcControlbar",
    L"xcCombo",      L"xcCheckBox",  L"xcRadioButton", L"xcProgress",    L"xcScrollbar",
    L"xcEdit",       L"xcButton",    L"xcBitBtn",      L"xcSpeedButton", L"xcSpin",
    L"xcPanel",      L"xcGroupBox",  L"xcStatusBar",   L"xcTab",         L"xcTrackBar",
    L"xcSystemMenu", L"xcFastReport"};
const std::vector<std::wstring> kOptionNames = {
    L"xoMDIScrollbar",     L"xoMenuMerge",   L"xoTransparent",  L"xoPreview",
    L"xoParentBackGround", L"xoNoFocusRect", L"xoToolbarBK",    L"xoToolbarButton",
    L"xoMDIChildBorder",   L"xoMenuBG",      L"xoFormScrollbar"};

ui::TPropInfo SetProperty(const wchar_t* name, const std::vector<std::wstring>& ids,
                          std::uint32_t (TSkinData::*get)() const,
                          void (TSkinData::*set)(std::uint32_t)) {
  ui::TPropInfo p(name, ui::TPropKind::Set, ids);
  p.getOrdinal = [get](const ui::TPersistent& o) {
    return static_cast<int>((static_cast<const TSkinData&>(o).*get)());
  };
  p.setOrdinal = [set](ui::TPersistent& o, int v) {
    (static_cast<TSkinData&>(o).*set)(static_cast<std::uint32_t>(v));
  };
  return p;
}

}  // namespace

const ui::TClassInfo& TSkinData::StaticClass() {
  static ui::TClassInfo info(L"TSkinData", &ui::TComponent::StaticClass());
  static const bool published = [] {
    info.Boolean<TSkinData>(L"Active", &TSkinData::Active, &TSkinData::SetActive)
        .Integer<TSkinData>(L"DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
        .Add(SetProperty(L"SkinControls", kControlTypeNames, &TSkinData::SkinControls,
                         &TSkinData::SetSkinControls))
        .Add(SetProperty(L"Options", kOptionNames, &TSkinData::Options, &TSkinData::SetOptions));
    ui::TPropInfo lines(L"Skin3rd", ui::TPropKind::Strings);
    lines.getStrings = [](const ui::TPersistent& o) {
      return static_cast<const TSkinData&>(o).Skin3rd();
    };
    lines.setStrings = [](ui::TPersistent& o, const std::vector<std::wstring>& v) {
      static_cast<TSkinData&>(o).SetSkin3rd(v);
    };
    info.Add(std::move(lines))
        .Text<TSkinData>(L"SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
        .Text<TSkinData>(L"SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
        .Enum<TSkinData, TSkinFormType>(L"SkinFormtype",
                                        {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"},
                                        &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
        .Text<TSkinData>(L"Version", &TSkinData::Version, &TSkinData::SetVersion)
        .Boolean<TSkinData>(L"MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
        .Boolean<TSkinData>(L"MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
        .Event<TSkinData>(L"OnSkinChanged", &TSkinData::OnSkinChanged);
    // Streamed through its own definition, not published.
    ui::TPropInfo stream(L"SkinStream", ui::TPropKind::Binary);
    stream.setBinary = [](ui::TPersistent& o, std::span<const std::uint8_t> bytes) {
      static_cast<TSkinData&>(o).ReadSkinStream(bytes);
    };
    info.Add(std::move(stream));
    return true;
  }();
  (void)published;
  return info;
}

void TSkinData::RegisterClass() {
  ui::RegisterComponentClass(StaticClass(),
                             [](ui::TComponent* owner) { return new TSkinData(owner); });
}

std::vector<std::wstring> TSkinData::DefaultSkin3rd() {
  const std::pair<const wchar_t*, std::vector<const wchar_t*>> groups[] = {
      {L"scrollbar",
       {L"TCategoryButtons", L"TVirtualStringTree", L"TVirtualDrawTree", L"TAdvPanelGroup",
        L"THTMLViewer", L"TDBCtrlGrid", L"TImageEnMView", L"TImageEnView", L"TAdvMemo",
        L"TDBAdvMemo"}},
      {L"pngspeedbutton", {L"TPngSpeedbutton"}},
      {L"pngbitbtn", {L"TPngBitBtn"}},
      {L"Panel",
       {L"TTBXDockablePanel", L"TControlBar", L"TTBDock", L"TTBToolbar", L"TRzGroup",
        L"TLMDCalculator", L"TLMDGROUPBOX", L"TLMDSIMPLEPANEL", L"TLMDDBCalendar",
        L"TLMDButtonPanel", L"TLMDLMDCalculator", L"TLMDHeaderPanel", L"TLMDTechnicalLine",
        L"TLMDLMDClock", L"TLMDTrackbar"}},
      {L"combobox", {L"TComboboxex",          L"TcxDBLookupComboBox",    L"TcxDBComboBox",
                     L"TcxDBDateEdit",        L"TcxDBImageComboBox",     L"TcxDBCalcEdit",
                     L"TcxDBBlobEdit",        L"TcxDBPopupEdit",         L"TcxDBFontNameComboBox",
                     L"TcxDBShellComboBox",   L"TRxLookupEdit",          L"TRxDBLookupCombo",
                     L"TRzDateTimeEdit",      L"TRzColorEdit",           L"TRzDateTimePicker",
                     L"TRzDBDateTimeEdit",    L"TRzDbColorEdit",         L"TRzDBDateTimePicker",
                     L"TLMDListCombobox",     L"TLMDCheckListCombobox",  L"TLMDHeaderListCombobox",
                     L"TLMDImageCombobox",    L"TLMDColorCombobox",      L"TLMDFontCombobox",
                     L"TLMDFontSizeCombobox", L"TLMDFontSizeCombobox",   L"TLMDPrinterCombobox",
                     L"TLMDDriveCombobox",    L"TLMDCalculatorComboBox", L"TLMDTrackBarComboBox",
                     L"TLMDCalendarComboBox", L"TLMDTreeComboBox",       L"TDBLookupCombobox",
                     L"TWWDBCombobox",        L"TWWDBCombobox",          L"TWWDBLookupCombo",
                     L"TWWKeyCombo",          L"TWWTempKeyCombo",        L"TWWDBDateTimePicker"}},
      {L"speedbutton", {L"TRxSpeedButton", L"TfrSpeedButton", L"TfrTBButton"}},
      {L"button", {L"TRzButton"}},
      {L"bitbtn", {L"TRzBitbtn", L"TLMDButton", L"TcxButton"}},
      {L"menubtn", {L"TRzMenuButton"}},
      {L"CheckGroup", {L"TRzCheckGroup", L"TLMDCheckGroup", L"TLMDDBCheckGroup"}},
      {L"Radiogroup",
       {L"TRzRadioGroup", L"TRzDBRadioGroup", L"TLMDRADIOGROUP", L"TLMDDBRADIOGROUP",
        L"TWWRADIOGROUP", L"TcxDBRadioGroup", L"TcxRadioGroup"}},
      {L"Radiobutton", {L"TRzDBRadioButton", L"TLMDRadiobutton"}},
      {L"Edit",
       {L"TRzButtonEdit",     L"TLMDCalculatorEdit", L"TLMDEDIT",           L"TLMDMASKEDIT",
        L"TLMDBROWSEEDIT",    L"TLMDEXTSPINEDIT",    L"TLMDCALENDAREDIT",   L"TLMDFILEOPENEDIT",
        L"TLMDFILESAVEEDIT",  L"TLMDCOLOREDIT",      L"TLMDDBEDIT",         L"TLMDDBMASKEDIT",
        L"TLMDDBEXTSPINEDIT", L"TLMDDBSPINEDIT",     L"TLMDDBEDITDBLookup", L"TLMDEDITDBLookup",
        L"TWWDBEDIT",         L"TOVCPICTUREFIELD",   L"TOVCDBPICTUREFIELD", L"TOVCSLIDEREDIT",
        L"TOVCDBSLIDEREDIT",  L"TOVCSIMPLEFIELD",    L"TOVCDBSIMPLEFIELD",  L"TO32DBFLEXEDIT",
        L"TOVCNUMERICFIELD",  L"TOVCDBNUMERICFIELD"}},
      {L"Groupbox", {L"TLMDGroupBox", L"TcxGroupbox"}},
      {L"Checkbox", {L"TDBCheckboxEh", L"TDBCheckboxEh", L"TLMDCHECKBOX", L"TLMDDBCHECKBOX"}},
  };
  std::vector<std::wstring> lines;
  for (const auto& [kind, classes] : groups) {
    for (const wchar_t* c : classes) lines.push_back(std::wstring(c) + L"=" + kind);
  }
  return lines;
}

std::function<void(const wchar_t*)>& TSkinData::OlderSkinNotice() {
  static std::function<void(const wchar_t*)> notice = [](const wchar_t* text) {
    const std::wstring title = ui::Application().Title();
    MessageBoxW(GetActiveWindow(), text, title.c_str(), MB_OK);
  };
  return notice;
}

TSkinData::TSkinData(ui::TComponent* owner)
    : ui::TComponent(owner),
      skinControls_(0x3FFFFF & ~(Bit(xcMenuItem) | Bit(xcFastReport))),
      skin3rd_(DefaultSkin3rd()),
      menuGlyphs_(ImageList_LoadImageW(GetModuleHandleW(nullptr), L"QUARNELMENU", 16, 0,
                                       RGB(255, 255, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION)),
      maximized_{GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)} {}

TSkinData::~TSkinData() {
  if (ISkinManager* manager = skin::SkinManager(); manager && registered_) {
    manager->UnregisterSkinData(*this);
  }
}

void TSkinData::ReadSkinStream(std::span<const std::uint8_t> payload) {
  if (payload.size() < 4) return;
  const std::int32_t length =
      static_cast<std::int32_t>(payload[0] | payload[1] << 8 | payload[2] << 16 |
                                static_cast<std::uint32_t>(payload[3]) << 24);
  if (length <= 0) return;
  // A length beyond the data is a damaged layout: keep no part of it rather than guess.
  if (static_cast<std::size_t>(length) > payload.size() - 4) return;
  stored_.assign(payload.begin() + 4, payload.begin() + 4 + length);
  LoadSkin();
}

std::vector<std::uint8_t> TSkinData::WriteSkinStream() const { return FrameStoredSkin(stored_); }

bool TSkinData::LoadSkin() {
  noSkinParsed_ = true;
  // A damaged skin, or one beyond the load limits, is refused as quietly as a missing one:
  // nothing is skinned, the program goes on. Nothing it raises (a table that cannot be had, a
  // bitmap GDI will not make) may leave the load, which runs while a form is read.
  try {
    TSkinReader reader;
    const PackageStatus status = reader.ReadPackage(stored_);
    if (status == PackageStatus::OlderFormat) OlderSkinNotice()(kOlderSkinMessage);
    if (status != PackageStatus::Ok) return false;
    std::vector<std::uint8_t> text;
    reader.ExtractByPart(".ini", text);
    if (text.size() > skin_limits::kMaxIniSize) return false;
    TQuickIni ini;
    ini.LoadFromStream(text);
    if (!ParseSkin(records_, reader, ini)) return false;
  } catch (const std::exception&) {
    return false;
  }
  noSkinParsed_ = false;
  return true;
}

void TSkinData::SetSkinFile(const std::wstring& name) {
  noSkinParsed_ = true;
  skinFile_ = name;
  if (name.empty()) return;
  // Read with the system's own calls: the program links no C++ streams for one file.
  ui::UniqueHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION about{};
  if (!file || !GetFileInformationByHandle(file.get(), &about) ||
      (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return;
  const std::uint64_t size =
      (static_cast<std::uint64_t>(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
  if (size > skin_limits::kMaxStoredSize) {
    // Too large to hold a skin within the limits: not read, and loaded like a damaged one.
    stored_.clear();
  } else {
    std::vector<std::uint8_t> bytes(static_cast<size_t>(size));
    DWORD done = 0;
    if (size > 0 && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(size), &done,
                               nullptr) ||
                     done != size))
      return;
    stored_ = std::move(bytes);
  }
  LoadSkin();
  ApplySkinChange();
}

void TSkinData::ApplySkinChange() {
  if (Loading()) return;
  // Control manager interface point: until skin/forms registers its factory there is no
  // manager, and a changed skin only changes the records.
  if (!skin::SkinManager()) Loaded();
  ISkinManager* manager = skin::SkinManager();
  if (!manager) return;
  manager->SetPendingSkinData(this);
  manager->ReloadSkinData(*this);
  if (manager->State() == 1) manager->ScheduleCommand(ISkinManager::kRefresh, kCommandDelayMs);
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (Loading()) return;
  ISkinManager* manager = skin::SkinManager();
  if (!manager) return;
  switch (formType_) {
    case TSkinFormType::sfMainform:
      if (value && noSkinParsed_) return;
      manager->SetPendingSkinData(this);
      manager->ScheduleCommand(value ? ISkinManager::kSkinAll : ISkinManager::kUnskinAll,
                               kCommandDelayMs);
      if (value) manager->SetState(1);
      return;
    case TSkinFormType::sfOnlyThisForm:
      manager->SetPendingSkinData(this);
      if (value && noSkinParsed_) return;
      manager->ScheduleCommand(value ? ISkinManager::kSkinAll : ISkinManager::kUnskinAll,
                               kCommandDelayMs);
      return;
    default:
      return;
  }
}

void TSkinData::AllowForm(HWND window, const std::wstring& className, bool& doSkin) {
  lastAsked_ = window;
  if (OnFormSkin) {
    OnFormSkin(*this, className, doSkin);
    return;
  }
  if (className == L"SysMonthCal32") doSkin = false;
  if ((skinControls_ & Bit(xcFastReport)) && className.rfind(L"Tfr", 0) == 0) doSkin = false;
}

void TSkinData::SkinChanged() {
  if (OnSkinChanged) OnSkinChanged(*this);
}

void TSkinData::Loaded() {
  ui::TComponent::Loaded();
  if (!GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetScrollBarInfo")) {
    skinControls_ &= ~Bit(xcScrollbar);
  }
  // Control manager interface point: made through the factory skin/forms registers.
  ISkinManager* manager = skin::EnsureSkinManager();
  if (manager && !registered_) {
    manager->RegisterSkinData(*this);
    registered_ = true;
  }
  captionFont_ = skin::SkinCaptionFont();
  if (formType_ == TSkinFormType::sfMainform) {
    if (manager) manager->InstallHook();
    if (active_) {
      if (noSkinParsed_) {
        active_ = false;
      } else if (manager) {
        manager->SetPendingSkinData(this);
        manager->ScheduleCommand(ISkinManager::kSkinAll, kCommandDelayMs);
      }
    }
    if (skinControls_ & Bit(xcMainMenu)) {
      skinControls_ &= ~Bit(xcMenuItem);
    } else {
      skinControls_ &= ~Bit(xcSystemMenu);
    }
    CaptureAppIcon();
    return;
  }
  if (manager) {
    manager->SetEnabled(true);
    manager->SetState(manager->State() + 1);
    auto* form = dynamic_cast<ui::TCustomForm*>(Owner());
    if (form && active_) manager->SkinWindow(form->Handle());
  }
}

void TSkinData::CaptureAppIcon() {
  const HWND app = ui::Application().Handle();
  if (!app) return;
  auto icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICONSM));
  if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICON));
  if (!icon) return;
  const int cx = skin::SkinMetric(SM_CXSMICON), cy = skin::SkinMetric(SM_CYSMICON);
  ui::Bitmap bitmap(cx, cy);
  bitmap.Fill(kKeyColour);
  {
    ui::Bitmap::Canvas canvas(bitmap);
    DrawIconEx(canvas.dc(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
  }
  appIcon_ = std::move(bitmap);
}
