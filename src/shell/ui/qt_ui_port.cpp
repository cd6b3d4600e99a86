#include "shell/ui/qt_ui_port.h"

#include <QApplication>
#include <QEventLoop>
#include <QLocale>
#include <QThread>
#include <QTimer>

#include <exception>
#include <stdexcept>
#include <utility>

#include "shell/ui/dialog_registry.h"
#include "shell/ui/main_window.h"
#include "shell/ui/user_dialogs.h"

namespace {

// A box above the modal dialog in use, else above the main window.
QWidget* BoxParent(QWidget* window) {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? modal : window;
}

}  // namespace

TQtUiPort::TQtUiPort() : Dialogs(&DialogRegistry()) {
  if (QCoreApplication* application = QCoreApplication::instance())
    MainThreadContext.moveToThread(application->thread());
}

TQtUiPort::~TQtUiPort() = default;

void TQtUiPort::AttachWindow(TQorvForm* window) { Window = window; }

void TQtUiPort::ShowMessage(const std::string& text, const std::string& caption,
                            TMessageKind kind) {
  const TMessageBox box = MessageBoxOf(text, caption, kind);
  RunInMainThread([&] { UserDialogs().Message(BoxParent(Window), box); });
}

TMessageButton TQtUiPort::Ask(const std::string& text, const std::string& caption,
                              TMessageKind kind, TMessageButtons buttons,
                              TMessageButton defaultButton) {
  const TMessageBox box = QuestionBoxOf(text, caption, kind, buttons, defaultButton);
  TMessageButton answer = box.Escape;
  RunInMainThread([&] { answer = UserDialogs().Message(BoxParent(Window), box); });
  return answer;
}

bool TQtUiPort::ChooseFile(TFileChoice& choice) {
  bool chosen = false;
  RunInMainThread([&] { chosen = UserDialogs().ChooseFile(BoxParent(Window), choice); });
  return chosen;
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

void TQtUiPort::PostToMainThread(std::function<void()> fn) {
  if (QThread::currentThread() == MainThreadContext.thread()) {
    fn();
    return;
  }
  if (!QMetaObject::invokeMethod(&MainThreadContext, std::move(fn), Qt::QueuedConnection))
    throw std::logic_error("The main thread did not take the hand-over");
}

void TQtUiPort::ExperimentChanged(int modified, int refresh) {
  RunInMainThread([&] {
    if (Window) Window->ExperimentChanged(modified, refresh);
  });
}

int TQtUiPort::OpenDialog(TDialogRequest& request) {
  int result = 0;
  RunInMainThread([&] { result = Dialogs->Open(request, BoxParent(Window)); });
  return result;
}

void TQtUiPort::SetDialogRegistry(const TDialogRegistry* registry) {
  Dialogs = registry ? registry : &DialogRegistry();
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
