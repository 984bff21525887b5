#include "ui/ComCtrls.h"

#include <algorithm>
#include <climits>

namespace ui {

namespace {

// An object property that points at an image list of the same form.
template <typename T>
TPropInfo ImageListProperty(const wchar_t* name, TCustomImageList* (T::*get)() const,
                            void (T::*set)(TCustomImageList*)) {
  TPropInfo p(name, TPropKind::Object, {}, L"TCustomImageList");
  p.getObject = [get](const TPersistent& o) -> TPersistent* {
    return (static_cast<const T&>(o).*get)();
  };
  p.setObject = [set](TPersistent& o, TPersistent* v) {
    (static_cast<T&>(o).*set)(static_cast<TCustomImageList*>(v));
  };
  return p;
}

}  // namespace

// ---- image list --------------------------------------------------------------------------

const TClassInfo& TCustomImageList::StaticClass() {
  static TClassInfo info(L"TCustomImageList", &TComponent::StaticClass());
  static const bool published = [] {
    info.Integer<TCustomImageList>(L"Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
        .Integer<TCustomImageList>(L"Height", &TCustomImageList::Height,
                                   &TCustomImageList::SetHeight);
    TPropInfo bitmap(L"Bitmap", TPropKind::Binary);
    bitmap.setBinary = [](TPersistent& o, std::span<const uint8_t> bytes) {
      static_cast<TCustomImageList&>(o).LoadStrip(bytes);
    };
    info.Add(std::move(bitmap));
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TImageList, TCustomImageList)

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) { Recreate(); }

TCustomImageList::~TCustomImageList() {
  if (handle_) ImageList_Destroy(handle_);
}

void TCustomImageList::SetWidth(int v) {
  if (width_ == v) return;
  width_ = v;
  Recreate();
}

void TCustomImageList::SetHeight(int v) {
  if (height_ == v) return;
  height_ = v;
  Recreate();
}

void TCustomImageList::Recreate() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4);
}

int TCustomImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

bool TCustomImageList::LoadStrip(std::span<const uint8_t> bmpBytes) {
  TBitmapImage strip;
  if (!strip.LoadFromBytes(bmpBytes) || strip.Height() < height_) return false;
  Recreate();
  // A 24-bit copy: the mask is built from the colour key on a device-dependent bitmap.
  HDC screen = GetDC(nullptr);
  GdiObject<HBITMAP> copy(CreateCompatibleBitmap(screen, strip.Width(), strip.Height()));
  ReleaseDC(nullptr, screen);
  {
    MemoryDC dc;
    SelectObjectGuard select(dc.get(), copy.get());
    strip.Draw(dc.get(), RECT{0, 0, strip.Width(), strip.Height()}, false);
  }
  return ImageList_AddMasked(handle_, copy.get(), RGB(255, 0, 255)) >= 0;
}

Bitmap TCustomImageList::ImageBitmap(int index) const {
  Bitmap result(width_, height_);
  result.Fill(RGB(255, 0, 255));
  if (index >= 0 && index < Count()) {
    Bitmap::Canvas canvas(result);
    ImageList_Draw(handle_, index, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  }
  return result;
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, CLR_NONE, enabled ? CLR_DEFAULT : CLR_NONE,
                   ILD_TRANSPARENT | (enabled ? 0 : ILD_BLEND50));
}

// ---- list view ---------------------------------------------------------------------------

const TClassInfo& TCustomListView::StaticClass() {
  static TClassInfo info(L"TCustomListView", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Enum<TCustomListView, TViewStyle>(
            L"ViewStyle", {L"vsIcon", L"vsSmallIcon", L"vsList", L"vsReport"},
            &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle)
        .Boolean<TCustomListView>(L"Checkboxes", &TCustomListView::Checkboxes,
                                  &TCustomListView::SetCheckboxes)
        .Boolean<TCustomListView>(L"GridLines", &TCustomListView::GridLines,
                                  &TCustomListView::SetGridLines)
        .Boolean<TCustomListView>(L"RowSelect", &TCustomListView::RowSelect,
                                  &TCustomListView::SetRowSelect)
        .Boolean<TCustomListView>(L"MultiSelect", &TCustomListView::MultiSelect,
                                  &TCustomListView::SetMultiSelect)
        .Boolean<TCustomListView>(L"ReadOnly", &TCustomListView::ReadOnly,
                                  &TCustomListView::SetReadOnly)
        .Enum<TCustomListView, TBorderStyle>(L"BorderStyle", {L"bsNone", L"bsSingle"},
                                             &TCustomListView::BorderStyle,
                                             &TCustomListView::SetBorderStyle)
        .Add(ImageListProperty<TCustomListView>(L"SmallImages", &TCustomListView::SmallImages,
                                                &TCustomListView::SetSmallImages));
    TPropInfo columns(L"Columns", TPropKind::Strings);
    columns.getStrings = [](const TPersistent& o) {
      return static_cast<const TCustomListView&>(o).Columns();
    };
    columns.setStrings = [](TPersistent& o, const std::vector<std::wstring>& v) {
      static_cast<TCustomListView&>(o).SetColumns(v);
    };
    info.Add(std::move(columns));
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TListView, TCustomListView)
VELMO_NAMED_CLASS_INFO(TTntListView, TListView)

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
  // Destroyed here, while WndProc is still this class's: it frees the check-box images.
  DestroyHandle();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  viewStyle_ = v;
  RecreateWnd();
}
void TCustomListView::SetCheckboxes(bool v) {
  checkboxes_ = v;
  RecreateWnd();
}
void TCustomListView::SetGridLines(bool v) {
  gridLines_ = v;
  RecreateWnd();
}
void TCustomListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  RecreateWnd();
}
void TCustomListView::SetMultiSelect(bool v) {
  multiSelect_ = v;
  RecreateWnd();
}
void TCustomListView::SetReadOnly(bool v) {
  readOnly_ = v;
  RecreateWnd();
}
void TCustomListView::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomListView::SetSmallImages(TCustomImageList* v) {
  if (smallImages_) smallImages_->RemoveFreeNotification(this);
  smallImages_ = v;
  if (v) v->FreeNotification(this);
  if (HandleAllocated()) {
    SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
  }
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::Remove && component == smallImages_) {
    smallImages_ = nullptr;
    if (HandleAllocated()) SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
  }
}

void TCustomListView::SetColumns(const std::vector<std::wstring>& v) {
  columns_ = v;
  if (HandleAllocated()) ApplyColumns();
}

void TCustomListView::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = WC_LISTVIEWW;
  p.style |= LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS | WS_CLIPCHILDREN;
  static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  p.style |= kViews[static_cast<int>(viewStyle_)];
  if (!multiSelect_) p.style |= LVS_SINGLESEL;
  if (!readOnly_) p.style |= LVS_EDITLABELS;
  if (borderStyle_ == TBorderStyle::bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::ApplyColumns() {
  HWND h = WindowHandle();
  while (SendMessageW(h, LVM_DELETECOLUMN, 0, 0)) {
  }
  int index = 0;
  for (const std::wstring& line : columns_) {
    size_t eq = line.rfind(L'=');
    std::wstring header = eq == std::wstring::npos ? line : line.substr(0, eq);
    int width = eq == std::wstring::npos ? 50 : _wtoi(line.c_str() + eq + 1);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = header.data();
    column.cx = width < 0 ? 50 : width;
    column.iSubItem = index;
    SendMessageW(h, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
    if (width < 0) SendMessageW(h, LVM_SETCOLUMNWIDTH, index, LVSCW_AUTOSIZE_USEHEADER);
    ++index;
  }
}

void TCustomListView::ApplyColors() {
  HWND h = WindowHandle();
  SendMessageW(h, LVM_SETBKCOLOR, 0, ColorToRGB(Color()));
  SendMessageW(h, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()));
  SendMessageW(h, LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()));
}

void TCustomListView::FontChanged() {
  TWinControl::FontChanged();
  if (HandleAllocated()) ApplyColors();
}

void TCustomListView::InitializeWindow() {
  HWND h = WindowHandle();
  DWORD ex = LVS_EX_DOUBLEBUFFER | (checkboxes_ ? LVS_EX_CHECKBOXES : 0) |
             (gridLines_ ? LVS_EX_GRIDLINES : 0) | (rowSelect_ ? LVS_EX_FULLROWSELECT : 0);
  SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ex);
  ApplyColors();
  if (smallImages_)
    SendMessageW(h, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(smallImages_->Handle()));
  ApplyColumns();
  std::vector<SavedItem> saved = std::move(saved_);
  saved_.clear();
  for (const SavedItem& item : saved) {
    int i = AddItem(item.texts.empty() ? L"" : item.texts[0]);
    for (size_t c = 1; c < item.texts.size(); ++c)
      SetItemText(i, static_cast<int>(c), item.texts[c]);
    SetChecked(i, item.checked);
    SetSelected(i, item.selected);
    SetImageIndex(i, item.image);
    SetItemData(i, item.data);
  }
}

void TCustomListView::SaveWindowState() {
  // The entries live in the window; keep them across a re-creation.
  saved_.clear();
  int columns = std::max<int>(1, static_cast<int>(columns_.size()));
  for (int i = 0; i < ItemCount(); ++i) {
    SavedItem item{{}, Checked(i), Selected(i), ImageIndex(i), ItemData(i)};
    for (int c = 0; c < columns; ++c) item.texts.push_back(ItemText(i, c));
    saved_.push_back(std::move(item));
  }
}

void TCustomListView::WndProc(TMessage& m) {
  if (m.Msg == CM_COLORCHANGED && HandleAllocated()) ApplyColors();
  if (m.Msg == WM_DESTROY) {
    // With shared image lists the control keeps the check-box images it made itself.
    auto state = reinterpret_cast<HIMAGELIST>(
        SendMessageW(WindowHandle(), LVM_GETIMAGELIST, LVSIL_STATE, 0));
    TWinControl::WndProc(m);
    if (state) ImageList_Destroy(state);
    return;
  }
  if (m.Msg == WM_SIZE) {
    TWinControl::WndProc(m);
    // A column without a width keeps filling the row.
    for (size_t i = 0; i < columns_.size(); ++i) {
      if (columns_[i].ends_with(L"=-1")) {
        SendMessageW(WindowHandle(), LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
      }
    }
    return;
  }
  TWinControl::WndProc(m);
}

int TCustomListView::ItemCount() const {
  if (!WindowHandle()) return static_cast<int>(saved_.size());
  return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETITEMCOUNT, 0, 0));
}

int TCustomListView::AddItem(const std::wstring& caption) {
  HWND h = const_cast<TCustomListView*>(this)->Handle();
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = ItemCount();
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  return static_cast<int>(SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int TCustomListView::AddItem(const std::vector<std::wstring>& texts, int image, bool checked,
                             LPARAM data) {
  HWND h = Handle();
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = INT_MAX;  // the end
  item.pszText = const_cast<wchar_t*>(texts.empty() ? L"" : texts[0].c_str());
  item.iImage = image;
  item.lParam = data;
  int index =
      static_cast<int>(SendMessageW(h, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t c = 1; c < texts.size(); ++c) SetItemText(index, static_cast<int>(c), texts[c]);
  // The check box's state image is set by the control on insertion, whatever the item says.
  if (checked) SetChecked(index, true);
  return index;
}

std::wstring TCustomListView::ItemText(int index, int column) const {
  if (!WindowHandle()) return {};
  // The control fills the buffer up to its size: a text that fills it may be longer.
  for (size_t size = 1024;; size *= 2) {
    std::wstring buffer(size, L'\0');
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    int length = static_cast<int>(
        SendMessageW(WindowHandle(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    if (length < static_cast<int>(size) - 1 || size >= 1 << 20) {
      buffer.resize(static_cast<size_t>(std::max(length, 0)));
      return buffer;
    }
  }
}

void TCustomListView::SetItemText(int index, int column, const std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(Handle(), LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
}

bool TCustomListView::Checked(int index) const {
  if (!WindowHandle()) return false;
  UINT state =
      static_cast<UINT>(SendMessageW(WindowHandle(), LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

void TCustomListView::SetChecked(int index, bool checked) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  SendMessageW(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int TCustomListView::ImageIndex(int index) const {
  if (!WindowHandle()) return -1;
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  SendMessageW(WindowHandle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

void TCustomListView::SetImageIndex(int index, int image) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = index;
  item.iImage = image;
  SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

bool TCustomListView::Selected(int index) const {
  if (!WindowHandle()) return false;
  return SendMessageW(WindowHandle(), LVM_GETITEMSTATE, index, LVIS_SELECTED) != 0;
}

void TCustomListView::SetSelected(int index, bool selected) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = selected ? LVIS_SELECTED : 0;
  SendMessageW(Handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int TCustomListView::SelCount() const {
  if (!WindowHandle()) return 0;
  return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
}

LPARAM TCustomListView::ItemData(int index) const {
  if (!WindowHandle()) return 0;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  SendMessageW(WindowHandle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.lParam;
}

void TCustomListView::SetItemData(int index, LPARAM data) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = data;
  SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int TCustomListView::IndexOfData(LPARAM data) const {
  if (!WindowHandle()) return -1;
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = data;
  return static_cast<int>(
      SendMessageW(WindowHandle(), LVM_FINDITEMW, -1, reinterpret_cast<LPARAM>(&find)));
}

void TCustomListView::BeginUpdate() {
  if (updating_++ == 0 && HandleAllocated()) SendMessageW(WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TCustomListView::EndUpdate() {
  if (updating_ == 0 || --updating_ > 0 || !HandleAllocated()) return;
  SendMessageW(WindowHandle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(WindowHandle(), nullptr, FALSE);
}

void TCustomListView::Delete(int index) { SendMessageW(Handle(), LVM_DELETEITEM, index, 0); }

void TCustomListView::DeleteSelected() {
  for (int i = ItemCount() - 1; i >= 0; --i) {
    if (Selected(i)) Delete(i);
  }
}

void TCustomListView::Clear() {
  saved_.clear();
  if (HandleAllocated()) SendMessageW(WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
}

// ---- status bar --------------------------------------------------------------------------

const TClassInfo& TCustomStatusBar::StaticClass() {
  static TClassInfo info(L"TCustomStatusBar", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Text<TCustomStatusBar>(L"SimpleText", &TCustomStatusBar::SimpleText,
                                &TCustomStatusBar::SetSimpleText)
        .Boolean<TCustomStatusBar>(L"SizeGrip", &TCustomStatusBar::SizeGrip,
                                   &TCustomStatusBar::SetSizeGrip);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TStatusBar, TCustomStatusBar)
VELMO_NAMED_CLASS_INFO(TTntStatusBar, TStatusBar)

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 200, 19);
  SetAlign(TAlign::alBottom);
}

void TCustomStatusBar::SetSimpleText(const std::wstring& v) {
  simpleText_ = v;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(v.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool v) {
  sizeGrip_ = v;
  RecreateWnd();
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = STATUSCLASSNAMEW;
  // The framework aligns it; the control must not move itself.
  p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY | (sizeGrip_ ? SBARS_SIZEGRIP : 0);
}

void TCustomStatusBar::InitializeWindow() {
  SendMessageW(WindowHandle(), SB_SIMPLE, TRUE, 0);
  SendMessageW(WindowHandle(), SB_SETTEXTW, SB_SIMPLEID,
               reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

// ---- progress bar ------------------------------------------------------------------------

const TClassInfo& TProgressBar::StaticClass() {
  static TClassInfo info(L"TProgressBar", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Integer<TProgressBar>(L"Min", &TProgressBar::Min, &TProgressBar::SetMin)
        .Integer<TProgressBar>(L"Max", &TProgressBar::Max, &TProgressBar::SetMax)
        .Integer<TProgressBar>(L"Position", &TProgressBar::Position, &TProgressBar::SetPosition)
        .Boolean<TProgressBar>(L"Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntProgressBar, TProgressBar)

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetMin(int v) {
  min_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETRANGE32, min_, max_);
}
void TProgressBar::SetMax(int v) {
  max_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETRANGE32, min_, max_);
}
int TProgressBar::Position() const {
  if (!WindowHandle()) return position_;
  return static_cast<int>(SendMessageW(WindowHandle(), PBM_GETPOS, 0, 0));
}
void TProgressBar::SetPosition(int v) {
  position_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), PBM_SETPOS, v, 0);
}
void TProgressBar::SetSmooth(bool v) {
  smooth_ = v;
  RecreateWnd();
}

void TProgressBar::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = PROGRESS_CLASSW;
  if (smooth_) p.style |= PBS_SMOOTH;
}

void TProgressBar::InitializeWindow() {
  SendMessageW(WindowHandle(), PBM_SETRANGE32, min_, max_);
  SendMessageW(WindowHandle(), PBM_SETPOS, position_, 0);
}

// ---- tab control, page control, tab sheet ------------------------------------------------

const TClassInfo& TCustomTabControl::StaticClass() {
  static TClassInfo info(L"TCustomTabControl", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TCustomTabControl>(L"MultiLine", &TCustomTabControl::MultiLine,
                                    &TCustomTabControl::SetMultiLine)
        .Enum<TCustomTabControl, TTabStyle>(L"Style", {L"tsTabs", L"tsButtons", L"tsFlatButtons"},
                                            &TCustomTabControl::Style, &TCustomTabControl::SetStyle)
        .Add(ImageListProperty<TCustomTabControl>(L"Images", &TCustomTabControl::Images,
                                                  &TCustomTabControl::SetImages));
    return true;
  }();
  (void)published;
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
}

void TCustomTabControl::SetMultiLine(bool v) {
  multiLine_ = v;
  RecreateWnd();
}
void TCustomTabControl::SetStyle(TTabStyle v) {
  style_ = v;
  RecreateWnd();
}
void TCustomTabControl::SetImages(TCustomImageList* v) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  if (HandleAllocated())
    SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0,
                 reinterpret_cast<LPARAM>(v ? v->Handle() : nullptr));
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == TOperation::Remove && component == images_) SetImages(nullptr);
}

int TCustomTabControl::TabCount() const {
  if (!WindowHandle()) return static_cast<int>(TabItems().size());
  return static_cast<int>(SendMessageW(WindowHandle(), TCM_GETITEMCOUNT, 0, 0));
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = WC_TABCONTROLW;
  p.style |= WS_CLIPCHILDREN | (multiLine_ ? TCS_MULTILINE : 0);
  if (style_ == TTabStyle::tsButtons) p.style |= TCS_BUTTONS;
  if (style_ == TTabStyle::tsFlatButtons) p.style |= TCS_BUTTONS | TCS_FLATBUTTONS;
}

void TCustomTabControl::InitializeWindow() {
  if (images_)
    SendMessageW(WindowHandle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
  UpdateTabs();
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  HWND h = WindowHandle();
  SendMessageW(h, TCM_DELETEALLITEMS, 0, 0);
  int index = 0;
  for (auto& [text, image] : TabItems()) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.iImage = image;
    SendMessageW(h, TCM_INSERTITEMW, index++, reinterpret_cast<LPARAM>(&item));
  }
}

void TCustomTabControl::AdjustClientRect(RECT& r) const {
  if (!WindowHandle()) return;
  if (TabCount() > 0) {
    SendMessageW(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  } else {
    // Without a tab the pages sit inside the control's frame only.
    InflateRect(&r, -4, -4);
  }
}

const TClassInfo& TPageControl::StaticClass() {
  static TClassInfo info(L"TPageControl", &TCustomTabControl::StaticClass());
  static const bool published = [] {
    TPropInfo active(L"ActivePage", TPropKind::Object, {}, L"TTabSheet");
    active.getObject = [](const TPersistent& o) -> TPersistent* {
      return static_cast<const TPageControl&>(o).ActivePage();
    };
    active.setObject = [](TPersistent& o, TPersistent* v) {
      static_cast<TPageControl&>(o).SetActivePage(static_cast<TTabSheet*>(v));
    };
    info.Add(std::move(active));
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntPageControl, TPageControl)

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

std::vector<TTabSheet*> TPageControl::Pages() const {
  std::vector<TTabSheet*> pages;
  for (TControl* c : Controls()) {
    if (auto* page = dynamic_cast<TTabSheet*>(c)) pages.push_back(page);
  }
  return pages;
}

std::vector<std::pair<std::wstring, int>> TPageControl::TabItems() const {
  std::vector<std::pair<std::wstring, int>> items;
  for (TTabSheet* page : Pages()) {
    if (page->TabVisible()) items.emplace_back(page->Caption(), page->ImageIndex());
  }
  return items;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->Parent() != this) return;
  activePage_ = page;
  for (TTabSheet* p : Pages()) p->SetVisible(p == page);
  if (HandleAllocated() && page && page->TabVisible()) {
    int index = 0;
    for (TTabSheet* p : Pages()) {
      if (p == page) break;
      if (p->TabVisible()) ++index;
    }
    SendMessageW(WindowHandle(), TCM_SETCURSEL, index, 0);
  }
  AlignControls();
}

void TPageControl::PageChanged() {
  UpdateTabs();
  if (!activePage_) {
    auto pages = Pages();
    if (!pages.empty()) SetActivePage(pages.front());
  }
  AlignControls();
}

void TPageControl::AlignControls() {
  TCustomTabControl::AlignControls();
  RECT r = ClientRect();
  AdjustClientRect(r);
  for (TTabSheet* page : Pages())
    page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TPageControl::Resized() {
  AlignControls();
  TCustomTabControl::Resized();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
  TCustomTabControl::Notification(component, operation);
  if (operation == TOperation::Remove && component == activePage_) activePage_ = nullptr;
}

void TPageControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->code == TCN_SELCHANGE) {
      int selected = static_cast<int>(SendMessageW(WindowHandle(), TCM_GETCURSEL, 0, 0));
      int index = 0;
      for (TTabSheet* p : Pages()) {
        if (!p->TabVisible()) continue;
        if (index++ == selected) {
          SetActivePage(p);
          break;
        }
      }
    }
    m.Result = 0;
    return;
  }
  TCustomTabControl::WndProc(m);
}

const TClassInfo& TTabSheet::StaticClass() {
  static TClassInfo info(L"TTabSheet", &TCustomControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TTabSheet>(L"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
        .Integer<TTabSheet>(L"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntTabSheet, TTabSheet)

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {}

TTabSheet::~TTabSheet() {
  TPageControl* pages = PageControl();
  if (pages && !pages->Destroying()) {
    SetParent(nullptr);
    pages->PageChanged();
  }
}

void TTabSheet::SetParent(TWinControl* parent) {
  TCustomControl::SetParent(parent);
  if (TPageControl* pages = PageControl()) pages->PageChanged();
}

void TTabSheet::SetTabVisible(bool v) {
  tabVisible_ = v;
  if (TPageControl* pages = PageControl()) pages->PageChanged();
}

void TTabSheet::SetImageIndex(int v) {
  imageIndex_ = v;
  if (TPageControl* pages = PageControl()) pages->PageChanged();
}

void TTabSheet::WndProc(TMessage& m) {
  TCustomControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED) {
    if (TPageControl* pages = PageControl()) pages->PageChanged();
  }
}

}  // namespace ui
