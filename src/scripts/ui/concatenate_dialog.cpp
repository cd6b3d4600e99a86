#include "scripts/ui/concatenate_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <exception>
#include <string>
#include <vector>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/ui/array_index_combo.h"
#include "model/variable_data.h"
#include "outputs/ui/number_format_dialog.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/combo_items.h"
#include "shell/ui/user_dialogs.h"
#include "ui_concatenate_dialog.h"

namespace {

QString TargetText(TData* variable) { return QString::fromStdString(variable->GetDataName()); }

// "S ", "I " or "F " and the name; an array's name is followed by "[...]".
QString ListText(TData* variable) {
  const int type = variable->GetDataType();
  QString text = type == eatSTRING ? "S " : type == eatINTEGER ? "I " : "F ";
  text += QString::fromStdString(variable->GetDataName());
  if (variable->IsArray()) text += "[...]";
  return text;
}

// The text without the blanks at its ends; a special character there (a tab, a line
// end) is part of the text.
QString TrimBlanks(const QString& text) {
  qsizetype first = 0;
  qsizetype end = text.size();
  while (first < end && text[first] == ' ') ++first;
  while (end > first && text[end - 1] == ' ') --end;
  return text.mid(first, end - first);
}

}  // namespace

TConcatenateScriptForm::TConcatenateScriptForm(TConcatenateScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 80, parent), Ui(std::make_unique<Ui::TConcatenateScriptForm>()),
      Pcomboselection(std::make_unique<TVariableArrayComboSelection>()) {
  Ui->setupUi(Panel1());
  NewVariable = std::make_unique<TNewResultVariable>(*Ui->VarComboBox, &TargetText);
  setWindowTitle("Concatenate String");
  SizeFromOk(10, 20);
  SetFirstInput(Ui->StringEdit);
  Ui->ArrayComboBox->setVisible(false);
  for (int code = FirstSpecialCharacter; code <= LastSpecialCharacter; ++code)
    Ui->SpecialCharBox->addItem(QString::number(code), code);
  Ui->SpecialCharBox->setCurrentIndex(0);
  ShowSpecialCharacter();

  connect(Ui->VarComboBox, &QComboBox::currentIndexChanged, this, [this] { VarComboChange(); });
  connect(Ui->SpecialCharBox, &QComboBox::currentIndexChanged, this,
          [this] { ShowSpecialCharacter(); });
  connect(Ui->AddBtn, &QPushButton::clicked, this, [this] {
    const int code = Ui->SpecialCharBox->currentData().toInt();
    if (code < FirstSpecialCharacter || code > LastSpecialCharacter) return;
    InsertText(QString(QChar(code)));
  });
  connect(Ui->VariableListBox, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) {
            auto* variable = static_cast<TData*>(item->data(Qt::UserRole).value<void*>());
            QORV_ASSERT(variable != 0);
            const QString name = QString::fromStdString(variable->GetDataName());
            if (variable->IsArray())
              InsertText("{" + name + "[ ]}", 2);
            else
              InsertText("{" + name + "}");
          });
  connect(Ui->ChangeFormat, &QPushButton::clicked, this, [this] {
    TNumberFormatForm format(this);
    if (!format.Execute(Notation, Places)) return;
    Notation = format.Kind();
    Places = format.DecimalPlaces();
    ShowFormat();
  });
  connect(Ui->VariableButton, &QPushButton::clicked, this, [this] { VariableClick(); });

  TConcatenateScript* concatenate = request.Concatenate();
  Block = concatenate ? concatenate->Pblock : request.Block;
  QORV_ASSERT_AS(Block!=0, "block!=0");
  FillLists(Block);
  if (!concatenate) {
    ShowFormat();
    Ui->VarComboBox->setCurrentIndex(Ui->VarComboBox->count() ? 0 : -1);
    VarComboChange();
    return;
  }
  Notation = static_cast<std::uint8_t>(concatenate->GetNotation());
  Places = concatenate->GetDecimalPlaces();
  ShowFormat();
  Ui->TrimResultBox->setChecked(concatenate->GetTrimResult());
  Ui->DisableValidVarBox->setChecked(concatenate->GetDisableVariableCheck());
  Ui->StringEdit->setText(QString::fromStdString(concatenate->GetExpressionText()));
  TVariableData* target = concatenate->GetVariable();
  QORV_ASSERT(target!=0);
  const int index = Ui->VarComboBox->findData(ItemOf(target->GetData()));
  QORV_ASSERT(index>-1);
  Ui->VarComboBox->setCurrentIndex(index);
  VarComboChange();
  if (auto* array = dynamic_cast<TVariableDataArray*>(target))
    Pcomboselection->ShowIndex(*Ui->ArrayComboBox, array->GetArrayIndex());
}

TConcatenateScriptForm::~TConcatenateScriptForm() { NewVariable.reset(); }

void TConcatenateScriptForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  Ui->VariableButton->setEnabled(!IsRunActive());
}

void TConcatenateScriptForm::hideEvent(QHideEvent* event) {
  NewVariable->Drop();
  TScriptForm::hideEvent(event);
}

void TConcatenateScriptForm::FillLists(TBlock* block) {
  QORV_ASSERT(Request.Experiment!=0);
  std::vector<TData*> all;
  Request.Experiment->GetAllVariables(all);
  for (TData* variable : all) {
    auto* item = new QListWidgetItem(ListText(variable), Ui->VariableListBox);
    item->setData(Qt::UserRole, ItemOf(variable));
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      TVariableArrayComboSelection::AddIndexVariableItem(*Ui->ArrayComboBox,
                                                         static_cast<TDataSingle*>(variable));
  }
  std::vector<TData*> usable;
  Request.Experiment->GetBlockVariables(block, usable);
  for (TData* variable : usable)
    if (variable->GetDataType() == eatSTRING && !variable->IsReadOnly())
      Ui->VarComboBox->addItem(TargetText(variable), ItemOf(variable));
}

void TConcatenateScriptForm::InsertText(const QString& text, int back) {
  InsertAtCaret(*Ui->StringEdit, text, back);
}

TData* TConcatenateScriptForm::ChosenVariable() const {
  return SelectedObject<TData>(*Ui->VarComboBox);
}

void TConcatenateScriptForm::VarComboChange() {
  TData* variable = ChosenVariable();
  if (!variable) return;
  Ui->ArrayComboBox->setVisible(variable->IsArray());
  if (!variable->IsArray()) return;
  Pcomboselection->AddEntireArrayItem(*Ui->ArrayComboBox);
  Ui->ArrayComboBox->setCurrentIndex(-1);
  Ui->ArrayComboBox->clearEditText();
}

void TConcatenateScriptForm::ShowFormat() {
  QString text = "Float number format: ";
  const QString places = QString::fromStdString(NumberText::IntToText(Places));
  if (Notation == 1)
    text += "Fixed " + places + " places after the decimal";
  else if (Notation == 2)
    text += "Scientific " + places + " places after the decimal";
  else
    text += "Standard";
  Ui->FloatFormatLabel->setText(text);
}

void TConcatenateScriptForm::ShowSpecialCharacter() {
  const int code = Ui->SpecialCharBox->currentData().toInt();
  Ui->ShowSPCharLabel->setText(code > ' ' ? QString(QChar(code)) : QString());
}

void TConcatenateScriptForm::VariableClick() {
  QORV_ASSERT(Request.Experiment!=0);
  TDataFormRequest types;
  types.StringAllowed = true;
  types.IntegerAllowed = false;
  types.FloatAllowed = false;
  types.Type = eatSTRING;
  if (NewVariable->Click(*Request.Experiment, Block, Ui->ArrayButton->isChecked(), types))
    VarComboChange();
}

void TConcatenateScriptForm::OkClick() {
  QString typed = Ui->StringEdit->text();
  const bool trim = Ui->TrimResultBox->isChecked();
  if (trim) typed = TrimBlanks(typed);
  if (typed.isEmpty() &&
      UserDialogs().Message(this, QuestionBoxOf("The expression is empty, do you really want an "
                                                "empty string?",
                                                "Qorv Warning", TMessageKind::Warning,
                                                mbYes | mbNo, mbYes)) != mbYes)
    return;
  TData* target = ChosenVariable();
  if (!target) return Refuse("You must add a variable or array.", Ui->VarComboBox);
  const bool element = Ui->ArrayComboBox->isVisibleTo(this);
  if (element) {
    std::string message;
    if (!Pcomboselection->ValidateIndex(*Ui->ArrayComboBox, target->GetSize(), message))
      return Refuse(message, Ui->ArrayComboBox);
  }
  const bool disable = Ui->DisableValidVarBox->isChecked();
  // Parsed before anything of the command changes: a name that resolves to nothing
  // leaves an edited command as it was.
  TParsePieces pieces;
  try {
    pieces = ParseConcatenation(typed.toStdString(), *Request.Experiment, !disable);
  } catch (const std::exception& error) {
    return Refuse(error.what(), Ui->StringEdit);
  }
  Apply(TScript::CONCATENATE, [&](TScript& script) {
    auto& concatenate = static_cast<TConcatenateScript&>(script);
    concatenate.SetUp(pieces, target, Notation, Places, disable, trim);
    if (element) {
      auto* array = dynamic_cast<TVariableDataArray*>(concatenate.GetVariable());
      QORV_ASSERT(array!=0);
      Pcomboselection->ReadIndex(*Ui->ArrayComboBox, array->GetArrayIndex());
      concatenate.UpdateNodeText();
    }
    // Used: the new variable stays in the experiment.
    NewVariable->Keep(target);
  });
}
