// Driving a dialog as a user does: its controls found by name and clicked, and a modal
// dialog that the code under test opens with exec() acted on from a timer. The test
// itself never calls exec().
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
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

// Clicks the button (push, radio or check button) of that objectName.
inline void Press(QWidget& dialog, const char* button) {
  QTest::mouseClick(Control<QAbstractButton>(dialog, button), Qt::LeftButton);
}

// Replaces the text of the line edit, or of the editable combo box's edit, of that
// objectName by typing.
inline void Retype(QWidget& dialog, const char* name, const QString& text) {
  QLineEdit* edit = dialog.findChild<QLineEdit*>(name);
  if (!edit) {
    auto* combo = Control<QComboBox>(dialog, name);
    ASSERT_NE(combo, nullptr);
    edit = combo->lineEdit();
  }
  ASSERT_NE(edit, nullptr) << name;
  edit->setFocus();
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  QTest::keyClicks(edit, text);
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
