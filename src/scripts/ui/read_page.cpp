#include "scripts/ui/read_page.h"

#include <QComboBox>

#include <vector>

#include "communication/read_data.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "scripts/device/read_script.h"
#include "scripts/ui/combo_items.h"
#include "scripts/ui/new_variable.h"
#include "ui_read_page.h"

namespace {

const char* const NoPointsText =
    "Invalid number of points:  The number of points must be defined when reading in an array.";
const char* const BadPointsText =
    "Invalid number of points:  The number of points must be\r an integer greater than one or a "
    "variable in the list.";
const char* const ByteCountText =
    "Byte Count invalid:  The number of bytes/point must be an integer value greater than zero.";
// A binary point is assembled from at most four bytes.
const char* const BinaryByteCountText =
    "Byte Count invalid:  The number of bytes/point for binary data cannot be greater than 4.";

QString Text(const std::string& text) { return QString::fromStdString(text); }

void AddEntry(QComboBox& combo, TData* variable) {
  combo.addItem(Text(variable->GetDataName()), QVariant::fromValue(static_cast<void*>(variable)));
}

int IndexOf(const QComboBox& combo, const TData* variable) {
  for (int i = 0; i < combo.count(); ++i)
    if (EntryVariable(combo, i) == variable) return i;
  return -1;
}

void RemoveEntry(QComboBox& combo, const TData* variable) {
  const int index = IndexOf(combo, variable);
  if (index >= 0) combo.removeItem(index);
}

bool IsSingleInteger(const TData* variable) {
  return !variable->IsArray() && variable->GetDataType() == eatINTEGER;
}

}  // namespace

TData* EntryVariable(const QComboBox& combo, int index) {
  return ItemObject<TData>(combo, index);
}

TReadPage::TReadPage(QWidget* parent) : QWidget(parent), Ui(std::make_unique<Ui::TReadPage>()) {
  Ui->setupUi(this);
  connect(Ui->DataComboBox, &QComboBox::currentIndexChanged, this, [this] {
    if (!Filling) VariableChanged();
  });
  connect(Ui->AsciiButton, &QAbstractButton::toggled, this, [this] {
    if (!Filling) ReadAsChanged();
  });
  connect(Ui->RecordNumBytes, &QAbstractButton::toggled, this, [this] {
    if (!Filling) RecordChanged();
  });
  connect(Ui->AddNewVariable, &QAbstractButton::clicked, this, [this] { AddVariable(); });
  connect(Ui->NewNumPointVar, &QAbstractButton::clicked, this, [this] { NewPointsVariable(); });
  connect(Ui->NewBytesButton, &QAbstractButton::clicked, this, [this] { NewBytesVariable(); });
  Ui->ReadPropPanel->setVisible(false);
  Ui->BytesPanel->setVisible(false);
}

TReadPage::~TReadPage() {
  Discard(NewReadData);
  Discard(NewReadPoints);
  Discard(NewReadBytes);
}

void TReadPage::Fill(TExperiment& experiment, TBlock* block) {
  Experiment = &experiment;
  Block = block;
  Filling = true;
  Ui->DataComboBox->clear();
  Ui->NumPointCombo->clear();
  Ui->IntegerComboBox->clear();
  std::vector<TData*> variables;
  experiment.GetAllVariables(variables);
  for (TData* variable : variables) {
    const bool writable = variable->GetBlockOwner() == block && !variable->IsReadOnly();
    if (writable) AddEntry(*Ui->DataComboBox, variable);
    if (!IsSingleInteger(variable)) continue;
    AddEntry(*Ui->NumPointCombo, variable);
    if (writable) AddEntry(*Ui->IntegerComboBox, variable);
  }
  Ui->DataComboBox->setCurrentIndex(-1);
  Ui->NumPointCombo->setCurrentIndex(-1);
  Ui->NumPointCombo->setEditText("");
  Ui->IntegerComboBox->setCurrentIndex(-1);
  Filling = false;
}

void TReadPage::StartNew() {
  Filling = true;
  if (Ui->DataComboBox->count() > 0) {
    Ui->DataComboBox->setCurrentIndex(0);
    ResetFor(Variable());
  }
  Ui->RecordNumBytes->setChecked(false);
  Filling = false;
  Ui->ReadPropPanel->setVisible(Variable() != nullptr);
  Refresh();
  RecordChanged();
  Ui->DoCleanString->setChecked(false);
  Ui->WSDelimiter->setChecked(true);
}

void TReadPage::StartEdit(TReadScript& read) {
  Filling = true;
  TData* variable = read.GetStoredData();
  QORV_ASSERT(variable!=0);
  Ui->DataComboBox->setCurrentIndex(IndexOf(*Ui->DataComboBox, variable));
  read.FillResponse(ReadResponse);
  ReadResponse.SetValueType(variable->GetDataType());
  Ui->RecordNumBytes->setChecked(ReadResponse.GetStoreByteCount());
  Filling = false;
  Ui->ReadPropPanel->setVisible(Variable() != nullptr);
  Refresh();
  RecordChanged();
  Ui->DoCleanString->setChecked(read.GetCleanString());
  Ui->WSDelimiter->setChecked(read.GetWSDelimiter());
}

void TReadPage::SetRunning(bool running) {
  for (QWidget* control : {static_cast<QWidget*>(Ui->AddNewVariable), static_cast<QWidget*>(Ui->NewNumPointVar),
                           static_cast<QWidget*>(Ui->NewBytesButton), static_cast<QWidget*>(Ui->SingleButton),
                           static_cast<QWidget*>(Ui->ArrayButton)})
    control->setEnabled(!running);
}

TData* TReadPage::Variable() const {
  return EntryVariable(*Ui->DataComboBox, Ui->DataComboBox->currentIndex());
}

void TReadPage::SetWhitespaceText(const QString& text) { Ui->WSDelimiter->setText(text); }

QWidget* TReadPage::FirstInput() const { return Ui->DataComboBox; }

bool TReadPage::CleanString() const { return Ui->DoCleanString->isChecked(); }

bool TReadPage::WhitespaceDelimiter() const { return Ui->WSDelimiter->isChecked(); }

void TReadPage::ResetFor(TData* variable) {
  QORV_ASSERT(variable!=0);
  ReadResponse = variable->IsArray() ? TReadResponse(variable->GetSize()) : TReadResponse();
  ReadResponse.SetValueType(variable->GetDataType());
}

void TReadPage::VariableChanged() {
  TData* variable = Variable();
  Ui->ReadPropPanel->setVisible(variable != nullptr);
  if (!variable) return;
  ReadPoints(true);
  ReadResponse.AdjustToData(variable);
  ReadResponse.SetValueType(variable->GetDataType());
  Refresh();
  ReadAsChanged();
}

void TReadPage::ReadAsChanged() {
  TData* variable = Variable();
  if (!variable) return;
  // The panel is shown again from the response: what was typed goes into it first.
  ReadPoints(true);
  ReadSettings(true);
  ReadResponse.SetReadAs(Ui->BinaryButton->isChecked() ? rtBINARY : rtASCII, variable->IsArray());
  Refresh();
}

void TReadPage::RecordChanged() {
  const bool record = Ui->RecordNumBytes->isChecked();
  Ui->BytesPanel->setVisible(record);
  if (!record) return;
  int index = IndexOf(*Ui->IntegerComboBox, ReadResponse.GetDataStoreByteCount());
  if (index < 0 && Ui->IntegerComboBox->count() > 0) index = 0;
  Ui->IntegerComboBox->setCurrentIndex(index);
}

void TReadPage::Refresh() {
  TData* variable = Variable();
  const bool binary = ReadResponse.GetReadType() == rtBINARY;
  Filling = true;
  Ui->NumBytesEdit->setText(Text(NumberText::IntToText(ReadResponse.GetBytesPerPoint())));
  const bool delimited = ReadResponse.IsASCIIArray();
  Ui->DelimitPanel->setVisible(delimited);
  if (delimited) Ui->DelimiterEdit->setText(Text(ReadResponse.GetDelimiter()));
  Ui->WSDelimiter->setVisible(delimited && variable && variable->GetDataType() == eatSTRING);
  // The command's own default: an ASCII float reply may write its exponent with a D.
  const bool dToE = !binary && variable && variable->GetDataType() == eatFLOAT;
  Ui->DoCleanString->setVisible(dToE);
  if (dToE) Ui->DoCleanString->setChecked(true);
  Ui->ReadBytesGroup->setVisible(binary);
  (ReadResponse.GetLeftToRight() ? Ui->LeftToRightButton : Ui->RightToLeftButton)->setChecked(true);
  (binary ? Ui->BinaryButton : Ui->AsciiButton)->setChecked(true);
  const bool points = Ui->DataComboBox->count() > 0 && ReadResponse.GetIsArray();
  Ui->NumPointsPanel->setVisible(points);
  if (points) {
    if (ReadResponse.GetNumberOfPointsFromData() && ReadResponse.GetDataNumPoints()) {
      Ui->NumPointCombo->setCurrentIndex(
          IndexOf(*Ui->NumPointCombo, ReadResponse.GetDataNumPoints()));
    } else {
      Ui->NumPointCombo->setCurrentIndex(-1);
      Ui->NumPointCombo->setEditText(
          Text(NumberText::IntToText(ReadResponse.GetNumberOfPoints())));
    }
  }
  Filling = false;
}

std::optional<TReadPage::TRefusal> TReadPage::ReadPoints(bool defaults) {
  if (Ui->NumPointsPanel->isHidden()) return std::nullopt;
  const std::string text = TrimText(Ui->NumPointCombo->currentText().toStdString());
  TData* pointsVariable = nullptr;
  std::int32_t points = 0;
  std::optional<TRefusal> refusal;
  const int entry = Ui->NumPointCombo->findText(Text(text), Qt::MatchExactly);
  if (text.empty())
    refusal = TRefusal{NoPointsText, Ui->NumPointCombo};
  else if (entry >= 0)
    pointsVariable = EntryVariable(*Ui->NumPointCombo, entry);
  else if (!NumberText::TextToInt(text, points) || points < 2)
    refusal = TRefusal{BadPointsText, Ui->NumPointCombo};
  if (refusal) {
    if (!defaults) return refusal;
    points = 10;
  }
  if (!ReadResponse.GetIsArray()) return std::nullopt;
  if (pointsVariable)
    ReadResponse.SetNumberOfPointsData(pointsVariable);
  else
    ReadResponse.SetNumberOfPoints(points);
  return std::nullopt;
}

std::optional<TReadPage::TRefusal> TReadPage::ReadSettings(bool defaults) {
  const bool binary = ReadResponse.GetReadType() == rtBINARY;
  std::int32_t bytes = 0;
  const std::string bytesText = TrimText(Ui->NumBytesEdit->text().toStdString());
  std::optional<TRefusal> refusal;
  if (!NumberText::TextToInt(bytesText, bytes) || bytes < 1)
    refusal = TRefusal{ByteCountText, Ui->NumBytesEdit};
  else if (binary && bytes > 4 && !defaults)
    refusal = TRefusal{BinaryByteCountText, Ui->NumBytesEdit};
  if (refusal) {
    if (!defaults) return refusal;
    bytes = binary ? 4 : ReadResponse.IsASCIIArray() ? 10 : 100;
  }
  ReadResponse.SetBytesPerPoint(bytes);
  // The whole response must fit one read: a constant number of points is known now.
  if (!defaults && !ReadResponse.GetNumberOfPointsFromData()) {
    const std::int64_t size =
        static_cast<std::int64_t>(ReadResponse.GetNumberOfPoints()) * bytes;
    if (size > MaxReadByteCount)
      return TRefusal{"Byte Count invalid:  The read size of " + NumberText::IntToText(size) +
                          " bytes (points x bytes/point) cannot be greater than " +
                          NumberText::IntToText(MaxReadByteCount) + " bytes.",
                      Ui->NumBytesEdit};
  }
  if (ReadResponse.IsASCIIArray() && !Ui->DelimitPanel->isHidden()) {
    const std::string delimiter = TrimText(Ui->DelimiterEdit->text().toStdString());
    refusal.reset();
    if (delimiter.empty())
      refusal = TRefusal{"Delimiter Text Invalid:  The delimiter must be set to a single "
                         "character when reading in an ASCII array",
                         Ui->DelimiterEdit};
    else if (delimiter.size() > 1)
      refusal = TRefusal{"Delimiter Text Invalid:  The delimiter cannot be more than one "
                         "character in length.",
                         Ui->DelimiterEdit};
    if (refusal && !defaults) return refusal;
    ReadResponse.SetDelimiter(refusal ? std::string(";") : delimiter);
  }
  if (binary) ReadResponse.SetLeftToRight(Ui->LeftToRightButton->isChecked());
  return std::nullopt;
}

std::optional<TReadPage::TRefusal> TReadPage::Check() {
  TData* variable = Variable();
  if (!variable)
    return TRefusal{"You must select/add a variable to read the data into", Ui->DataComboBox};
  if (auto refusal = ReadPoints(false)) return refusal;
  if (ReadResponse.GetIsArray() && !ReadResponse.GetNumberOfPointsFromData() &&
      ReadResponse.GetNumberOfPoints() > variable->GetSize())
    return TRefusal{"The number of points to read cannot be greater than " + variable->GetDataName() +
                        " array size of " + NumberText::IntToText(variable->GetSize()) + ".",
                    Ui->NumPointCombo};
  if (auto refusal = ReadSettings(false)) return refusal;
  if (Ui->RecordNumBytes->isChecked()) {
    TData* bytes = EntryVariable(*Ui->IntegerComboBox, Ui->IntegerComboBox->currentIndex());
    if (!bytes)
      return TRefusal{"You must select/add a variable to read the byte count into",
                      Ui->IntegerComboBox};
    ReadResponse.SetByteCountData(bytes);
  } else {
    ReadResponse.SetByteCountFromVariable(false);
  }
  return std::nullopt;
}

void TReadPage::KeepUsed() {
  if (NewReadData == Variable()) NewReadData = nullptr;
  if (NewReadBytes && NewReadBytes == ReadResponse.GetDataStoreByteCount()) NewReadBytes = nullptr;
  if (NewReadPoints && NewReadPoints == ReadResponse.GetDataNumPoints()) NewReadPoints = nullptr;
}

TData* TReadPage::MakeVariable(bool array, bool integerOnly) {
  QORV_ASSERT(Experiment!=0);
  // A variable read into is written: never read-only.
  return NewVariableWithDialog(*Experiment, Block, {array, integerOnly, false});
}

void TReadPage::Discard(TData*& made) {
  if (!made) return;
  RemoveEntry(*Ui->DataComboBox, made);
  RemoveEntry(*Ui->NumPointCombo, made);
  RemoveEntry(*Ui->IntegerComboBox, made);
  if (ReadResponse.GetDataNumPoints() == made || ReadResponse.GetDataStoreByteCount() == made)
    ReadResponse.ClearDataLinks();
  delete made;
  made = nullptr;
}

void TReadPage::AddVariable() {
  TData* variable = MakeVariable(Ui->ArrayButton->isChecked(), false);
  if (!variable) return;
  Discard(NewReadData);  // one not-yet-used new variable at a time
  NewReadData = variable;
  Filling = true;
  AddEntry(*Ui->DataComboBox, variable);
  Ui->DataComboBox->setCurrentIndex(Ui->DataComboBox->count() - 1);
  Filling = false;
  if (Ui->DataComboBox->count() == 1) {
    ResetFor(variable);
    Ui->ReadPropPanel->setVisible(true);
    Refresh();
  } else {
    VariableChanged();
  }
}

void TReadPage::NewPointsVariable() {
  TData* variable = MakeVariable(false, true);
  if (!variable) return;
  Discard(NewReadPoints);
  NewReadPoints = variable;
  AddEntry(*Ui->NumPointCombo, variable);
  Ui->NumPointCombo->setCurrentIndex(Ui->NumPointCombo->count() - 1);
}

void TReadPage::NewBytesVariable() {
  TData* variable = MakeVariable(false, true);
  if (!variable) {
    Ui->RecordNumBytes->setChecked(false);
    return;
  }
  Discard(NewReadBytes);
  NewReadBytes = variable;
  AddEntry(*Ui->IntegerComboBox, variable);
  Ui->IntegerComboBox->setCurrentIndex(Ui->IntegerComboBox->count() - 1);
}
