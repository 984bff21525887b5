#pragma once

#include "ui/Form.h"

// The board of real controls in their states that the gallery shows and the skin-switching
// test keeps on screen: check and radio boxes, group boxes, progress bars, a panel, a status
// bar, edits, up-downs, combo boxes, tab controls on four sides, a track bar, a date-time
// picker, a media player, a tab set, button tabs, a push button and a long list box.
namespace controltest {

constexpr int kGalleryWidth = 760, kGalleryHeight = 520;
void BuildGallery(ui::TForm& form);
// A bar menu for the form: 文件 and 帮助, each with 打开, a separator and 退出.
void AddGalleryMenu(ui::TForm& form);

}  // namespace controltest
