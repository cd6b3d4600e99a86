// The program's start-up with the parts that would block replaced by lines on standard
// output, for tests that start copies of Qorv as separate processes:
//   "message: <text>"      a message the start-up showed
//   "modal: <class>"       a window it showed modally
//   "main window"          the main window was made
// The message loop ends at once; the exit code is the start-up's.
#include <QDialog>
#include <QString>
#include <QWidget>

#include <cstdio>
#include <memory>

#include "shell/ui/startup.h"

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toLocal8Bit().constData());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  TStartupHooks hooks;
  hooks.ShowMessage = [](const QString& text, TMessageKind) { Say("message: " + text); };
  hooks.ShowModally = [](QDialog& dialog) {
    Say(QStringLiteral("modal: ") + QString::fromLatin1(dialog.metaObject()->className()));
  };
  hooks.CreateMainWindow = [] {
    Say(QStringLiteral("main window"));
    return std::make_unique<QWidget>();
  };
  hooks.RunMessageLoop = [] { return 0; };
  return RunQorv(argc, argv, hooks);
}
