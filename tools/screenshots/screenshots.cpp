// Opens each window of Qorv on the demo experiment and saves a picture of it, so that
// anyone can look at what users see:
//
//   qorv_screenshots <folder> <demo.qve>
//
// The demo's instruments must be reachable as scripts/run makes them. Message boxes are
// answered with their default button and noted on standard error; no file is chosen.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

#include "communication/communication.h"
#include "communication/device.h"
#include "communication/device_list.h"
#include "communication/device_settings.h"
#include "communication/holder.h"
#include "communication/ui/device_dialog.h"
#include "communication/ui/device_occupied_dialog.h"
#include "communication/ui/device_scripts_dialog.h"
#include "communication/ui/reassign_device_dialog.h"
#include "model/experiment.h"
#include "model/ui_port.h"
#include "model/block.h"
#include "shell/ui/about_box.h"
#include "shell/ui/align_blocks_dialog.h"
#include "shell/ui/draw_block_editor.h"
#include "shell/ui/edit_block_dialog.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/splash_form.h"
#include "shell/ui/tool_form.h"
#include "shell/ui/user_dialogs.h"

namespace {

class TNotedDialogs final : public TUserDialogs {
public:
  TMessageButton Message(QWidget*, const TMessageBox& box) override {
    std::fprintf(stderr, "box: %s: %s\n", qPrintable(box.Caption), qPrintable(box.Text));
    return box.Default;
  }
  bool ChooseFile(QWidget*, TFileChoice&) override { return false; }
  bool ChooseFont(QWidget*, QFont&) override { return false; }
  bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
};

QString Folder;

void Save(QWidget& window, const char* name) {
  QApplication::processEvents();
  QTest::qWait(200);
  const QString path = QDir(Folder).filePath(QString(name) + ".png");
  if (!window.grab().save(path)) std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
  else std::printf("%s\n", qPrintable(path));
}

// Serves events until done() answers true or the time is up.
bool WaitFor(const std::function<bool()>& done, int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < milliseconds) QTest::qWait(20);
  return done();
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
  TNotedDialogs dialogs;
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

    window.StartButtonClick();
    QTest::qWait(1500);
    Save(window, "main-window-running");
    if (!WaitFor([&] { return window.StatusText(TQorvForm::spRunState) == "Stopped"; }, 60000)) {
      std::fprintf(stderr, "the demo's run did not end\n");
      status = 1;
    }
    Save(window, "main-window-after-run");

    window.FloatButtonClick();
    if (TToolForm* tool = window.ToolWindow()) Save(*tool, "tool-window");
    window.FloatButtonClick();

    TAboutBox about(&window);
    about.show();
    Save(about, "about");
    about.close();
    window.Session().GetExperiment().SetFileName("");  // nothing to ask on the way out
    window.Session().ExperimentChanged(0, 1);
  }
  SetUserDialogs(previousDialogs);
  SetUiPort(previousPort);
  return status;
}
