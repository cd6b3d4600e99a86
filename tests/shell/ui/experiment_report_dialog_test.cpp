// The experiment report through the main window's "Experiment &Report" and the dialog's
// real controls: the options and the preview they build, "Nothing to report" and
// "Nothing to print", the save as rich or plain text by the name, the print to PDF, the
// clipboard's rich and plain text, and no report during a run.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "main_window_steps.h"
#include "shell/report_file.h"
#include "shell/ui/experiment_report_dialog.h"
#include "support/rtf_reader.h"
#include "support/ui/dialog_driver.h"

namespace {

const char* const Options[] = {"CommandListing",    "OutputListing",    "VariableListing",
                               "ArrayListing",      "SingleFileListing", "MultiFileListing",
                               "DeviceListing"};

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class ExperimentReportDialogTest : public TWindowStepsTest {
protected:
  // Qorv on the demo experiment, whose devices have commands.
  void StartOnDemo() {
    ASSERT_NO_FATAL_FAILURE(StartQorv(QString::fromStdString(SaveDemo())));
    ASSERT_EQ(Exp().GetTitle(), "demo.qve");
  }
  // "Experiment &Report" as the menu offers it; act works on the dialog, which closes
  // after it through its Done button.
  void OpenReport(const std::function<void(TExperimentPrintoutForm&)>& act) {
    OpenMenu("ExperimentMenu");
    TModalDialogActor<TExperimentPrintoutForm> actor([&](TExperimentPrintoutForm& form) {
      act(form);
      ClickControl(form, "Done");
    });
    Trigger("ReportMenuItem");
    EXPECT_TRUE(actor.Seen) << "no report dialog";
    EXPECT_FALSE(actor.LeftOpen) << "Done left the dialog open";
  }
  static QTextEdit& Preview(TExperimentPrintoutForm& form) {
    return *Control<QTextEdit>(form, "PreviewEdit");
  }
  static QStringList PreviewLines(TExperimentPrintoutForm& form) {
    return Preview(form).toPlainText().split('\n');
  }
  static bool Checked(TExperimentPrintoutForm& form, const char* name) {
    return Control<QCheckBox>(form, name)->isChecked();
  }

  TDemoInstruments Instruments;  // where the demo's devices sit
};

TEST_F(ExperimentReportDialogTest, OpensWithEveryPartButTheDeviceCommandsAndRebuildsOnEachClick) {
  StartOnDemo();
  OpenReport([&](TExperimentPrintoutForm& form) {
    EXPECT_EQ(form.windowTitle(), QString("Experiment Report"));
    EXPECT_EQ(Control<QLabel>(form, "Label1")->text(), QString("Choose what to report:"));
    for (const char* option : Options) EXPECT_TRUE(Checked(form, option)) << option;
    auto* deviceCommands = Control<QCheckBox>(form, "DeviceCommandListing");
    EXPECT_FALSE(deviceCommands->isChecked());
    EXPECT_TRUE(deviceCommands->isVisible());  // the device listing is ticked
    // Help opens the help at the dialog's context (the main window's help wiring enables it).
    auto* help = Control<QPushButton>(form, "Help");
    EXPECT_TRUE(help->isEnabled());
    EXPECT_EQ(help->property("helpContext").toInt(), 56);
    EXPECT_EQ(form.property("helpContext").toInt(), 56);
    EXPECT_EQ(form.focusWidget(), Control<QPushButton>(form, "Print"));
    // At least 23 by 17 Print-button heights, within the screen, and wide enough to show
    // the report's lines without scrolling sideways where the screen allows.
    const int unit = Control<QPushButton>(form, "Print")->sizeHint().height();
    EXPECT_GE(form.width(), 23 * unit);
    EXPECT_GE(form.height(), 17 * unit);
    const QRect screen = form.screen()->availableGeometry();
    EXPECT_LE(form.width(), screen.width());
    EXPECT_LE(form.height(), screen.height());
    if (form.width() < screen.width() * 9 / 10) {
      EXPECT_EQ(Preview(form).horizontalScrollBar()->maximum(), 0);
    }

    // The preview shows the report, line for line, its heading bold and underlined.
    QTextEdit& preview = Preview(form);
    EXPECT_TRUE(preview.isReadOnly());
    EXPECT_EQ(preview.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(preview.toPlainText() + "\n", QString::fromStdString(ReportText(form.Report())));
    const QStringList lines = PreviewLines(form);
    ASSERT_GT(lines.size(), 3);
    EXPECT_EQ(lines[0], QString("Experiment: demo.qve"));
    const QTextCharFormat heading =
        preview.document()->firstBlock().begin().fragment().charFormat();
    EXPECT_EQ(heading.fontWeight(), QFont::Bold);
    EXPECT_TRUE(heading.fontUnderline());
    for (const char* part : {"Command Listing", "Output Listing", "Single Varible Listing",
                             "Array Variable Listing", "Single File Listings",
                             "Multiple File Listings", "Devices"})
      EXPECT_TRUE(lines.contains(part)) << part;
    EXPECT_FALSE(lines.contains("Device Command Table Header Definitions:"));
    EXPECT_FALSE(lines.contains("\tDevice Commands"));

    // "Device Commands" adds each device's commands and the table's legend.
    ClickControl(form, "DeviceCommandListing");
    EXPECT_TRUE(PreviewLines(form).contains("\tDevice Commands"));
    EXPECT_EQ(PreviewLines(form).back(),
              QString("\tColumn LtoR (Read Binary Left To Right: Y=yes, N=read right to left, "
                      "NA=ASCII data, not applicable"));
    // Without the device listing "Device Commands" hides and counts for nothing.
    ClickControl(form, "DeviceListing");
    EXPECT_FALSE(deviceCommands->isVisible());
    EXPECT_FALSE(PreviewLines(form).contains("Devices"));
    EXPECT_FALSE(PreviewLines(form).contains("\tDevice Commands"));
    ClickControl(form, "DeviceListing");
    EXPECT_TRUE(deviceCommands->isVisible());
    EXPECT_TRUE(PreviewLines(form).contains("\tDevice Commands"));

    // Every option rebuilds the preview, the data files' too.
    ClickControl(form, "SingleFileListing");
    EXPECT_FALSE(PreviewLines(form).contains("Single File Listings"));
    // The option clicked keeps the focus, for the next press of the space bar.
    EXPECT_EQ(form.focusWidget(), Control<QCheckBox>(form, "SingleFileListing"));
    ClickControl(form, "MultiFileListing");
    EXPECT_FALSE(PreviewLines(form).contains("Multiple File Listings"));
    ClickControl(form, "CommandListing");
    EXPECT_FALSE(PreviewLines(form).contains("Command Listing"));
    EXPECT_EQ(PreviewLines(form).mid(0, 4),
              (QStringList{"Experiment: demo.qve", "", "", "Output Listing"}));
  });
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ExperimentReportDialogTest, NothingToReportThenNothingToPrintOrCopy) {
  StartOnDemo();
  QApplication::clipboard()->setText("kept");
  OpenReport([&](TExperimentPrintoutForm& form) {
    Dialogs.ScriptAnswers({mbOK, mbOK, mbOK});
    for (const char* option : Options) ClickControl(form, option);
    // Only the last click left nothing ticked.
    EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Nothing to report"}));
    EXPECT_TRUE(Preview(form).document()->isEmpty());
    EXPECT_TRUE(form.Report().IsEmpty());
    ClickControl(form, "Print");
    ClickControl(form, "CopyToClipboard");
    EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"Nothing to report", "Nothing to print",
                                                         "Nothing to print"}));
  });
  EXPECT_EQ(Dialogs.PrintCalls(), 0);
  EXPECT_EQ(QApplication::clipboard()->text(), QString("kept"));
}

TEST_F(ExperimentReportDialogTest, SavedAsRichTextOnlyUnderAnRtfName) {
  StartOnDemo();
  // A device command with the characters that rich text must escape.
  AddMeter("Meter")->GetCoreDevice().NewScript("SET {\\x} \\par");
  const std::string rtf = Temp.PathOf("r.rtf");
  const std::string upper = Temp.PathOf("R.RTF");
  const std::string text = Temp.PathOf("x.rtf.txt");
  std::vector<TReportLine> reported;
  std::string plain;
  OpenReport([&](TExperimentPrintoutForm& form) {
    ClickControl(form, "DeviceCommandListing");
    reported = form.Report().GetLines();
    plain = ReportText(form.Report());
    Dialogs.ScriptFiles({rtf, upper, text, ""});
    for (int save = 0; save < 4; ++save) ClickControl(form, "Save");  // the last cancelled
  });
  // The chooser proposes the title up to its point, beside the experiment's file.
  const std::vector<TScriptedUserDialogs::TFileCall> choices = Dialogs.FileChoices();
  ASSERT_EQ(choices.size(), 4u);
  EXPECT_TRUE(choices[0].Choice.Save);
  EXPECT_TRUE(choices[0].HadParent);
  EXPECT_EQ(choices[0].Choice.FileName, "demo");
  EXPECT_EQ(choices[0].Choice.DefaultExt, "rtf");
  EXPECT_EQ(choices[0].Choice.Filter,
            "Rich Text  (*.rtf)|*.rtf|Text File (*.txt)|*.txt|All Files (*.*)|*.*");
  EXPECT_EQ(std::filesystem::path(choices[0].Choice.InitialDir), Temp.Path());

  const TReportLine command{"\t\tCommand: SET {\\x} \\par", {.Bold = true}};
  ASSERT_NE(std::find(reported.begin(), reported.end(), command), reported.end());
  for (const std::string& path : {rtf, upper}) {
    const std::string saved = FileText(path);
    EXPECT_EQ(saved.rfind("{\\rtf", 0), 0u) << path;
    EXPECT_EQ(ReadRtf(saved), reported) << path;
  }
  EXPECT_EQ(FileText(text), plain);
  EXPECT_EQ(plain.rfind("Experiment: demo.qve\n", 0), 0u);
  for (const auto& entry : std::filesystem::directory_iterator(Temp.Path()))
    EXPECT_FALSE(entry.path().string().ends_with("~")) << "left behind: " << entry.path();
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ExperimentReportDialogTest, AFailedSaveSaysSoAndLeavesThePreviousFile) {
  StartOnDemo();
  const std::string path = Temp.PathOf("report.txt");
  std::ofstream(path) << "the previous report\n";
  // The temporary file of the save cannot be made: a folder stands in its place.
  std::filesystem::create_directory(path + ".saving~");
  OpenReport([&](TExperimentPrintoutForm& form) {
    Dialogs.ScriptFiles({path});
    Dialogs.ScriptAnswers({mbOK});
    ClickControl(form, "Save");
  });
  ASSERT_EQ(Dialogs.Boxes().size(), 1u);
  EXPECT_EQ(Dialogs.Boxes()[0].Box.Kind, TMessageKind::Error);
  EXPECT_TRUE(Dialogs.Texts()[0].starts_with("Cannot create file \"" + path + "\"."))
      << Dialogs.Texts()[0];
  EXPECT_EQ(FileText(path), "the previous report\n");
}

TEST_F(ExperimentReportDialogTest, PrintsToPdfAndCopiesRichAndPlainText) {
  StartOnDemo();
  const std::string pdf = Temp.PathOf("report.pdf");
  std::string rtf;
  std::string plain;
  std::vector<TReportLine> reported;
  OpenReport([&](TExperimentPrintoutForm& form) {
    reported = form.Report().GetLines();
    rtf = ReportRtf(form.Report());
    plain = ReportText(form.Report());
    Dialogs.ScriptPrints({"", Temp.PathOf("missing/report.pdf"), pdf});
    ClickControl(form, "Print");  // cancelled: nothing printed
    EXPECT_FALSE(std::filesystem::exists(pdf));
    // A printer that cannot print says so.
    Dialogs.ScriptAnswers({mbOK});
    ClickControl(form, "Print");
    EXPECT_EQ(Dialogs.Texts(), (std::vector<std::string>{"The report could not be printed."}));
    Dialogs.ClearCalls();
    ClickControl(form, "Print");
    // A selection made before the copy is gone after it.
    Preview(form).selectAll();
    ClickControl(form, "CopyToClipboard");
    EXPECT_FALSE(Preview(form).textCursor().hasSelection());
  });
  EXPECT_EQ(Dialogs.PrintCalls(), 3);
  const std::string printed = FileText(pdf);
  EXPECT_EQ(printed.rfind("%PDF", 0), 0u);
  // The document's title, as the PDF's information holds it (UTF-16, big-endian).
  std::string title = "\xfe\xff";
  for (const char c : std::string("Qorv Experiment Report")) title += std::string{'\0', c};
  EXPECT_NE(printed.find(title), std::string::npos);

  const QMimeData* copied = QApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->text().toStdString(), plain);
  const QByteArray rich = copied->data("text/rtf");
  EXPECT_EQ(rich.toStdString(), rtf);
  EXPECT_EQ(ReadRtf(rich.toStdString()), reported);
  EXPECT_TRUE(copied->hasHtml());
  EXPECT_TRUE(copied->html().contains("Experiment: demo.qve"));
  EXPECT_TRUE(copied->html().contains("font-weight:700")) << copied->html().toStdString();
  EXPECT_TRUE(Dialogs.Texts().empty());
}

TEST_F(ExperimentReportDialogTest, NoReportDuringARun) {
  StartQorv();
  AddWait(600000);
  OpenMenu("ExperimentMenu");
  EXPECT_TRUE(Action("ReportMenuItem")->isEnabled());
  Trigger("StartButton");
  ASSERT_TRUE(IsRunActive());
  // The item as the menu showed it before the run: it answers with the message.
  TModalDialogActor<TExperimentPrintoutForm> actor([](TExperimentPrintoutForm&) {});
  Dialogs.ScriptAnswers({mbOK});
  Trigger("ReportMenuItem");
  EXPECT_EQ(Dialogs.Texts(),
            (std::vector<std::string>{"An experiment is running you cannot produce a report"}));
  QTest::qWait(50);
  EXPECT_FALSE(actor.Seen);
  // Opened during the run, the menu offers no report.
  OpenMenu("ExperimentMenu");
  EXPECT_FALSE(Action("ReportMenuItem")->isEnabled());
}

}  // namespace
