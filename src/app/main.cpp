#include <QApplication>

#include "shell/ui/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  TQorvForm mainWindow;
  mainWindow.show();
  return application.exec();
}
