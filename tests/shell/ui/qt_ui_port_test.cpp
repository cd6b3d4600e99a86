#include <QAbstractButton>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "model/errors.h"
#include "shell/ui/qt_ui_port.h"
#include "support/ui/worker.h"

namespace {

bool OnMainThread() { return QThread::currentThread() == qApp->thread(); }

// Waits for the next modal message box, notes what it shows and acts on it.
class TBoxCloser {
public:
  explicit TBoxCloser(std::function<void(QMessageBox&)> act) : Act(std::move(act)) {
    QObject::connect(&Timer, &QTimer::timeout, [this] { Poll(); });
    Timer.start(10);
  }

  bool Seen = false;
  bool SeenOnMainThread = false;
  QString Caption, Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons Buttons;

private:
  void Poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    Timer.stop();
    Seen = true;
    SeenOnMainThread = box->thread() == qApp->thread() && OnMainThread();
    Caption = box->windowTitle();
    Text = box->text();
    Icon = box->icon();
    Buttons = box->standardButtons();
    Act(*box);
  }

  QTimer Timer;
  std::function<void(QMessageBox&)> Act;
};

auto Click(QMessageBox::StandardButton button) {
  return [button](QMessageBox& box) { box.button(button)->click(); };
}
auto PressKey(Qt::Key key) {
  return [key](QMessageBox& box) { QTest::keyClick(&box, key); };
}

}  // namespace

TEST(QtUiPort, HandOverRunsOnTheMainThreadWhileTheWorkerWaits) {
  TQtUiPort port;
  bool ranOnMain = false, workerSawTheResult = false, workerWasNotMain = false;
  ASSERT_TRUE(RunOnWorker([&] {
    workerWasNotMain = !OnMainThread();
    int result = 0;
    port.RunInMainThread([&] {
      ranOnMain = OnMainThread();
      QThread::msleep(50);  // a slow hand-over: the worker must still wait for it
      result = 42;
    });
    workerSawTheResult = result == 42;
  }));
  EXPECT_TRUE(workerWasNotMain);
  EXPECT_TRUE(ranOnMain);
  EXPECT_TRUE(workerSawTheResult);

  // Several workers: every hand-over runs on the main thread, one at a time.
  int count = 0;
  bool inside = false, overlapped = false, offMain = false;
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w)
    workers.emplace_back([&] {
      for (int i = 0; i < 100; ++i)
        port.RunInMainThread([&] {
          overlapped = overlapped || inside;
          offMain = offMain || !OnMainThread();
          inside = true;
          ++count;
          inside = false;
        });
      ++finished;
    });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  WaitServingHandOvers(
      [&] { return finished == 4 || std::chrono::steady_clock::now() > deadline; });
  EXPECT_EQ(finished, 4) << "the hand-overs were not served";
  for (auto& worker : workers) {
    if (finished == 4)
      worker.join();
    else
      worker.detach();
  }
  EXPECT_EQ(count, 400);
  EXPECT_FALSE(overlapped);
  EXPECT_FALSE(offMain);
}

TEST(QtUiPort, ExceptionsOfAHandOverReachTheWorker) {
  TQtUiPort port;
  std::string message;
  int thrownInt = 0;
  bool laterHandOverRan = false;
  ASSERT_TRUE(RunOnWorker([&] {
    try {
      port.RunInMainThread([] { throw EExperimentError("Device DMM did not answer"); });
    } catch (const EExperimentError& error) {
      message = error.GetMessage();
    }
    try {
      port.RunInMainThread([] { throw 7; });
    } catch (int value) {
      thrownInt = value;
    }
    port.RunInMainThread([&] { laterHandOverRan = true; });
  }));
  EXPECT_EQ(message, "Device DMM did not answer");
  EXPECT_EQ(thrownInt, 7);
  EXPECT_TRUE(laterHandOverRan);
}

TEST(QtUiPort, OnTheMainThreadHandOversRunDirectly) {
  TQtUiPort port;
  bool eventServed = false, ranBeforeEvents = false;
  QObject timerContext;  // drops the pending timer with the test's locals
  QTimer::singleShot(0, &timerContext, [&] { eventServed = true; });
  port.RunInMainThread([&] { ranBeforeEvents = OnMainThread() && !eventServed; });
  EXPECT_TRUE(ranBeforeEvents) << "the call waited for an event loop";
  EXPECT_THROW(port.RunInMainThread([] { throw std::runtime_error("bad"); }),
               std::runtime_error);

  // A hand-over that hands over again is already on the main thread.
  bool nestedRan = false;
  ASSERT_TRUE(RunOnWorker([&] {
    port.RunInMainThread([&] { port.RunInMainThread([&] { nestedRan = OnMainThread(); }); });
  }));
  EXPECT_TRUE(nestedRan);

  // Nothing to wait for: the helper returns at once.
  WaitServingHandOvers([] { return true; });
}

TEST(QtUiPort, PostsDoNotWaitAndKeepTheirPlaceAmongHandOvers) {
  TQtUiPort port;
  std::vector<int> order;  // the main thread's
  bool offMain = false, workerWentOn = false;
  ASSERT_TRUE(RunOnWorker([&] {
    // Posts and hand-overs in turn: each runs on the main thread after all that came
    // before it; the worker waits only for the hand-overs.
    for (int i = 0; i < 300; ++i) {
      if (i % 3 == 2)
        port.RunInMainThread([&, i] {
          offMain = offMain || !OnMainThread();
          order.push_back(i);
        });
      else
        port.PostToMainThread([&, i] {
          offMain = offMain || !OnMainThread();
          order.push_back(i);
        });
    }
    // A post that the main thread has not taken yet leaves the worker free.
    std::atomic<bool> release{false};
    port.PostToMainThread([&] {
      while (!release) QThread::msleep(1);
    });
    workerWentOn = true;
    release = true;
    port.RunInMainThread([] {});
  }));
  ASSERT_EQ(order.size(), 300u);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
  EXPECT_FALSE(offMain);
  EXPECT_TRUE(workerWentOn);

  // On the main thread a post runs at once.
  bool ran = false;
  port.PostToMainThread([&] { ran = OnMainThread(); });
  EXPECT_TRUE(ran);
}

TEST(QtUiPort, AskAnswersTheButtonPressed) {
  TQtUiPort port;
  {
    TBoxCloser closer(Click(QMessageBox::No));
    EXPECT_EQ(port.Ask("Save the experiment?", "", TMessageKind::Confirmation,
                       mbYes | mbNo | mbCancel),
              mbNo);
    ASSERT_TRUE(closer.Seen);
    EXPECT_EQ(closer.Caption, QString("Qorv"));
    EXPECT_EQ(closer.Text, QString("Save the experiment?"));
    EXPECT_EQ(closer.Icon, QMessageBox::Question);
    EXPECT_EQ(closer.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  }
  struct TCase {
    TMessageButtons Buttons;
    std::function<void(QMessageBox&)> Act;
    TMessageButton Answer;
  };
  const TCase cases[] = {
      {mbYes | mbNo | mbCancel, PressKey(Qt::Key_Escape), mbCancel},
      {mbYes | mbNo, PressKey(Qt::Key_Escape), mbNo},
      {mbYes | mbNo, [](QMessageBox& box) { box.close(); }, mbNo},
      {mbAbort | mbRetry | mbIgnore, PressKey(Qt::Key_Escape), mbIgnore},
      {mbAbort | mbRetry, [](QMessageBox& box) { box.close(); }, mbRetry},
      {mbOK, PressKey(Qt::Key_Escape), mbOK},
      {mbOK | mbCancel, Click(QMessageBox::Ok), mbOK},
      {mbAbort | mbRetry | mbIgnore, Click(QMessageBox::Abort), mbAbort},
      {mbYes | mbNo, PressKey(Qt::Key_Return), mbYes},
  };
  for (const TCase& c : cases) {
    TBoxCloser closer(c.Act);
    EXPECT_EQ(port.Ask("Question", "Qorv Warning", TMessageKind::Warning, c.Buttons), c.Answer)
        << "buttons " << c.Buttons;
    EXPECT_TRUE(closer.Seen);
    EXPECT_EQ(closer.Caption, QString("Qorv Warning"));
    EXPECT_EQ(closer.Icon, QMessageBox::Warning);
  }
}

TEST(QtUiPort, MessagesAndQuestionsFromAWorkerShowOnTheMainThread) {
  TQtUiPort port;
  TMessageButton answer = mbNone;
  {
    TBoxCloser closer(Click(QMessageBox::Retry));
    ASSERT_TRUE(RunOnWorker([&] {
      answer = port.Ask("Device timed out", "Qorv Message", TMessageKind::Error,
                        mbAbort | mbRetry | mbIgnore);
    }));
    EXPECT_EQ(answer, mbRetry);
    EXPECT_TRUE(closer.SeenOnMainThread);
    EXPECT_EQ(closer.Icon, QMessageBox::Critical);
  }
  {
    TBoxCloser closer(Click(QMessageBox::Ok));
    ASSERT_TRUE(RunOnWorker(
        [&] { port.ShowMessage("Température hors limites", "", TMessageKind::Error); }));
    EXPECT_TRUE(closer.SeenOnMainThread);
    EXPECT_EQ(closer.Caption, QString("Qorv"));
    EXPECT_EQ(closer.Text, QString::fromUtf8("Température hors limites"));
    EXPECT_EQ(closer.Icon, QMessageBox::Critical);
    EXPECT_EQ(closer.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }
  {
    TBoxCloser closer(PressKey(Qt::Key_Escape));
    port.ShowMessage("Run finished", "Qorv Message", TMessageKind::Information);
    EXPECT_EQ(closer.Caption, QString("Qorv Message"));
    EXPECT_EQ(closer.Icon, QMessageBox::Information);
  }
}

TEST(QtUiPort, DecimalSeparatorComesFromTheLocale) {
  EXPECT_EQ(DecimalSeparatorOf(QLocale::c()), '.');
  EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::English, QLocale::UnitedStates)), '.');
  EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)), ',');
  EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::French, QLocale::France)), ',');
  // Arabic digits use U+066B, which is no single byte: the core keeps '.'.
  EXPECT_EQ(DecimalSeparatorOf(QLocale(QLocale::Arabic, QLocale::Egypt)), '.');
}
