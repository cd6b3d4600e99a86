// What the command dialogs' lists and edits share: combo-box items that carry the object
// they name (a variable, a device, a block), and typing into an edit at its caret.
#pragma once

#include <QComboBox>
#include <QVariant>

class QLineEdit;
class QString;

// The item data that names the object.
inline QVariant ItemOf(void* object) { return QVariant::fromValue(object); }

// The object of the item at index; none outside the items.
template <class T>
T* ItemObject(const QComboBox& box, int index) {
  if (index < 0 || index >= box.count()) return nullptr;
  return static_cast<T*>(box.itemData(index).value<void*>());
}

// The object of the selected item; none without a selection.
template <class T>
T* SelectedObject(const QComboBox& box) {
  return ItemObject<T>(box, box.currentIndex());
}

// Inserts the text at the edit's caret and leaves the caret `back` characters before the
// text's end (inside the brackets of "x[ ]"), the edit focused.
void InsertAtCaret(QLineEdit& edit, const QString& text, int back = 0);
