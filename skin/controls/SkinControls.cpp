#include "skin/controls/SkinControls.h"

#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinAdvPage.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinBoxH.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinRadioButton.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTab31.h"
#include "skin/controls/SkinTabBtn.h"
#include "skin/controls/SkinTabSheet.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/forms/ControlWrapper.h"

namespace skin {

namespace {

template <typename T>
TControlWrapper* Make(ui::TComponent* owner) {
  return new T(owner);
}

}  // namespace

void RegisterSkinControls() {
  RegisterWrapperClass(L"TSkinButton", &Make<TSkinButton>);
  RegisterWrapperClass(L"TSkinBitButton", &Make<TSkinBitButton>);
  RegisterWrapperClass(L"TSkinSpeedButton", &Make<TSkinSpeedButton>);
  RegisterWrapperClass(L"TSkinMenuButton", &Make<TSkinMenuButton>);
  RegisterWrapperClass(L"TSkinCheckBox", &Make<TSkinCheckBox>);
  RegisterWrapperClass(L"TSkinRadioButton", &Make<TSkinRadioButton>);
  RegisterWrapperClass(L"TSkinGroupBox", &Make<TSkinGroupBox>);
  RegisterWrapperClass(L"TSkinBox", &Make<TSkinBox>);
  RegisterWrapperClass(L"TSkinBoxH", &Make<TSkinBoxH>);
  RegisterWrapperClass(L"TSkinSizer", &Make<TSkinSizer>);
  RegisterWrapperClass(L"TSkinTab", &Make<TSkinTab>);
  RegisterWrapperClass(L"TSkinTabSheet", &Make<TSkinTabSheet>);
  RegisterWrapperClass(L"TSkinStatusBar", &Make<TSkinStatusBar>);
  RegisterWrapperClass(L"TSkinProgress", &Make<TSkinProgress>);
  RegisterWrapperClass(L"TSkinEdit", &Make<TSkinEdit>);
  RegisterWrapperClass(L"TSkinUpDown", &Make<TSkinUpDown>);
  RegisterWrapperClass(L"TSkinComBox", &Make<TSkinComBox>);
  RegisterWrapperClass(L"TSkinTab31", &Make<TSkinTab31>);
  RegisterWrapperClass(L"TSkinTabBtn", &Make<TSkinTabBtn>);
  RegisterWrapperClass(L"TSkinTrackBar", &Make<TSkinTrackBar>);
  RegisterWrapperClass(L"TSkinDateTime", &Make<TSkinDateTime>);
  RegisterWrapperClass(L"TSkinMP", &Make<TSkinMP>);
  RegisterWrapperClass(L"TSkinObjImage", &Make<TSkinObjImage>);
  RegisterWrapperClass(L"TSkinAdvPage", &Make<TSkinAdvPage>);
  // Scroll bars and the list header.
  RegisterWrapperClass(L"TSkinScrollbar", &Make<TSkinScrollbar>);
  RegisterWrapperClass(L"TSkinListView", &Make<TSkinListView>);
  RegisterWrapperClass(L"TSkinScrollbarH", &Make<TSkinScrollbarH>);
  RegisterWrapperClass(L"TSkinScControl", &Make<TSkinScControl>);
  RegisterWrapperClass(L"TComboxScrollBar", &Make<TComboxScrollBar>);
  RegisterWrapperClass(L"TSkinHeader", &Make<TSkinHeader>);
}

}  // namespace skin
