#include "skin/controls/SkinControls.h"

#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/controls/SkinSpeedButton.h"
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
  RegisterWrapperClass(L"TSkinScrollbar", &Make<TSkinScrollbar>);
  RegisterWrapperClass(L"TSkinListView", &Make<TSkinListView>);
  RegisterWrapperClass(L"TSkinScrollbarH", &Make<TSkinScrollbarH>);
  RegisterWrapperClass(L"TSkinScControl", &Make<TSkinScControl>);
  RegisterWrapperClass(L"TComboxScrollBar", &Make<TComboxScrollBar>);
  RegisterWrapperClass(L"TSkinHeader", &Make<TSkinHeader>);
}

}  // namespace skin
