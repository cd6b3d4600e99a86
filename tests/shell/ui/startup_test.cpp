#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QLocale>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "model/number_text.h"
#include "shell/ui/single_instance.h"
#include "shell/ui/splash_form.h"
#include "shell/ui/startup.h"

namespace {

// Counts what happens to splash windows while it is installed on the application.
class TSplashWatch : public QObject {
public:
  TSplashWatch() { qApp->installEventFilter(this); }
  ~TSplashWatch() override { qApp->removeEventFilter(this); }

  int Shown = 0;
  int Paints = 0;

  static bool SplashVisible() {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (qobject_cast<TSplashForm*>(window) && window->isVisible()) return true;
    return false;
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget && qobject_cast<TSplashForm*>(widget->window())) {
      if (event->type() == QEvent::Show && widget->isWindow()) ++Shown;
      if (event->type() == QEvent::Paint) ++Paints;
    }
    return false;
  }
};

struct TMessage {
  QString Text;
  TMessageKind Kind;
};

class Startup : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(Dir.isValid());
    Hooks.LockPath = Dir.filePath("Qorv Program.lock");
    Hooks.Locale = QLocale(QLocale::English, QLocale::UnitedStates);
    Hooks.ShowMessage = [this](const QString& text, TMessageKind kind) {
      Messages.push_back({text, kind});
    };
    Hooks.ShowModally = [this](QDialog& dialog) {
      Modal.push_back(QString::fromLatin1(dialog.metaObject()->className()));
      // The start-up is still before its splash window while it warns.
      SplashDuringWarning = TSplashWatch::SplashVisible();
    };
    Hooks.CreateMainWindow = [this]() -> std::unique_ptr<QWidget> {
      SplashWhileCreating = TSplashWatch::SplashVisible();
      PaintsBeforeMainWindow = Watch.Paints;
      auto window = std::make_unique<QWidget>();
      MainWindow = window.get();
      return window;
    };
    Hooks.RunMessageLoop = [this] {
      MainWindowShownInLoop = MainWindow && MainWindow->isVisible();
      SplashInLoop = TSplashWatch::SplashVisible();
      LockHeldInLoop = QFile::exists(Hooks.LockPath);
      NameInLoop = QCoreApplication::applicationName();
      return 7;
    };
    PreviousName = QCoreApplication::applicationName();
  }
  void TearDown() override {
    NumberText::SetDecimalSeparator('.');
    QCoreApplication::setApplicationName(PreviousName);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  QTemporaryDir Dir;
  TStartupHooks Hooks;
  TSplashWatch Watch;
  std::vector<TMessage> Messages;
  std::vector<QString> Modal;
  QPointer<QWidget> MainWindow;
  bool SplashDuringWarning = false;
  bool SplashWhileCreating = false;
  int PaintsBeforeMainWindow = 0;
  bool MainWindowShownInLoop = false;
  bool SplashInLoop = true;
  bool LockHeldInLoop = false;
  QString NameInLoop;
  QString PreviousName;
};

}  // namespace

TEST_F(Startup, ShowsTheSplashThenTheMainWindowAndRunsTheLoop) {
  EXPECT_EQ(RunStartup(Hooks), 7);
  EXPECT_TRUE(Messages.empty());
  EXPECT_TRUE(Modal.empty());
  EXPECT_EQ(Watch.Shown, 1);
  EXPECT_TRUE(SplashWhileCreating);
  EXPECT_GE(PaintsBeforeMainWindow, 1);  // painted before the main window is made
  EXPECT_TRUE(MainWindowShownInLoop);
  EXPECT_FALSE(SplashInLoop);
  EXPECT_TRUE(LockHeldInLoop);
  EXPECT_EQ(NameInLoop, QString("Qorv"));
  EXPECT_EQ(NumberText::DecimalSeparator(), '.');

  // After the loop the main window is gone and the lock is free for the next copy.
  EXPECT_TRUE(MainWindow.isNull());
  EXPECT_FALSE(QFile::exists(Hooks.LockPath));
}

TEST_F(Startup, ADecimalCommaIsWarnedAboutOnceAndStartUpGoesOnEvenWithoutALock) {
  Hooks.Locale = QLocale(QLocale::German, QLocale::Germany);
  // A temporary folder without room for the lock does not stop the program.
  Hooks.LockPath = "/proc/no such folder/Qorv Program.lock";
  EXPECT_EQ(RunStartup(Hooks), 7);
  ASSERT_EQ(Modal.size(), 1u);
  EXPECT_EQ(Modal[0], QString("TBadKeyboardForm"));
  EXPECT_FALSE(SplashDuringWarning);
  EXPECT_EQ(NumberText::DecimalSeparator(), ',');
  EXPECT_TRUE(MainWindowShownInLoop);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(Startup, ASecondCopyOnlySaysThatQorvIsRunning) {
  TSingleInstance running(Hooks.LockPath);
  ASSERT_EQ(running.Acquire(), TSingleInstance::siAcquired);
  Hooks.Locale = QLocale(QLocale::German, QLocale::Germany);

  EXPECT_EQ(RunStartup(Hooks), 0);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].Text, QString("Qorv already running"));
  EXPECT_EQ(Messages[0].Kind, TMessageKind::Information);
  EXPECT_TRUE(Modal.empty());  // no window at all, not even the warning
  EXPECT_EQ(Watch.Shown, 0);
  EXPECT_TRUE(MainWindow.isNull());
  EXPECT_TRUE(running.Held());
  EXPECT_TRUE(QFile::exists(Hooks.LockPath));
}

TEST_F(Startup, AFailureIsShownAndReleasesTheLockAndTheSplash) {
  Hooks.CreateMainWindow = []() -> std::unique_ptr<QWidget> {
    throw std::runtime_error("The block editor could not be made.");
  };
  EXPECT_EQ(RunStartup(Hooks), 1);
  ASSERT_EQ(Messages.size(), 1u);
  EXPECT_EQ(Messages[0].Text, QString("The block editor could not be made."));
  EXPECT_EQ(Messages[0].Kind, TMessageKind::Error);
  EXPECT_FALSE(TSplashWatch::SplashVisible());
  EXPECT_FALSE(QFile::exists(Hooks.LockPath));

  Messages.clear();
  Hooks.CreateMainWindow = [] { return std::unique_ptr<QWidget>(); };
  EXPECT_EQ(RunStartup(Hooks), 1);
  EXPECT_EQ(Messages.size(), 1u);
  EXPECT_FALSE(TSplashWatch::SplashVisible());
  EXPECT_FALSE(QFile::exists(Hooks.LockPath));
}
