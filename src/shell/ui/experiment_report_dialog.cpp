#include "shell/ui/experiment_report_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QtMath>

#include <algorithm>
#include <filesystem>

#include "model/errors.h"
#include "model/ui_port.h"
#include "shell/report_file.h"
#include "shell/ui/user_dialogs.h"
#include "ui_experiment_report_dialog.h"

namespace {

constexpr int WidthInButtons = 23;
constexpr int HeightInButtons = 17;
constexpr int HelpContext = 56;

// The clipboard's names of rich text: the common one and the one Windows programs read.
const char* const RtfMimeTypes[] = {"text/rtf", "application/rtf",
                                    "application/x-qt-windows-mime;value=\"Rich Text Format\""};

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void RenderReport(const TReportDocument& report, QTextDocument& document) {
  document.clear();
  // Half an inch (in the 96-per-inch units that layout scales to the device), as word
  // processors set tab stops by default and the RTF says.
  QTextOption option = document.defaultTextOption();
  option.setTabStopDistance(48.0);
  document.setDefaultTextOption(option);
  QTextCursor cursor(&document);
  bool first = true;
  for (const TReportLine& line : report.GetLines()) {
    QTextCharFormat format;
    format.setFontWeight(line.Style.Bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(line.Style.Underline);
    format.setFontItalic(line.Style.Italic);
    if (!first) cursor.insertBlock(QTextBlockFormat(), format);
    first = false;
    cursor.insertText(Text(line.Text), format);
  }
}

TExperimentPrintoutForm::TExperimentPrintoutForm(TExperiment& experiment, TDeviceList& devices,
                                                 QWidget* parent)
    : QDialog(parent),
      Ui(std::make_unique<Ui::TExperimentPrintoutForm>()),
      Experiment(experiment),
      Devices(devices) {
  Ui->setupUi(this);
  setProperty("helpContext", HelpContext);
  Ui->Help->setProperty("helpContext", HelpContext);
  Ui->Help->setEnabled(false);  // the help wiring enables it

  for (QCheckBox* option : {Ui->CommandListing, Ui->OutputListing, Ui->VariableListing,
                            Ui->ArrayListing, Ui->SingleFileListing, Ui->MultiFileListing,
                            Ui->DeviceListing}) {
    option->setChecked(true);
    connect(option, &QCheckBox::clicked, this, &TExperimentPrintoutForm::OptionClick);
  }
  Ui->DeviceCommandListing->setChecked(false);
  connect(Ui->DeviceCommandListing, &QCheckBox::clicked, this,
          &TExperimentPrintoutForm::OptionClick);

  connect(Ui->Print, &QPushButton::clicked, this, &TExperimentPrintoutForm::PrintClick);
  connect(Ui->CopyToClipboard, &QPushButton::clicked, this,
          &TExperimentPrintoutForm::CopyToClipboardClick);
  connect(Ui->Save, &QPushButton::clicked, this, &TExperimentPrintoutForm::SaveClick);
  connect(Ui->Done, &QPushButton::clicked, this, &TExperimentPrintoutForm::reject);

  UpdatePreview();
  FitToReport();
  // Print takes the focus as the dialog opens; an option clicked keeps it afterwards, so
  // that the keyboard's space bar goes on ticking options rather than printing.
  Ui->Print->setFocus();
}

TExperimentPrintoutForm::~TExperimentPrintoutForm() = default;

void TExperimentPrintoutForm::FitToReport() {
  // At least 23 Print-button heights wide and 17 high; wider when the report's longest
  // line needs it and taller for a good page of it, as far as the screen allows.
  const int unit = Ui->Print->sizeHint().height();
  QSize size(WidthInButtons * unit, HeightInButtons * unit);
  const QScreen* screen =
      parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    QTextEdit& preview = *Ui->PreviewEdit;
    const QMargins margins = layout()->contentsMargins();
    const int previewWidth = qCeil(preview.document()->idealWidth()) +
                             preview.verticalScrollBar()->sizeHint().width() +
                             2 * preview.frameWidth() + unit / 2;
    const int wanted = margins.left() + Ui->OptionLayout->sizeHint().width() +
                       Ui->BodyLayout->spacing() + previewWidth + margins.right();
    size.setWidth(std::max(size.width(), std::min(wanted, area.width() * 9 / 10)));
    size.setHeight(std::max(size.height(), area.height() * 2 / 3));
  }
  resize(size);
}

TReportChoice TExperimentPrintoutForm::Choice() const {
  TReportChoice choice;
  choice.Parts.Commands = Ui->CommandListing->isChecked();
  choice.Parts.Outputs = Ui->OutputListing->isChecked();
  choice.Parts.SingleVariables = Ui->VariableListing->isChecked();
  choice.Parts.ArrayVariables = Ui->ArrayListing->isChecked();
  choice.Parts.SingleFiles = Ui->SingleFileListing->isChecked();
  choice.Parts.MultipleFiles = Ui->MultiFileListing->isChecked();
  choice.Devices = Ui->DeviceListing->isChecked();
  choice.DeviceCommands = choice.Devices && Ui->DeviceCommandListing->isChecked();
  return choice;
}

void TExperimentPrintoutForm::OptionClick() {
  Ui->DeviceCommandListing->setVisible(Ui->DeviceListing->isChecked());
  UpdatePreview();
}

void TExperimentPrintoutForm::UpdatePreview() {
  Ui->DeviceCommandListing->setVisible(Ui->DeviceListing->isChecked());
  Document.Clear();
  WriteExperimentReport(Document, Experiment, Devices, Choice());
  RenderReport(Document, *Ui->PreviewEdit->document());
  Ui->PreviewEdit->moveCursor(QTextCursor::Start);
}

void TExperimentPrintoutForm::PrintClick() {
  if (Document.IsEmpty()) {
    Inform("Nothing to print");
    return;
  }
  QPrinter printer;
  printer.setDocName("Qorv Experiment Report");
  if (!UserDialogs().SetUpPrinter(this, printer)) return;
  Ui->PreviewEdit->document()->print(&printer);
  if (printer.printerState() == QPrinter::Error)
    UiPort().ShowMessage("The report could not be printed.", "", TMessageKind::Error);
}

void TExperimentPrintoutForm::CopyToClipboardClick() {
  if (Document.IsEmpty()) {
    Inform("Nothing to print");
    return;
  }
  auto* data = new QMimeData;
  data->setText(Text(ReportText(Document)));
  data->setHtml(Ui->PreviewEdit->document()->toHtml());
  const QByteArray rtf = QByteArray::fromStdString(ReportRtf(Document));
  for (const char* type : RtfMimeTypes) data->setData(type, rtf);
  QGuiApplication::clipboard()->setMimeData(data);
  // Whatever the user had selected is no longer.
  QTextCursor cursor = Ui->PreviewEdit->textCursor();
  cursor.clearSelection();
  Ui->PreviewEdit->setTextCursor(cursor);
}

void TExperimentPrintoutForm::SaveClick() {
  TFileChoice choice;
  choice.Save = true;
  choice.Filter = ReportFileFilter;
  choice.DefaultExt = ReportFileExtension;
  choice.FileName = ProposedReportName(Experiment.GetTitle());
  // Beside the experiment's file, when it has one.
  if (!Experiment.GetFileName().empty())
    choice.InitialDir = std::filesystem::path(Experiment.GetFileName()).parent_path().string();
  if (!UserDialogs().ChooseFile(this, choice)) return;
  try {
    SaveReport(Document, choice.FileName);
  } catch (const EFileError& error) {
    UiPort().ShowMessage(error.what(), "", TMessageKind::Error);
  }
}

void ShowExperimentReport(QWidget* parent, TExperiment& experiment, TDeviceList& devices) {
  if (!CanProduceReport()) return;
  TExperimentPrintoutForm form(experiment, devices, parent);
  form.exec();
}
