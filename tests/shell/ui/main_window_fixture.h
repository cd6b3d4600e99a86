// What the main window's tests share: a clean settings store, the Qt UI port, the
// scripted message boxes and file choosers, and the main window as Qorv shows it at
// start-up; the demo experiment saved in a temporary folder with its instruments
// simulated (the GPIB bus and the serial thermometer); actions found by name.
#pragma once

#include <QAction>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <functional>
#include <memory>
#include <string>

#include "examples/demo_experiment.h"
#include "model/experiment_running.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_ui_port.h"
#include "support/gpib_sim.h"
#include "support/served_thermometer.h"
#include "support/temp_dir.h"
#include "support/ui/scripted_user_dialogs.h"

class TMainWindowTest : public ::testing::Test {
protected:
  TMainWindowTest() {
    QSettings("Orvelle", "Qorv").clear();
    Previous = SetUiPort(&Port);
  }
  ~TMainWindowTest() override {
    CloseWithoutQuestions();
    SetUiPort(Previous);
  }

  // The window as start-up makes it: built, its settings read, shown.
  void StartQorv(const QString& commandLineFile = {}) {
    Window = std::make_unique<TQorvForm>();
    Window->FormShow(commandLineFile);
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
  }
  // Closes the window as a user does (the save question answered as scripted before).
  void CloseWindow() {
    if (Window) Window->close();
    Window.reset();
  }
  // Ends the test's window without its questions: the run stopped, the mark cleared.
  void CloseWithoutQuestions() {
    if (!Window) return;
    if (IsRunActive()) {
      Window->StopButtonClick();
      Dialogs.ScriptAnswers({mbOK});  // "Aborted"
      WaitUntil([] { return !IsRunActive(); }, 10000);
    }
    Window->Session().ExperimentChanged(0, 1);
    Window.reset();
  }

  QAction* Action(const char* name) const {
    QAction* action = Window->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  // Triggers an action as its button or menu item does, when it is enabled.
  void Trigger(const char* name) {
    QAction* action = Action(name);
    ASSERT_TRUE(action && action->isEnabled()) << name << " is disabled";
    action->trigger();
  }
  QString Panel(int panel) const { return Window->StatusText(panel); }

  static bool WaitUntil(const std::function<bool()>& done, int milliseconds = 5000) {
    return QTest::qWaitFor(done, milliseconds);
  }

  // The demo saved as demo.qve in the temporary folder, short: a few readings with
  // short waits, its data file beside it.
  std::string SaveDemo(int readings = 4, int waitMilliseconds = 20) {
    TDemoSettings settings{Temp.Path().string()};
    settings.Readings = readings;
    settings.WaitMilliseconds = waitMilliseconds;
    const std::string path = Temp.PathOf("demo.qve");
    std::string error;
    TDemoExperiment demo(settings);
    EXPECT_TRUE(demo.Save(path, error)) << error;
    return path;
  }

  TTempDir Temp;
  TQtUiPort Port;
  TScriptedUserDialogs Dialogs;
  std::unique_ptr<TQorvForm> Window;

private:
  TUiPort* Previous = nullptr;
};

// The demo's instruments, as scripts/run serves them.
class TDemoInstruments {
public:
  TDemoInstruments()
      : Bus(FileText(std::string(QORV_SOURCE_DIR) + "/tools/gpibsim/demo.sim")),
        Thermometer(std::string(QORV_SOURCE_DIR) + "/tools/serialsim/demo.rules") {}

  static std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  TGpibSim Bus;
  TServedThermometer Thermometer;
};
