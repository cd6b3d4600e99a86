#include "shell/ui/tool_form.h"

#include <QCloseEvent>
#include <QIcon>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

QToolButton* MakeButton(QToolBar* bar, const char* name, const QString& text,
                        const QString& hint) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setToolTip(hint);
  button->setStatusTip(hint);
  bar->addWidget(button);
  return button;
}

}  // namespace

TToolForm::TToolForm(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("ToolForm"));
  setWindowTitle(QStringLiteral("Qorv"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ToolBar = new QToolBar(this);
  ToolBar->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar->setMovable(false);
  layout->addWidget(ToolBar);
  Start = MakeButton(ToolBar, "StartButton", QStringLiteral("Start"),
                     QStringLiteral("Start Experiment"));
  Stop = MakeButton(ToolBar, "StopButton", QStringLiteral("Stop"),
                    QStringLiteral("Stop Experiment"));
  // The handlers are read at click time, so a button clicked before binding does nothing.
  connect(Start, &QToolButton::clicked, this, [this] {
    if (StartHandler) StartHandler();
  });
  connect(Stop, &QToolButton::clicked, this, [this] {
    if (StopHandler) StopHandler();
  });
  SetRunButtons(true, false);
}

TToolForm::~TToolForm() = default;

bool TToolForm::Bind(THandler start, THandler stop) {
  if (BoundFlag) return false;
  StartHandler = std::move(start);
  StopHandler = std::move(stop);
  BoundFlag = true;
  return true;
}

void TToolForm::SetCloseHandler(THandler onClose) { CloseHandler = std::move(onClose); }

void TToolForm::SetRunButtons(bool startEnabled, bool stopEnabled) {
  Start->setEnabled(startEnabled);
  Stop->setEnabled(stopEnabled);
}

void TToolForm::SetButtonIcons(const QIcon& start, const QIcon& stop) {
  Start->setIcon(start);
  Stop->setIcon(stop);
}

void TToolForm::closeEvent(QCloseEvent* event) {
  event->accept();
  if (Closing || !CloseHandler) return;
  Closing = true;
  struct TLeave {
    bool& Flag;
    ~TLeave() { Flag = false; }
  } leave{Closing};
  CloseHandler();
}
