#include "shell/ui/qt_ui_port.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLocale>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <exception>
#include <stdexcept>
#include <utility>

#include "shell/ui/main_window.h"

namespace {

// The core's buttons and Qt's, in the core's bit order.
constexpr std::pair<TMessageButton, QMessageBox::StandardButton> buttonMap[] = {
    {mbOK, QMessageBox::Ok},         {mbCancel, QMessageBox::Cancel},
    {mbYes, QMessageBox::Yes},       {mbNo, QMessageBox::No},
    {mbAbort, QMessageBox::Abort},   {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},
};

QMessageBox::Icon IconOf(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Information: return QMessageBox::Information;
    case TMessageKind::Warning: return QMessageBox::Warning;
    case TMessageKind::Error: return QMessageBox::Critical;
    case TMessageKind::Confirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// A box above the modal dialog in use, else above the main window.
QWidget* BoxParent(QWidget* window) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : window;
}

void PrepareBox(QMessageBox& box, const std::string& text, const std::string& caption,
                TMessageKind kind) {
  box.setWindowTitle(caption.empty() ? QStringLiteral("Qorv") : QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  box.setIcon(IconOf(kind));
}

// The first of the choices that the buttons hold; none when they hold none of them.
TMessageButton FirstOf(TMessageButtons buttons, std::initializer_list<TMessageButton> choices) {
  for (TMessageButton choice : choices)
    if (buttons & choice) return choice;
  return mbNone;
}

// What Escape or closing the box answers: Cancel, else No, else the last button.
TMessageButton EscapeAnswer(TMessageButtons buttons) {
  TMessageButton answer = FirstOf(buttons, {mbCancel, mbNo});
  if (answer == mbNone)
    for (const auto& [core, qt] : buttonMap)
      if (buttons & core) answer = core;
  return answer;
}

}  // namespace

TQtUiPort::TQtUiPort() {
  if (QCoreApplication* application = QCoreApplication::instance())
    MainThreadContext.moveToThread(application->thread());
}

TQtUiPort::~TQtUiPort() = default;

void TQtUiPort::AttachWindow(TQorvForm* window) { Window = window; }

void TQtUiPort::ShowMessage(const std::string& text, const std::string& caption,
                            TMessageKind kind) {
  RunInMainThread([&] {
    QMessageBox box(BoxParent(Window));
    PrepareBox(box, text, caption, kind);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
  });
}

TMessageButton TQtUiPort::Ask(const std::string& text, const std::string& caption,
                              TMessageKind kind, TMessageButtons buttons,
                              TMessageButton defaultButton) {
  buttons &= mbOK | mbCancel | mbYes | mbNo | mbAbort | mbRetry | mbIgnore;
  if (buttons == mbNone) buttons = mbOK;
  const TMessageButton defaultAnswer =
      (buttons & defaultButton) ? defaultButton : FirstOf(buttons, {mbOK, mbYes, mbRetry});
  const TMessageButton escapeAnswer = EscapeAnswer(buttons);
  TMessageButton answer = escapeAnswer;
  RunInMainThread([&] {
    QMessageBox box(BoxParent(Window));
    PrepareBox(box, text, caption, kind);
    for (const auto& [core, qt] : buttonMap) {
      if (!(buttons & core)) continue;
      box.addButton(qt);
      if (core == defaultAnswer) box.setDefaultButton(qt);
      if (core == escapeAnswer) box.setEscapeButton(qt);
    }
    box.exec();
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const auto& [core, qt] : buttonMap)
      if (qt == pressed) answer = core;
  });
  return answer;
}

void TQtUiPort::RunInMainThread(const std::function<void()>& fn) {
  if (QThread::currentThread() == MainThreadContext.thread()) {
    fn();
    return;
  }
  std::exception_ptr error;
  const bool handedOver = QMetaObject::invokeMethod(
      &MainThreadContext,
      [&fn, &error] {
        try {
          fn();
        } catch (...) {
          error = std::current_exception();
        }
      },
      Qt::BlockingQueuedConnection);
  if (!handedOver) throw std::logic_error("The main thread did not take the hand-over");
  if (error) std::rethrow_exception(error);
}

void TQtUiPort::ExperimentChanged(int modified, int refresh) {
  RunInMainThread([&] {
    if (Window) Window->ExperimentChanged(modified, refresh);
  });
}

int TQtUiPort::OpenDialog(TDialogRequest&) {
  // No dialog serves a request yet.
  return 0;
}

void TQtUiPort::RefreshViews() {
  RunInMainThread([&] {
    if (Window) Window->RefreshViews();
  });
}

void TQtUiPort::SetCaption(const std::string& caption) {
  RunInMainThread([&] {
    if (Window) Window->SetCaption(QString::fromStdString(caption));
  });
}

void TQtUiPort::SetStatusText(int panel, const std::string& text) {
  RunInMainThread([&] {
    if (Window) Window->SetStatusText(panel, QString::fromStdString(text));
  });
}

void WaitServingHandOvers(const std::function<bool()>& finished) {
  if (finished()) return;
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (finished()) loop.quit();
  });
  poll.start(2);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
}

char DecimalSeparatorOf(const QLocale& locale) {
  const QString point = locale.decimalPoint();
  if (point.size() == 1 && point[0].unicode() > 0x20 && point[0].unicode() < 0x7f)
    return static_cast<char>(point[0].unicode());
  return '.';
}
