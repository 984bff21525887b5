#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/ExtCtrls.h"

// Controls over the common-controls library: image list, list view, status bar, progress
// bar, tab control, page control and tab sheet.

namespace ui {

// Equal-sized images in one handle; a strip loads with magenta as its transparent colour.
class TCustomImageList : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomImageList(TComponent* owner);
  ~TCustomImageList() override;
  int Width() const { return width_; }
  void SetWidth(int v);
  int Height() const { return height_; }
  void SetHeight(int v);
  int Count() const;
  HIMAGELIST Handle() const { return handle_; }
  // Cuts a BMP strip into images of Width x Height, magenta transparent.
  bool LoadStrip(std::span<const uint8_t> bmpBytes);
  // One image on a magenta ground (for drawing with a colour key).
  Bitmap ImageBitmap(int index) const;
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

 private:
  void Recreate();
  HIMAGELIST handle_ = nullptr;
  int width_ = 16;
  int height_ = 16;
};
VELMO_NAMED_CLASS(TImageList, TCustomImageList)

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// The report list of the main window: check boxes, grid lines, whole-row selection. Entries
// live in the window; their texts are read back from it.
class TCustomListView : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomListView(TComponent* owner);
  ~TCustomListView() override;

  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle v);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool v);
  bool GridLines() const { return gridLines_; }
  void SetGridLines(bool v);
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  TCustomImageList* SmallImages() const { return smallImages_; }
  void SetSmallImages(TCustomImageList* v);
  // Columns as "header=width" lines; a width of -1 fills the rest of the row.
  std::vector<std::wstring> Columns() const { return columns_; }
  void SetColumns(const std::vector<std::wstring>& v);

  int ItemCount() const;
  int AddItem(const std::wstring& caption);  // appended; returns its index
  // Appended with its texts (caption, then sub-items), image, check and data at once.
  int AddItem(const std::vector<std::wstring>& texts, int image, bool checked, LPARAM data);
  std::wstring ItemText(int index, int column = 0) const;
  void SetItemText(int index, int column, const std::wstring& text);
  bool Checked(int index) const;
  void SetChecked(int index, bool checked);
  int ImageIndex(int index) const;
  void SetImageIndex(int index, int image);
  bool Selected(int index) const;
  void SetSelected(int index, bool selected);
  int SelCount() const;
  // A value of the caller's kept with the item (its lParam), e.g. an identity that survives
  // insertions and removals around it; IndexOfData gives -1 when no item holds the value.
  LPARAM ItemData(int index) const;
  void SetItemData(int index, LPARAM data);
  int IndexOfData(LPARAM data) const;
  // Between BeginUpdate and EndUpdate (nested) the list does not redraw itself; EndUpdate
  // shows the result. For adding many items: each insertion would otherwise repaint.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updating_ > 0; }
  void Delete(int index);
  void DeleteSelected();
  void Clear();

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWindow() override;
  void SaveWindowState() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void FontChanged() override;

 private:
  struct SavedItem {
    std::vector<std::wstring> texts;
    bool checked;
    bool selected;
    int image;
    LPARAM data;
  };
  void ApplyColumns();
  void ApplyColors();

  TViewStyle viewStyle_ = TViewStyle::vsIcon;
  bool checkboxes_ = false, gridLines_ = false, rowSelect_ = false, multiSelect_ = false,
       readOnly_ = false;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TCustomImageList* smallImages_ = nullptr;
  std::vector<std::wstring> columns_;
  std::vector<SavedItem> saved_;
  int updating_ = 0;
};
VELMO_NAMED_CLASS(TListView, TCustomListView)
VELMO_NAMED_CLASS(TTntListView, TListView)

class TCustomStatusBar : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomStatusBar(TComponent* owner);
  std::wstring SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::wstring& v);
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWindow() override;

 private:
  std::wstring simpleText_;
  bool sizeGrip_ = false;
};
VELMO_NAMED_CLASS(TStatusBar, TCustomStatusBar)
VELMO_NAMED_CLASS(TTntStatusBar, TStatusBar)

class TProgressBar : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const;
  void SetPosition(int v);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWindow() override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
  bool smooth_ = false;
};
VELMO_NAMED_CLASS(TTntProgressBar, TProgressBar)

enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };

class TCustomTabControl : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomTabControl(TComponent* owner);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle v);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  int TabCount() const;
  void AdjustClientRect(RECT& rect) const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void InitializeWindow() override;
  void Notification(TComponent* component, TOperation operation) override;
  // Tab texts and images, in order.
  virtual std::vector<std::pair<std::wstring, int>> TabItems() const { return {}; }
  void UpdateTabs();

 private:
  bool multiLine_ = false;
  TTabStyle style_ = TTabStyle::tsTabs;
  TCustomImageList* images_ = nullptr;
};

class TTabSheet;

// Pages on tabs; a page whose TabVisible is false has no tab but still shows when active.
class TPageControl : public TCustomTabControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TPageControl(TComponent* owner);
  std::vector<TTabSheet*> Pages() const;
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  void AlignControls() override;
  void PageChanged();

 protected:
  void WndProc(TMessage& message) override;
  void Resized() override;
  std::vector<std::pair<std::wstring, int>> TabItems() const override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TTabSheet* activePage_ = nullptr;
};
VELMO_NAMED_CLASS(TTntPageControl, TPageControl)

class TTabSheet : public TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return dynamic_cast<TPageControl*>(Parent()); }
  void SetPageControl(TPageControl* v) { SetParent(v); }
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  void SetParent(TWinControl* parent) override;

 protected:
  void WndProc(TMessage& message) override;

 private:
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};
VELMO_NAMED_CLASS(TTntTabSheet, TTabSheet)

}  // namespace ui
