#pragma once

#include <functional>

#include "convert/ProgressView.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class ConversionHost;

// The small window a conversion run shows: status line, the current and the total bar, the
// encoder's figures and Cancel. Created once at start-up and hidden between runs.
class TTntForm2 : public ui::TTntForm, public ProgressView {
  VELMO_DECLARE_CLASS
 public:
  // Reads the layout resource TTNTFORM2. `host` is the main window, whose start button Cancel
  // enables again.
  TTntForm2(ui::TComponent* owner, ConversionHost* host);

  ui::TTntLabel* TntLabel1 = nullptr;              // status line
  ui::TTntLabel* TntLabel4 = nullptr;              // detail line
  ui::TTntProgressBar* TntProgressBar1 = nullptr;  // current entry
  ui::TTntProgressBar* TntProgressBar2 = nullptr;  // whole run
  ui::TTntButton* TntButton1 = nullptr;            // Cancel

  // Cancel: asks the run to stop; the run sees it after the encoder's next chunk.
  void TntButton1Click();

  // ProgressView
  int CurrentMax() const override;
  int CurrentPosition() const override;
  void SetCurrentMax(int max) override;
  void SetCurrentPosition(int position) override;
  void SetDetailText(const std::wstring& text) override;
  void SetStatusText(const std::wstring& text) override;
  int TotalMax() const override;
  void SetTotalMax(int max) override;
  int TotalPosition() const override;
  void SetTotalPosition(int position) override;
  void ShowProgress() override;
  void CloseProgress() override;

  // The Cancel button's fixed wait of 5000 ms, blocking without processing messages; tests
  // put their own in.
  std::function<void(unsigned milliseconds)> wait = [](unsigned ms) { Sleep(ms); };

 protected:
  ui::TNotifyEvent MethodAddress(std::wstring_view name) override;
  void WndProc(ui::TMessage& message) override;

 private:
  void CentreOverMainForm();
  ConversionHost* host_;
};

// The program's one progress window, made at start-up after the main window.
extern TTntForm2* TntForm2;
