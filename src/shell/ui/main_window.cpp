#include "shell/ui/main_window.h"

TQorvForm::TQorvForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Qorv");
  resize(900, 600);
}
