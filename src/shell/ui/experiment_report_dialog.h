// "Experiment Report": the options of the report, its preview, and its print, copy to
// the clipboard (rich and plain text) and save (RTF or plain text by the name). The
// report itself is the core's (WriteExperimentReport); the preview shows it.
#pragma once

#include <QDialog>

#include <memory>

#include "model/report.h"
#include "shell/experiment_report.h"

class QCheckBox;
class QTextDocument;
class QWidget;
class TDeviceList;
class TExperiment;

namespace Ui {
class TExperimentPrintoutForm;
}

class TExperimentPrintoutForm : public QDialog {
  Q_OBJECT

public:
  // Every option but "Device Commands" ticked, the preview built. The dialog is at least
  // 23 Print-button heights wide and 17 high, more as the report and the screen ask.
  TExperimentPrintoutForm(TExperiment& experiment, TDeviceList& devices,
                          QWidget* parent = nullptr);
  ~TExperimentPrintoutForm() override;

  // The options as ticked; "Device Commands" counts only while it shows.
  TReportChoice Choice() const;
  // Rebuilds the preview from the options ("Nothing to report" when none is ticked).
  void UpdatePreview();
  const TReportDocument& Report() const { return Document; }

  // The buttons: with an empty preview Print and Clipboard say "Nothing to print".
  void PrintClick();
  void CopyToClipboardClick();
  void SaveClick();

private:
  void OptionClick();
  void FitToReport();

  std::unique_ptr<Ui::TExperimentPrintoutForm> Ui;
  TExperiment& Experiment;
  TDeviceList& Devices;
  TReportDocument Document;
};

// Renders the report into a rich-text document: one paragraph per line in its style,
// tab stops every half inch (as the saved RTF has them).
void RenderReport(const TReportDocument& report, QTextDocument& document);

// "Experiment &Report": during a run the message that no report can be made; otherwise
// the dialog, modally.
void ShowExperimentReport(QWidget* parent, TExperiment& experiment, TDeviceList& devices);
