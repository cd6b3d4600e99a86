#include "shell/ui/startup.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <exception>
#include <stdexcept>
#include <string>

#include "model/number_text.h"
#include "shell/ui/bad_keyboard_form.h"
#include "shell/ui/qt_ui_port.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/splash_form.h"

namespace {

void ShowMessage(const TStartupHooks& hooks, const QString& text, TMessageKind kind) {
  if (hooks.ShowMessage)
    hooks.ShowMessage(text, kind);
  else
    UiPort().ShowMessage(text.toStdString(), std::string(), kind);
}

void ShowModally(const TStartupHooks& hooks, QDialog& dialog) {
  if (hooks.ShowModally)
    hooks.ShowModally(dialog);
  else
    dialog.exec();
}

// The splash window, closed (and so deleted) however the start-up leaves.
class TSplashGuard {
public:
  TSplashGuard() : Splash(new TSplashForm) {}
  ~TSplashGuard() { Close(); }
  TSplashGuard(const TSplashGuard&) = delete;
  TSplashGuard& operator=(const TSplashGuard&) = delete;

  TSplashForm* operator->() const { return Splash.data(); }
  void Close() {
    if (Splash) Splash->close();
  }

private:
  QPointer<TSplashForm> Splash;
};

int RunSteps(const TStartupHooks& hooks) {
  TSingleInstance instance(hooks.LockPath.isEmpty() ? TSingleInstance::DefaultLockPath()
                                                    : hooks.LockPath);
  // A lock that cannot be made at all (no writable temporary folder) does not keep the
  // program from running; only another running copy does.
  if (instance.Acquire() == TSingleInstance::siAlreadyRunning) {
    ShowMessage(hooks, QStringLiteral("Qorv already running"), TMessageKind::Information);
    return 0;
  }

  NumberText::SetDecimalSeparator(DecimalSeparatorOf(hooks.Locale.value_or(QLocale::system())));
  CheckRegionalSettings([&hooks](QDialog& dialog) { ShowModally(hooks, dialog); });

  TSplashGuard splash;
  splash->show();
  QCoreApplication::processEvents();  // once, so that the splash window is painted

  QCoreApplication::setApplicationName(QStringLiteral("Qorv"));

  std::unique_ptr<QWidget> mainWindow = hooks.CreateMainWindow ? hooks.CreateMainWindow()
                                                               : nullptr;
  if (!mainWindow) throw std::runtime_error("The main window could not be created.");
  mainWindow->show();
  splash.Close();

  const int result = hooks.RunMessageLoop ? hooks.RunMessageLoop() : QApplication::exec();
  mainWindow.reset();
  return result;
}

}  // namespace

int RunStartup(const TStartupHooks& hooks) {
  try {
    return RunSteps(hooks);
  } catch (const std::exception& error) {
    ShowMessage(hooks, QString::fromLocal8Bit(error.what()), TMessageKind::Error);
  }
  return 1;
}

int RunQorv(int& argc, char** argv, const TStartupHooks& hooks) {
  QApplication application(argc, argv);
  // The port comes first, so that every window can show messages while it is built.
  TQtUiPort uiPort;
  TUiPort* previousPort = SetUiPort(&uiPort);
  // The main window attaches itself to the port as it is built.
  const int result = RunStartup(hooks);
  SetUiPort(previousPort);
  return result;
}
