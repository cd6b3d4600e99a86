// The program's start-up: one copy at a time, the regional check, the splash window,
// the main window and the message loop.
#pragma once

#include <QLocale>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

#include "model/ui_port.h"

class QDialog;
class QWidget;

// What the start-up needs from its caller. Only CreateMainWindow is required; the
// others default to the real thing and let tests run the start-up without blocking.
struct TStartupHooks {
  // Builds the main window (and the windows made once with it). The start-up shows it,
  // keeps it until the message loop ends, then deletes it. A null window ends the
  // start-up as a failure.
  std::function<std::unique_ptr<QWidget>()> CreateMainWindow;
  // A message with an OK button ("Qorv already running", a failure of the start-up).
  // Default: the UI port's message.
  std::function<void(const QString& text, TMessageKind kind)> ShowMessage;
  // Shows a window modally (the regional warning). Default: QDialog::exec().
  std::function<void(QDialog& dialog)> ShowModally;
  // Runs the message loop; answers the exit code. Default: QApplication::exec().
  std::function<int()> RunMessageLoop;
  // The single-instance lock. Default: TSingleInstance::DefaultLockPath().
  QString LockPath;
  // The regional settings numbers are read with. Default: QLocale::system().
  std::optional<QLocale> Locale;
};

// The start-up after the application object exists, in order: take the single-instance
// lock (when another copy holds it: "Qorv already running" and exit code 0, no window
// made); take the decimal separator from the regional settings and warn once when
// numbers of files cannot be read with it; show the splash window and paint it; set the
// application's name "Qorv"; create and show the main window; close the splash window;
// run the message loop. The lock is released when this returns, also after a failure,
// which is shown as a message and answers exit code 1.
int RunStartup(const TStartupHooks& hooks);

// The entry point's work: the application object, the Qt UI port (attached to the main
// window when that is a TQorvForm), then RunStartup. Answers the exit code.
int RunQorv(int& argc, char** argv, const TStartupHooks& hooks);
