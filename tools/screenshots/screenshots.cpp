// Opens each window of Qorv on the demo experiment and saves a picture of it, so that
// anyone can look at what users see:
//
//   qorv_screenshots <folder> <demo.qve>
//
// The demo's instruments must be reachable as scripts/run makes them. Message boxes are
// answered with their default button and noted on standard error; no file, font or
// printer is chosen.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <cctype>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "communication/communication.h"
#include "communication/device.h"
#include "communication/ui/change_color_form.h"
#include "communication/ui/interactive_form.h"
#include "communication/ui/scan_for_devices_form.h"
#include "communication/device_list.h"
#include "communication/device_settings.h"
#include "communication/holder.h"
#include "communication/ui/device_dialog.h"
#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/device_scripts_dialog.h"
#include "communication/ui/reassign_device_dialog.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/data_list.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/tree_node.h"
#include "model/ui/change_var_dialog.h"
#include "model/ui/variable_dialog.h"
#include "model/ui_port.h"
#include "outputs/dead_output_list.h"
#include "outputs/exp_file_lists.h"
#include "outputs/mat_file.h"
#include "outputs/output.h"
#include "outputs/output_file.h"
#include "outputs/graph_form.h"
#include "outputs/ui/graph_attributes_dialog.h"
#include "outputs/ui/graph_titles_dialog.h"
#include "outputs/ui/plot_attributes_dialog.h"
#include "outputs/output_list.h"
#include "outputs/ui/active_scrolling_dialog.h"
#include "outputs/ui/add_output_dialog.h"
#include "outputs/ui/copy_data_dialog.h"
#include "outputs/ui/copy_row_select_dialog.h"
#include "outputs/ui/import_dialog.h"
#include "outputs/ui/log_to_file_dialog.h"
#include "outputs/ui/mat_export_dialog.h"
#include "outputs/ui/mat_import_dialog.h"
#include "outputs/ui/multi_file_dialog.h"
#include "outputs/ui/number_format_dialog.h"
#include "outputs/ui/output_window.h"
#include "outputs/ui/output_window_kinds.h"
#include "outputs/ui/print_table_dialog.h"
#include "outputs/ui/set_text_dialog.h"
#include "outputs/ui/single_file_dialog.h"
#include "outputs/table_form.h"
#include "outputs/ui/table_labels_dialog.h"
#include "platform/ui/help_window.h"
#include "scripts/command_table.h"
#include "scripts/device/send_and_read_request.h"
#include "scripts/script.h"
#include "scripts/script_request.h"
#include "scripts/ui/script_dialogs.h"
#include "shell/debug_run.h"
#include "shell/ui/about_box.h"
#include "shell/ui/align_blocks_dialog.h"
#include "shell/ui/browse_dialog.h"
#include "shell/ui/debug_form.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/draw_block_editor.h"
#include "shell/ui/edit_block_dialog.h"
#include "shell/ui/experiment_report_dialog.h"
#include "shell/ui/gpib_settings_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/preferences_dialog.h"
#include "shell/ui/print_status_form.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/splash_form.h"
#include "shell/ui/tool_form.h"
#include "shell/ui/user_dialogs.h"

namespace {

QString Folder;

void Save(QWidget& window, const char* name) {
  QApplication::processEvents();
  QTest::qWait(200);
  const QString path = QDir(Folder).filePath(QString(name) + ".png");
  if (!window.grab().save(path)) std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
  else std::printf("%s\n", qPrintable(path));
}

// The whole screen, each window where it stands.
void SaveScreen(const char* name) {
  QApplication::processEvents();
  QTest::qWait(200);
  const QString path = QDir(Folder).filePath(QString(name) + ".png");
  if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path))
    std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
  else
    std::printf("%s\n", qPrintable(path));
}

// "output-big-number" for the kind "Big number".
std::string PictureName(const char* kind) {
  std::string name = "output-";
  for (const char* c = kind; *c; ++c)
    name += *c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  return name;
}

// The first output of the kind in the experiment; none when it has none.
TOutput* OutputOfKind(TExperiment& experiment, std::uint8_t kind) {
  for (TOutput* output : experiment.GetOutputList()->GetOutputs())
    if (output->Poutputtype == kind) return output;
  return nullptr;
}

TOutputWindow* WindowOf(TOutputForm* form) {
  return form ? dynamic_cast<TOutputWindow*>(form->GetView()) : nullptr;
}

// The output windows that the run showed, set out as a user would beside the main window
// (the virtual display has no window manager to place them): the graph in the top right
// corner, the table below it, the text and the big number along the bottom to their left.
void ArrangeOutputs(QWidget& main, TExperiment& experiment) {
  const QRect area = main.screen()->availableGeometry();
  auto place = [&](std::uint8_t kind, auto where) {
    if (TOutput* output = OutputOfKind(experiment, kind))
      if (TOutputWindow* window = WindowOf(output->GetOutputForm())) {
        window->move(where(window->frameGeometry().size()));
        window->raise();
      }
  };
  int graphBottom = area.top();
  if (TOutput* output = OutputOfKind(experiment, otGRAPH))
    if (TOutputWindow* window = WindowOf(output->GetOutputForm()))
      graphBottom += window->frameGeometry().height();
  place(otTABLE, [&](QSize size) {
    return QPoint(area.right() + 1 - size.width(),
                  std::max(graphBottom, area.bottom() + 1 - size.height()));
  });
  int left = area.right() + 1;
  if (TOutput* output = OutputOfKind(experiment, otTABLE))
    if (TOutputWindow* window = WindowOf(output->GetOutputForm()))
      left -= window->frameGeometry().width();
  for (std::uint8_t kind : {otTEXT, otBIGNUMBER})
    place(kind, [&](QSize size) {
      left -= size.width();
      return QPoint(left, area.bottom() + 1 - size.height());
    });
  place(otGRAPH, [&](QSize size) { return QPoint(area.right() + 1 - size.width(), area.top()); });
}

// Shows the window and saves its picture.
void SaveWindow(TOutputWindow& window, const std::string& name) {
  window.show();
  if (!QTest::qWaitForWindowExposed(&window))
    std::fprintf(stderr, "the window %s did not show\n", name.c_str());
  window.RefreshNow();
  Save(window, name.c_str());
}

// Serves events until done() answers true or the time is up.
bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) QTest::qWait(20);
  return done();
}

// The table's copy, row, print and labels dialogs and the print-status window, filled
// from the table as the run left it.
void SaveTableDialogs(QWidget& parent, TTableForm& table) {
  const QString name = QString::fromStdString(table.GetName());
  {
    TCopyDataForm copy(&parent);
    for (std::int32_t s = 0; s < table.SeriesCount(); ++s)
      if (table.GetSeries(s).Count() > 0)
        copy.Offer(TCopyObject(s, table.GetSeries(s).Count() - 1, table.GetSeries(s).Name));
    if (copy.SeriesBox()->count() > 0) copy.SeriesBox()->item(0)->setSelected(true);
    copy.AddOneClick();
    copy.show();
    Save(copy, "copy-data-dialog");
  }
  {
    TCopyRowSelectForm rows(&parent);
    rows.Prepare(9, 99, 61, 99);
    rows.show();
    Save(rows, "row-select-dialog");
  }
  {
    TPrintTableForm columns(&parent);
    for (std::int32_t s = 0; s < table.SeriesCount(); ++s) {
      const TTableDataSet& set = table.GetSeries(s);
      columns.AddColumn(QString::fromStdString(set.Name + ": " + set.XName), set.ShowX);
      columns.AddColumn(QString::fromStdString(set.Name + ": " + set.YName), set.ShowY);
    }
    columns.show();
    Save(columns, "print-table-dialog");
  }
  {
    TTableLabelsForm labels(table, &parent);
    labels.Prepare(name, QApplication::font());
    labels.show();
    Save(labels, "table-labels-dialog");
  }
  {
    TPrintStatusForm status(&parent);
    status.Prepare(name);
    status.show();
    Save(status, "print-status-window");
  }
}

// The first command of the type in the tree, in tree order; none when there is none.
TScript* FirstCommandOf(const TTreeNode* node, int type) {
  for (; node; node = node->GetNextSibling()) {
    TScript* script = ScriptOfNode(node);
    if (script && script->GetScriptType() == type) return script;
    if (TScript* inner = FirstCommandOf(node->GetFirstChild(), type)) return inner;
  }
  return nullptr;
}

// Every command dialog of the command table, opened as a double click opens it on the
// demo's first command of its type ("wait-dialog" for the dialog captioned "Wait").
// Saves the modal dialog that the call opens, named for its caption ("wait-dialog" for
// the dialog captioned "Wait"), and closes it.
void SaveModalDialog(QWidget& window, const std::function<void()>& open) {
  QTimer::singleShot(100, &window, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    const std::string name =
        dialog->windowTitle().toLower().replace(' ', '-').toStdString() + "-dialog";
    Save(*dialog, name.c_str());
    dialog->close();
  });
  open();
}

// Every command dialog of the command table, opened as a double click opens it on the
// demo's first command of its type, or as a new command in the first block when the demo
// has none; then the Send-and-Read pair, which has no row of its own.
void SaveCommandDialogs(QWidget& window, TExperiment& experiment) {
  TDialogRegistry registry;
  RegisterScriptDialogs(registry);
  TTreeNode* first = experiment.GetExperimentTree().GetFirstNode();
  for (const TCommandKind& kind : CommandKinds()) {
    if (!kind.Dialog) continue;
    TScript* command = FirstCommandOf(first, kind.Type);
    std::unique_ptr<TScriptRequest> request = kind.Dialog();
    request->Experiment = &experiment;
    request->Block = command ? command->Pblock : BlockOfNode(first);
    request->Script = command;
    if (!request->Block || !request->CanOpen()) {
      std::fprintf(stderr, "no dialog of command type %d to show\n", kind.Type);
      continue;
    }
    SaveModalDialog(window, [&] { registry.Open(*request, &window); });
  }
  TSendAndReadRequest pair;
  pair.Experiment = &experiment;
  pair.Block = BlockOfNode(first);
  if (pair.Block && pair.CanOpen()) SaveModalDialog(window, [&] { registry.Open(pair, &window); });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: qorv_screenshots <folder> <demo.qve>\n");
    return 2;
  }
  Folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(Folder);
  TQtUiPort port;
  TUiPort* previousPort = SetUiPort(&port);
  TUnattendedDialogs dialogs([](const TMessageBox& box) {
    std::fprintf(stderr, "box: %s: %s\n", qPrintable(box.Caption), qPrintable(box.Text));
  });
  TUserDialogs* previousDialogs = SetUserDialogs(&dialogs);
  int status = 0;
  {
    TSplashForm* splash = new TSplashForm;
    splash->show();
    Save(*splash, "splash");
    splash->close();

    TQorvForm window;
    window.resize(1400, 860);
    window.FormShow(QString::fromLocal8Bit(argv[2]));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "the window did not show\n");
    Save(window, "main-window");

    // The diagram alone, then with both boxes gathered by Ctrl+click.
    TDrawBlockEditor& editor = *window.BlockEditor();
    Save(editor, "block-editor");
    TDrawParts& parts = window.Session().GetDrawParts();
    for (int i = 0; i < parts.Count(); ++i)
      if (parts.GetPart(i)->CanMultiselect()) parts.ToggleMultiSelect(parts.GetPart(i));
    Save(editor, "block-editor-multiselection");
    parts.ClearMultiSelection();

    // The block editor's two dialogs, on the demo's start block.
    TEditBlockRequest request;
    request.Title = "Measure";
    request.SetAsStart = true;
    {
      TEditBlockForm editBlock(request, &window);
      editBlock.show();
      Save(editBlock, "edit-block-dialog");
    }
    {
      TAlignBlocksForm align(&window);
      align.show();
      Save(align, "align-dialog");
    }

    // The device dialogs on the demo's devices and the machine's communications tree.
    TDeviceList& devices = window.Session().GetDeviceList();
    {
      TDeviceFormRequest newDevice;
      newDevice.List = &devices;
      TDeviceForm form(newDevice, &window);
      form.show();
      Save(form, "device-dialog-new");
    }
    // Each device as its Edit shows it, its location marked as the current one.
    for (std::size_t index = 0; index < devices.Count(); ++index) {
      TDevice& device = *devices.GetDevice(index);
      if (device.GetHolder()) device.GetHolder()->SetCurrentLocation(true);
      TDeviceFormRequest edit;
      edit.List = &devices;
      edit.Device = &device;
      edit.Settings = DeviceSettingsOf(device);
      TDeviceForm form(edit, &window);
      form.show();
      Save(form, ("device-dialog-edit-" + std::to_string(index + 1)).c_str());
      form.close();
      if (device.GetHolder()) device.GetHolder()->SetCurrentLocation(false);
    }
    if (!devices.IsEmpty()) {
      TDevice& meter = *devices.GetDevice(0);
      TDeviceScriptsRequest scripts;
      scripts.Device = &meter.GetCoreDevice();
      TAddDeviceScriptsForm editor(scripts, &window);
      editor.show();
      Save(editor, "device-scripts-dialog");
      editor.reject();
      TDeviceOccupiedRequest occupied;
      occupied.CommunicationName = meter.GetCommunication() ? meter.GetCommunication()->GetName() : "";
      occupied.OccupantName = meter.GetName();
      TDeviceOccupiedForm occupiedForm(occupied, &window);
      occupiedForm.show();
      Save(occupiedForm, "device-occupied-dialog");
    }
    {
      TReassignDeviceRequest reassign;
      reassign.Tree = &devices.GetCommunicationsTree();
      TReassignDeviceForm form(reassign, &window);
      form.show();
      Save(form, "reassign-device-dialog");
    }
    // The instrument scan of the demo's NI board with its results.
    {
      TScanForDevicesRequest scan;
      scan.List = &devices;
      TScanForDevicesForm form(scan, &window);
      form.show();
      bool finished = false;
      QObject::connect(&form, &TScanForDevicesForm::ScanFinished, [&finished] { finished = true; });
      form.SearchClick();
      if (!QTest::qWaitFor([&] { return finished; }, 30000))
        std::fprintf(stderr, "the scan did not end\n");
      Save(form, "scan-for-devices-dialog");
      form.reject();
    }
    // The console after an identification query of the first device, and its colours.
    if (!devices.IsEmpty()) {
      TInteractRequest interact;
      devices.GetDevices(interact.Devices);
      interact.Preselected = interact.Devices.front();
      TInteractiveForm form(interact, &window);
      form.show();
      form.findChild<QLineEdit*>("CommandEdit")->setText("*IDN?");
      form.findChild<QAbstractButton*>("ReadCheckBox")->setChecked(true);
      bool finished = false;
      QObject::connect(&form, &TInteractiveForm::ExchangeFinished, [&finished] { finished = true; });
      form.SendButtonClick();
      if (!QTest::qWaitFor([&] { return finished; }, 30000))
        std::fprintf(stderr, "the console's exchange did not end\n");
      Save(form, "interactive-console");
      TChangeColorsRequest colors;
      colors.Colors = &ConsoleColors();
      TInteractiveChangeColorForm colorForm(colors, &form);
      colorForm.show();
      Save(colorForm, "change-colors-dialog");
      colorForm.reject();
      form.reject();
    }

    // The dialogs of variables, outputs and data files, as their lists open them.
    TExperiment& experiment = window.Session().GetExperiment();
    {
      TDataFormRequest variables;
      variables.Mode = TDataFormRequest::dmADD;
      variables.ShowArraySize = true;
      variables.NameList = &experiment.GetDataArrayList()->GetDataNameList();
      TDataForm form(variables, &window);
      form.show();
      Save(form, "variables-dialog");
    }
    {
      TChangeVarRequest change;
      change.Caption = "Variable to store read data";
      change.NameList = &experiment.GetDataSingleList()->GetDataNameList();
      std::vector<TData*> offered;
      experiment.GetDataSingleList()->GetAll(offered);
      for (TData* variable : offered)
        change.Choices.emplace_back(variable->GetDataName(), variable);
      TChangeVarForm form(change, &window);
      form.show();
      Save(form, "rename-or-choose-dialog");
    }
    {
      TOutputDialogRequest output;
      output.List = experiment.GetOutputList();
      TAddOutputForm form(output, &window);
      form.SetType(otGRAPH);
      form.show();
      Save(form, "add-output-dialog");
    }
    {
      TSingleExpFileRequest single;
      single.List = experiment.GetSingleExpFileList();
      TSingleExpFileForm form(single, &window);
      form.show();
      Save(form, "single-file-dialog");
    }
    {
      TMultiExpFileRequest multiple;
      multiple.List = experiment.GetMultiExpFileList();
      TMultiExpFileForm form(multiple, &window);
      form.show();
      Save(form, "multiple-file-dialog");
    }

    // The settings dialogs: GPIB boards, the default folders, and Find Directory with
    // its new-folder line open.
    SaveCommandDialogs(window, window.Session().GetExperiment());
    {
      TGpibSettingsRequest gpib;
      gpib.Settings = {false, 1, 2};
      TGPIBAdvancedForm form(gpib, &window);
      form.show();
      Save(form, "gpib-settings-dialog");
    }
    {
      TExperimentPreferencesRequest preferences;
      preferences.Directories = window.Session().Directories;
      preferences.Directories.Output = QDir::homePath().toStdString();
      TExperimentPreferencesForm form(preferences, &window);
      form.show();
      Save(form, "preferences-dialog");
    }
    {
      TBrowseForm form(&window);
      form.setWindowTitle("Find Output Directory");
      form.SetCurrentDirectory(QDir::homePath());
      form.show();
      if (auto* add = form.findChild<QAbstractButton*>("NewButton")) add->click();
      Save(form, "find-directory-dialog");
    }

    window.StartButtonClick();
    QTest::qWait(1500);
    Save(window, "main-window-running");
    if (!WaitFor([&] { return window.StatusText(TQorvForm::spRunState) == "Stopped"; }, 60000)) {
      std::fprintf(stderr, "the demo's run did not end\n");
      status = 1;
    }
    Save(window, "main-window-after-run");
    // What the user sees after the run: the main window and the output windows the run
    // showed.
    ArrangeOutputs(window, experiment);
    SaveScreen("screen-after-run");

    // Each kind of output window as the run left it.
    TOutput* graph = nullptr;
    TOutput* table = nullptr;
    for (const TOutputWindowKind& kind : OutputWindowKinds()) {
      TOutput* output = OutputOfKind(experiment, kind.OutputType);
      if (!output) {
        std::fprintf(stderr, "the demo has no %s output\n", kind.Name);
        continue;
      }
      output->ShowOutputForm();
      if (TOutputWindow* shown = WindowOf(output->GetOutputForm()))
        SaveWindow(*shown, PictureName(kind.Name));
      if (kind.OutputType == otGRAPH) graph = output;
      if (kind.OutputType == otTABLE) table = output;
    }
    // The Number Format dialog, as a window's "&Number Format" opens it.
    {
      TNumberFormatForm numberFormat(&window);
      numberFormat.SetFormat(ntFIXED, 3);
      numberFormat.show();
      Save(numberFormat, "number-format-dialog");
    }
    // The small dialogs of the graph and big-number windows.
    {
      TSetTextForm title(&window);
      title.SetText("Readings");
      title.show();
      Save(title, "set-title-dialog");
    }
    {
      TActiveScrollingForm scrolling(&window);
      scrolling.SetSeries({"Series 0", "Series 1"}, 0);
      scrolling.SetPoints(100);
      scrolling.show();
      Save(scrolling, "active-scrolling-dialog");
    }
    {
      TLogToFileForm log(&window);
      log.SetParameters({"/home/lab/readings-log.txt", true, true, false});
      log.show();
      Save(log, "log-to-file-dialog");
    }
    // The MAT dialogs: the graph's series offered for export, and a file the export
    // writer made opened for import with its data sets added.
    if (auto* form = graph ? dynamic_cast<TGraphForm*>(graph->GetOutputForm()) : nullptr) {
      TMatExportLists lists;
      for (std::int32_t i = 0; i < form->SeriesCount(); ++i)
        lists.Offer(form->GetSeries(i).Name, i, form->GetSeries(i).Count());
      TExportMatLabDataForm matExport(&window, *form, lists);
      matExport.show();
      Save(matExport, "mat-export-dialog");
    }
    {
      QTemporaryDir matFolder;
      const std::string path = matFolder.filePath("sweep.mat").toStdString();
      std::vector<double> values;
      for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 50; ++r) values.push_back(c % 2 ? (r * 0.25) * (c + 1) : r * 0.1);
      WriteMatArray(path, "Sweep", 50, 4, values);
      TImportMatLabDataForm matImport(&window, path,
                                      ListMatArrays(path).value_or(std::vector<std::string>{}));
      matImport.AddClick();
      matImport.show();
      Save(matImport, "mat-import-dialog");
    }
    // The text import wizard's pages over a small file of readings.
    {
      TImportForm wizard(&window);
      wizard.SetLines({"Time\tVolts\tAmps", "0.0\t1.25\t0.012", "0.5\t1.31\t0.013",
                       "1.0\t1.38\t0.015", "1.5\t1.44\t0.016", "2.0\t1.52\t0.018"});
      wizard.show();
      Save(wizard, "import-wizard-rows");
      if (auto* start = wizard.findChild<QComboBox*>("StartRowBox")) start->setCurrentIndex(2);
      wizard.NextClick();
      wizard.DelimitClick();
      Save(wizard, "import-wizard-delimited");
      wizard.NextClick();
      wizard.AddClick();
      Save(wizard, "import-wizard-data-sets");
      wizard.PreviousClick();
      wizard.PreviousClick();
      if (auto* fixed = wizard.findChild<QRadioButton*>("FixedButton")) fixed->setChecked(true);
      wizard.NextClick();
      wizard.FixedPage().Marks = {4, 9};
      Save(wizard, "import-wizard-fixed");
    }
    // The graph's editing dialogs, filled from the demo's graph.
    if (graph) {
      auto* graphForm = dynamic_cast<TGraphForm*>(graph->GetOutputForm());
      TGraphTitlesForm titles(&window);
      titles.SetTitleLines({"Temperature sweep", "Sample 4"});
      titles.XTitle = "Time (s)";
      titles.YTitle = "Temperature (K)";
      const QFont font = titles.font();
      titles.SetTitleFont(&font);
      titles.SetXAxisFont(&font);
      titles.SetYAxisFont(&font);
      titles.show();
      Save(titles, "graph-titles-dialog");
      TGraphAttributesForm attributes(&window);
      attributes.SetAxis(0, {false, false, false, false, "0", "120", "10"});
      attributes.SetAxis(1, {true, true, true, true, "", "", ""});
      attributes.show();
      Save(attributes, "graph-attributes-dialog");
      if (graphForm && graphForm->SeriesCount() > 0) {
        TPlotAttributesForm plot(&window);
        for (std::int32_t s = 0; s < graphForm->SeriesCount(); ++s)
          plot.AddSeries(QString::fromStdString(graphForm->GetSeries(s).Name), s);
        plot.Load(*graphForm, 0, graphForm->NumberOfActiveSeries());
        plot.show();
        Save(plot, "plot-attributes-dialog");
      }
    }
    if (auto* tableForm = table ? dynamic_cast<TTableForm*>(table->GetOutputForm()) : nullptr)
      SaveTableDialogs(window, *tableForm);
    // The graph saved as an output file and opened again: a detached window, listed
    // under "&Opened Outputs"; then the live graph taken off-line beside it.
    QTemporaryDir files;
    TDeadOutputList* detached = window.GetDeadOutputList();
    if (graph && detached && files.isValid()) {
      const std::string path = QDir(files.path()).filePath("readings.opt").toStdString();
      if (SaveOutputFile(*graph->GetOutputForm(), path)) {
        if (TOutputWindow* reopened = WindowOf(detached->OpenOutputFile(path)))
          SaveWindow(*reopened, "output-opened");
      }
      if (TOutputWindow* live = WindowOf(graph->GetOutputForm())) {
        live->OffLineClick();
        SaveWindow(*live, "output-offline");
      }
      QMenu* opened = window.findChild<QMenu*>("OpenedOutputsMenu");
      if (opened) {
        opened->popup(window.mapToGlobal(QPoint(200, 60)));
        Save(*opened, "opened-outputs-menu");
        opened->hide();
      }
    }

    window.FloatButtonClick();
    if (TToolForm* tool = window.ToolWindow()) Save(*tool, "tool-window");
    window.FloatButtonClick();

    // The experiment report, as it opens and with the device commands' table ticked.
    {
      TExperimentPrintoutForm report(window.Session().GetExperiment(),
                                     window.Session().GetDeviceList(), &window);
      report.show();
      Save(report, "report-dialog");
      if (auto* commands = report.findChild<QAbstractButton*>("DeviceCommandListing")) {
        commands->click();
        if (auto* preview = report.findChild<QTextEdit*>("PreviewEdit"))
          preview->verticalScrollBar()->setValue(preview->verticalScrollBar()->maximum());
        Save(report, "report-dialog-device-commands");
      }
    }

    // The debug window paused on a stop, a variable traced through the steps before it.
    {
      TDebugForm debug;
      TExperiment& debugged = window.Session().GetExperiment();
      if (debug.Prepare(debugged, window.Session().GetDeviceList())) {
        TDebugRun& run = debug.Engine();
        std::vector<TData*> variables;
        debugged.GetAllVariables(variables);
        if (!variables.empty())
          if (TTreeNode* node = run.GetAttributeTree()->CopyOf(variables.front()->AExpAttNode))
            run.ToggleTrace(node);
        // A stop on the last command of the first block: the loop's steps run before it.
        TTreeNode* block = run.GetDebugTree()->GetTree().GetFirstNode();
        if (block && block->GetLastChild()) run.ToggleStop(block->GetLastChild());
        debug.resize(1100, 720);
        debug.show();
        debug.StartButtonClick();
        if (!WaitFor([&] { return run.IsPaused() || !run.IsRunActive(); }, 30000))
          std::fprintf(stderr, "the debug run did not reach its stop\n");
        Save(debug, "debug-window");
        debug.CloseClick();
      }
      window.Run().DebuggerClosed();
    }

    TAboutBox about(&window);
    about.show();
    Save(about, "about");
    about.close();

    // The help window at the main window's topic, at a dialog's topic inside its page, and
    // its index finding a word.
    ShowHelp(39);
    if (THelpWindow* help = THelpWindow::Existing()) {
      Save(*help, "help-window");
      ShowHelp(52);
      Save(*help, "help-window-dialog-topic");
      ShowHelpIndex();
      if (auto* find = help->findChild<QLineEdit*>("FindEdit")) QTest::keyClicks(find, "device");
      Save(*help, "help-window-index");
      THelpWindow::Close();
    }
    window.Session().GetExperiment().SetFileName("");  // nothing to ask on the way out
    window.Session().ExperimentChanged(0, 1);
  }
  SetUserDialogs(previousDialogs);
  SetUiPort(previousPort);
  return status;
}
