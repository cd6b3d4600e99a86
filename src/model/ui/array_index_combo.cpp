#include "model/ui/array_index_combo.h"

#include <QComboBox>
#include <QVariant>

#include "model/array_index_check.h"
#include "model/assertion.h"
#include "model/data.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/var_list_object.h"
#include "model/variable_data.h"

namespace {

// Each item holds the address of its object: an index variable or the marker.
void* ObjectOf(const QComboBox& box, int item) { return box.itemData(item).value<void*>(); }

}  // namespace

TVariableArrayComboSelection::TVariableArrayComboSelection() = default;
TVariableArrayComboSelection::~TVariableArrayComboSelection() = default;

void TVariableArrayComboSelection::AddIndexVariableItem(QComboBox& box, TDataSingle* variable) {
  QORV_ASSERT(variable!=0);
  box.addItem(QString::fromStdString(variable->GetDataName()),
              QVariant::fromValue(static_cast<void*>(variable)));
}

int TVariableArrayComboSelection::MarkerItem(const QComboBox& box) const {
  if (!Marker) return -1;
  return box.findData(QVariant::fromValue(static_cast<void*>(Marker.get())));
}

int TVariableArrayComboSelection::AddEntireArrayItem(QComboBox& box) {
  if (!Marker) Marker = std::make_unique<TEntireArray>();
  const int listed = MarkerItem(box);
  if (listed >= 0) return listed;
  box.addItem(TEntireArray::Text(), QVariant::fromValue(static_cast<void*>(Marker.get())));
  return box.count() - 1;
}

void TVariableArrayComboSelection::RemoveEntireArrayItem(QComboBox& box) {
  const int listed = MarkerItem(box);
  if (listed >= 0) box.removeItem(listed);
}

int TVariableArrayComboSelection::ChosenItem(const QComboBox& box) {
  const int selected = box.currentIndex();
  if (selected >= 0 && (!box.isEditable() || box.itemText(selected) == box.currentText()))
    return selected;
  const QString text = QString::fromStdString(TrimText(box.currentText().toStdString()));
  return text.isEmpty() ? -1 : box.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

bool TVariableArrayComboSelection::ValidateIndex(QComboBox& box, std::int32_t size,
                                                 std::string& message) const {
  if (ChosenItem(box) >= 0) return true;
  message = ArrayIndexFault(box.currentText().toStdString(), size);
  return message.empty();
}

template <class TTarget>
void TVariableArrayComboSelection::Read(QComboBox& box, TTarget& target) const {
  const std::string text = TrimText(box.currentText().toStdString());
  const int item = ChosenItem(box);
  if (item < 0) {
    QORV_ASSERT_AS(!text.empty(), "!boxtext.IsEmpty( )");
    std::int32_t constant = -1;
    NumberText::TextToInt(text, constant);
    QORV_ASSERT(constant>-1);
    target.SetIndexConstant(constant);
    return;
  }
  void* object = ObjectOf(box, item);
  if (Marker && object == Marker.get()) {
    target.ClearIndex();
    return;
  }
  QORV_ASSERT_AS(object != nullptr,
                 "dynamic_cast<TEntireArray*>(box->Items->Objects[index])!=0");
  target.SetIndexVariable(static_cast<TDataSingle*>(object));
}

void TVariableArrayComboSelection::ReadIndex(QComboBox& box, TVariableArrayIndex& index) const {
  Read(box, index);
}

void TVariableArrayComboSelection::ReadIndex(QComboBox& box, TVarListObject& choice) const {
  Read(box, choice);
}

void TVariableArrayComboSelection::Show(QComboBox& box, TDataSingle* variable,
                                        std::int32_t constant) {
  if (variable) {
    box.setCurrentIndex(box.findData(QVariant::fromValue(static_cast<void*>(variable))));
  } else if (constant >= 0) {
    box.setCurrentIndex(-1);
    box.setEditText(QString::fromStdString(NumberText::IntToText(constant)));
  } else {
    box.setCurrentIndex(AddEntireArrayItem(box));
  }
  QORV_ASSERT_AS(!box.currentText().isEmpty(), "!box->Text.IsEmpty( )");
}

void TVariableArrayComboSelection::ShowIndex(QComboBox& box, const TVariableArrayIndex& index) {
  Show(box, index.GetIndexVariable(), index.GetConstant());
}

void TVariableArrayComboSelection::ShowIndex(QComboBox& box, const TVarListObject& choice) {
  Show(box, choice.GetIndexVariable(), choice.GetIndexConstant());
}
