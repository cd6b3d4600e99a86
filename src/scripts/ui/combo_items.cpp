#include "scripts/ui/combo_items.h"

#include <QLineEdit>

void InsertAtCaret(QLineEdit& edit, const QString& text, int back) {
  const int at = edit.cursorPosition();
  edit.setFocus();  // focusing may select all: the caret is put back first
  edit.setCursorPosition(at);
  edit.insert(text);
  edit.setCursorPosition(edit.cursorPosition() - back);
}
