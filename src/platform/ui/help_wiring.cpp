#include "platform/ui/help_wiring.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "platform/ui/help_window.h"

namespace {

const char* const ContextProperty = "helpContext";
const char* const WiredProperty = "helpWired";

int ContextOf(const QObject& object) {
  bool number = false;
  const int context = object.property(ContextProperty).toInt(&number);
  return number && context > 0 ? context : 0;
}

// Enables the button or item and connects it to the help, once.
template <class TItem, class TSignal>
void Wire(TItem& item, TSignal signal) {
  if (!ContextOf(item) || item.property(WiredProperty).toBool()) return;
  item.setProperty(WiredProperty, true);
  item.setEnabled(true);
  // The context is read at the click: a dialog may change it between showings.
  TItem* source = &item;
  QObject::connect(source, signal, source, [source] {
    if (const int context = ContextOf(*source)) ShowHelp(context);
  });
}

class THelpWiring final : public QObject {
public:
  using QObject::QObject;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && widget->isWindow()) WireHelpItems(*widget);
    } else if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && key->key() == Qt::Key_F1 &&
          (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (const int context = HelpContextOf(widget)) {
          // A held key opens the help once.
          if (!key->isAutoRepeat()) ShowHelp(context);
          return true;
        }
      }
    }
    return false;
  }
};

// The wiring belongs to the application: QPointer tells when the application went first.
QPointer<THelpWiring> Wiring;
int Installs = 0;

}  // namespace

void InstallHelp() {
  if (!qApp) return;
  if (Installs++ > 0) return;
  Wiring = new THelpWiring(qApp);
  qApp->installEventFilter(Wiring);
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) WireHelpItems(*window);
}

void RemoveHelp() {
  if (Installs == 0 || --Installs > 0) return;
  if (qApp && Wiring) qApp->removeEventFilter(Wiring);
  delete Wiring.data();
  THelpWindow::Close();
}

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* around = widget; around; around = around->parentWidget()) {
    if (const int context = ContextOf(*around)) return context;
    if (!around->isWindow()) continue;
    // A window that names no context of its own has its Help button's.
    for (const QAbstractButton* button : around->findChildren<QAbstractButton*>())
      if (const int context = ContextOf(*button)) return context;
    for (const QAction* item : around->findChildren<QAction*>())
      if (const int context = ContextOf(*item)) return context;
    return 0;
  }
  return 0;
}

void WireHelpItems(QWidget& window) {
  for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
    Wire(*button, &QAbstractButton::clicked);
  for (QAction* item : window.findChildren<QAction*>()) Wire(*item, &QAction::triggered);
  // Items of a window's own list that another object owns.
  for (QAction* item : window.actions()) Wire(*item, &QAction::triggered);
}
