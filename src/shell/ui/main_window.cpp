#include "shell/ui/main_window.h"

#include <QLabel>
#include <QStatusBar>

TQorvForm::TQorvForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle("Qorv");
  resize(900, 600);

  static constexpr std::array<int, spCount> panelWidths{100, 200, 60, 50};
  for (int panel = 0; panel < spCount; ++panel) {
    auto* label = new QLabel(statusBar());
    label->setObjectName(QString("StatusPanel%1").arg(panel));
    label->setMinimumWidth(panelWidths[panel]);
    // The last panel takes the width that is left, the others keep theirs.
    statusBar()->addWidget(label, panel == spHint ? 1 : 0);
    StatusPanels[panel] = label;
  }
}

void TQorvForm::SetCaption(const QString& caption) { setWindowTitle(caption); }

QString TQorvForm::StatusText(int panel) const {
  return panel >= 0 && panel < spCount ? StatusPanels[panel]->text() : QString();
}

void TQorvForm::SetStatusText(int panel, const QString& text) {
  if (panel >= 0 && panel < spCount) StatusPanels[panel]->setText(text);
}

void TQorvForm::ExperimentChanged(int modified, int refresh) {
  SetStatusText(spModified, modified != 0 ? QStringLiteral("Modified") : QString());
  // Selecting the first block when there is no current one, and clearing the mark when
  // the experiment tree is empty, come with the experiment tree.
  if (refresh == 0) UpdateRunButtons();
}

void TQorvForm::RefreshViews() { update(); }

void TQorvForm::UpdateRunButtons() {
  // The run buttons come with the tool bar; nothing to enable yet.
}
