#include <QApplication>
#include <QLocale>

#include "model/number_text.h"
#include "model/ui_port.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/dialog_setup.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_ui_port.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  NumberText::SetDecimalSeparator(DecimalSeparatorOf(QLocale::system()));
  RegisterDialogs(DialogRegistry());

  // The port comes first, so that the window can show messages while it is built.
  TQtUiPort uiPort;
  TUiPort* previousPort = SetUiPort(&uiPort);
  int result = 0;
  {
    TQorvForm mainWindow;
    uiPort.AttachWindow(&mainWindow);
    mainWindow.show();
    result = application.exec();
  }
  SetUiPort(previousPort);
  return result;
}
