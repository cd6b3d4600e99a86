#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "shell/ui/main_window.h"
#include "shell/ui/qt_ui_port.h"

namespace {

// The status bar panel that shows the text, if any does.
QLabel* PanelShowing(TQorvForm& window, const QString& text) {
  for (QLabel* label : window.statusBar()->findChildren<QLabel*>())
    if (label->text() == text) return label;
  return nullptr;
}

}  // namespace

TEST(MainWindow, StartsTitledQorvAndClosesCleanly) {
  auto window = std::make_unique<TQorvForm>();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_EQ(window->windowTitle(), QString("Qorv"));
  EXPECT_TRUE(window->StatusText(TQorvForm::spModified).isEmpty());
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  window.reset();
}

TEST(MainWindow, ExperimentChangedSetsAndClearsTheModifiedMark) {
  TQorvForm window;
  window.show();
  TQtUiPort port;
  port.ExperimentChanged(1, 0);  // no window attached: nothing to mark, nothing breaks
  EXPECT_TRUE(window.StatusText(TQorvForm::spModified).isEmpty());

  port.AttachWindow(&window);
  port.ExperimentChanged(1, 0);
  EXPECT_EQ(window.StatusText(TQorvForm::spModified), QString("Modified"));
  QLabel* panel = PanelShowing(window, "Modified");
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  port.ExperimentChanged(0, 0);
  EXPECT_TRUE(window.StatusText(TQorvForm::spModified).isEmpty());
  EXPECT_EQ(PanelShowing(window, "Modified"), nullptr);

  // Any first parameter other than 0 marks; the refresh flag does not touch the mark.
  port.ExperimentChanged(7, 1);
  EXPECT_EQ(window.StatusText(TQorvForm::spModified), QString("Modified"));
  port.ExperimentChanged(0, 1);
  EXPECT_TRUE(window.StatusText(TQorvForm::spModified).isEmpty());
  // The mark lives in its own panel; the others stay as they were.
  port.SetStatusText(TQorvForm::spBlock, "Block 1");
  port.ExperimentChanged(1, 0);
  EXPECT_EQ(window.StatusText(TQorvForm::spBlock), QString("Block 1"));

  // The experiment names itself in the caption.
  port.SetCaption("Qorv Current Experiment: Experiment 1");
  EXPECT_EQ(window.windowTitle(), QString("Qorv Current Experiment: Experiment 1"));
}

TEST(MainWindow, ExperimentChangedFromAWorkerReachesTheWindow) {
  TQtUiPort port;
  std::atomic<bool> done{false};
  {
    TQorvForm window;
    port.AttachWindow(&window);
    std::thread worker([&] {
      port.ExperimentChanged(1, 0);
      done = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    WaitServingHandOvers([&] { return done || std::chrono::steady_clock::now() > deadline; });
    if (!done) {
      worker.detach();
      FAIL() << "the hand-over was not served";
    }
    worker.join();
    EXPECT_EQ(window.StatusText(TQorvForm::spModified), QString("Modified"));
  }
  // The window is gone: the port forgets it instead of touching freed memory.
  port.ExperimentChanged(1, 0);
  port.RefreshViews();
}
