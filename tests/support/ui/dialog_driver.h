// Driving a dialog as a user does: its controls found by name and clicked, and a modal
// dialog that the code under test opens with exec() acted on from a timer. The test
// itself never calls exec().
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

// The control of that objectName (a failure when there is none).
template <class TWidget>
TWidget* Control(QWidget& dialog, const char* name) {
  auto* widget = dialog.findChild<TWidget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// Whether the control is its window's focus widget: the control that has the focus
// whenever its window is active. Tests ask this rather than hasFocus(), which also needs
// the window to be the active one, and a loaded machine may activate it late.
inline bool FocusedInWindow(const QWidget* control) {
  return control && control->window()->focusWidget() == control;
}

// Clicks a button near its left edge: a check box or radio button takes clicks on its
// mark and text only, not on the rest of the row it spans.
inline void ClickControl(QWidget& dialog, const char* name) {
  QAbstractButton* button = Control<QAbstractButton>(dialog, name);
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// A timer waits for the dialog of the given class to become the active modal window,
// then acts on it once (typing, clicking OK or Cancel); a dialog the act leaves open is
// cancelled, so the test fails on its result instead of hanging.
template <class TDialog>
class TModalDialogActor {
public:
  explicit TModalDialogActor(std::function<void(TDialog&)> act) : Act(std::move(act)) {
    QObject::connect(&Timer, &QTimer::timeout, [this] {
      auto* dialog = dynamic_cast<TDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      Timer.stop();
      Seen = true;
      Act(*dialog);
      if (dialog->isVisible()) {
        LeftOpen = true;
        dialog->reject();
      }
    });
    Timer.start(10);
  }
  bool Seen = false;
  bool LeftOpen = false;

private:
  QTimer Timer;
  std::function<void(TDialog&)> Act;
};
