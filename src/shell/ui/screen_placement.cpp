#include "shell/ui/screen_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget& window) {
  QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  // The frame is known only once the window is shown; before, it is the client area.
  const QSize frame = window.frameGeometry().size();
  window.move(available.x() + (available.width() - frame.width()) / 2,
              available.y() + (available.height() - frame.height()) / 2);
}
