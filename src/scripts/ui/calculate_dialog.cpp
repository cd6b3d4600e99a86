#include "scripts/ui/calculate_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <utility>
#include <optional>
#include <string>
#include <vector>

#include "expressions/math_token_list.h"
#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_dialogs.h"
#include "model/experiment.h"
#include "model/ui/array_index_combo.h"
#include "model/variable_data.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/combo_items.h"
#include "ui_calculate_dialog.h"

namespace {

// The unit the toggles show; the dialog keeps it from one showing to the next, as one
// calculator would.
bool RadiansDown = false;

QString ResultText(TData* variable) {
  return QString(variable->GetDataType() == eatINTEGER ? "I: " : "F: ") +
         QString::fromStdString(variable->GetDataName());
}

// For each UTF-8 byte of the text the engine saw (the typed text without its blanks):
// the typed index of its character and the index just past that character.
struct TTypedSpan {
  int First;
  int End;
};
std::vector<TTypedSpan> SpansOfEngineText(const QString& typed) {
  std::vector<TTypedSpan> spans;
  for (int i = 0; i < typed.size();) {
    const int size = typed[i].isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
    const QString character = typed.mid(i, size);
    if (character != " ")
      for (qsizetype byte = 0; byte < character.toUtf8().size(); ++byte)
        spans.push_back({i, i + size});
    i += size;
  }
  return spans;
}

}  // namespace

TCalculateScriptForm::TCalculateScriptForm(TCalculateScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 3, parent), Ui(std::make_unique<Ui::TCalculateScriptForm>()) {
  Ui->setupUi(Panel1());
  NewVariable = std::make_unique<TNewResultVariable>(*Ui->VarComboBox, &ResultText);
  setWindowTitle("Calculator");
  SizeFromOk(18, 18);
  SetFirstInput(Ui->CalculateEdit);
  Ui->ArrayComboBox->setVisible(false);
  (RadiansDown ? Ui->RadButton : Ui->DegButton)->setChecked(true);
  ConnectKeys();
  connect(Ui->VarComboBox, &QComboBox::currentIndexChanged, this, [this] { VarComboChange(); });
  connect(Ui->VariableButton, &QPushButton::clicked, this, [this] { VariableClick(); });

  TCalculateScript* calculate = request.Calculate();
  Block = calculate ? calculate->Pblock : request.Block;
  QORV_ASSERT_AS(Block!=0, "block!=0");
  FillLists(Block);
  if (!calculate) {
    Ui->VarComboBox->setCurrentIndex(Ui->VarComboBox->count() ? 0 : -1);
    VarComboChange();
    return;
  }
  Ui->CalculateEdit->setText(QString::fromStdString(calculate->GetExpressionText()));
  // The unit the command was compiled in, so that OK never recompiles it in the other.
  if (calculate->GetMathList())
    if (std::optional<bool> radians = TrigonometricRadians(*calculate->GetMathList()))
      (*radians ? Ui->RadButton : Ui->DegButton)->setChecked(true);
  TVariableData* stored = calculate->GetStoredVariable();
  QORV_ASSERT(stored!=0);
  const int index = Ui->VarComboBox->findData(ItemOf(stored->GetData()));
  QORV_ASSERT(index>-1);
  Ui->VarComboBox->setCurrentIndex(index);
  VarComboChange();
  if (Ui->ArrayComboBox->isVisibleTo(this)) {
    auto* array = dynamic_cast<TVariableDataArray*>(stored);
    QORV_ASSERT(array!=0);
    if (!Pcomboselection) Pcomboselection = std::make_unique<TVariableArrayComboSelection>();
    Pcomboselection->ShowIndex(*Ui->ArrayComboBox, array->GetArrayIndex());
  }
}

TCalculateScriptForm::~TCalculateScriptForm() { NewVariable.reset(); }

void TCalculateScriptForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  Ui->VariableButton->setEnabled(!IsRunActive());
}

void TCalculateScriptForm::hideEvent(QHideEvent* event) {
  NewVariable->Drop();
  TScriptForm::hideEvent(event);
}

void TCalculateScriptForm::VariableClick() {
  QORV_ASSERT(Request.Experiment!=0);
  TDataFormRequest types;
  types.StringAllowed = false;
  types.IntegerAllowed = true;
  types.FloatAllowed = true;
  types.Type = eatFLOAT;
  if (NewVariable->Click(*Request.Experiment, Block, Ui->ArrayButton->isChecked(), types))
    VarComboChange();
}

void TCalculateScriptForm::ConnectKeys() {
  struct TKey {
    QToolButton* Button;
    const char* Text;
    int Back;
  };
  const TKey keys[] = {
      {Ui->SpeedButton0, "0", 0}, {Ui->SpeedButton1, "1", 0}, {Ui->SpeedButton2, "2", 0},
      {Ui->SpeedButton3, "3", 0}, {Ui->SpeedButton4, "4", 0}, {Ui->SpeedButton5, "5", 0},
      {Ui->SpeedButton6, "6", 0}, {Ui->SpeedButton7, "7", 0}, {Ui->SpeedButton8, "8", 0},
      {Ui->SpeedButton9, "9", 0}, {Ui->DecimalSP, ".", 0}, {Ui->SCNotationSP, "E", 0},
      {Ui->SpeedButtonA, "A", 0}, {Ui->SpeedButtonB, "B", 0}, {Ui->SpeedButtonC, "C", 0},
      {Ui->SpeedButtonD, "D", 0}, {Ui->SpeedButtonE, "E", 0}, {Ui->SpeedButtonF, "F", 0},
      {Ui->SpeedButtonOX, "0X", 0}, {Ui->ORSP, "|", 0}, {Ui->XORSP, "^", 0},
      {Ui->ANDSP, "&", 0}, {Ui->NOTSP, "~", 0}, {Ui->ShiftRightSP, ">>", 0},
      {Ui->ShiftLeftSP, "<<", 0}, {Ui->AddSP, "+", 0}, {Ui->SubtractSP, "-", 0},
      {Ui->MultiplySP, "*", 0}, {Ui->DivideSP, "/", 0}, {Ui->PowerSP, "**", 0},
      {Ui->ParenSP, "( )", 1}, {Ui->sinSP, "sin( )", 1}, {Ui->cosSP, "cos( )", 1},
      {Ui->tanSP, "tan( )", 1}, {Ui->expSP, "exp( )", 1}, {Ui->LogSP, "log( )", 1},
      {Ui->LnButton, "ln( )", 1}, {Ui->sqrtSP, "sqrt( )", 1}, {Ui->absSP, "abs( )", 1},
      {Ui->FloatSP, "Float( )", 1}, {Ui->BinarySP, "Binary( )", 1},
  };
  for (const TKey& key : keys)
    connect(key.Button, &QToolButton::clicked, this,
            [this, text = QString(key.Text), back = key.Back] { InsertText(text, back); });

  QLineEdit* edit = Ui->CalculateEdit;
  connect(Ui->Home, &QToolButton::clicked, this, [edit] {
    edit->setFocus();
    edit->setCursorPosition(0);
  });
  connect(Ui->End, &QToolButton::clicked, this, [edit] {
    edit->setFocus();
    edit->end(false);
  });
  connect(Ui->BackButton, &QToolButton::clicked, this, [edit] {
    const int at = edit->cursorPosition();
    edit->setFocus();
    edit->setCursorPosition(at);
    edit->backspace();
  });
  // Choosing the unit starts the expression again.
  for (QToolButton* button : {Ui->ClearButton, Ui->RadButton, Ui->DegButton})
    connect(button, &QToolButton::clicked, this, [edit] {
      edit->clear();
      edit->setFocus();
    });
  connect(Ui->RadButton, &QToolButton::toggled, this, [](bool down) { RadiansDown = down; });
  connect(Ui->VarListView, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    auto* variable = static_cast<TData*>(item->data(Qt::UserRole).value<void*>());
    QORV_ASSERT(variable!=0);
    const QString name = QString::fromStdString(variable->GetDataName());
    if (variable->IsArray())
      InsertText(name + "[ ]", 1);
    else
      InsertText(name);
  });
}

void TCalculateScriptForm::FillLists(TBlock* block) {
  QORV_ASSERT(Request.Experiment!=0);
  std::vector<TData*> all;
  Request.Experiment->GetAllVariables(all);
  for (TData* variable : all) {
    if (variable->GetDataType() == eatSTRING) continue;
    auto* item =
        new QListWidgetItem(QString::fromStdString(variable->GetDataName()), Ui->VarListView);
    item->setData(Qt::UserRole, ItemOf(variable));
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      TVariableArrayComboSelection::AddIndexVariableItem(*Ui->ArrayComboBox,
                                                         static_cast<TDataSingle*>(variable));
  }
  std::vector<TData*> usable;
  Request.Experiment->GetBlockVariables(block, usable);
  for (TData* variable : usable)
    if (variable->GetDataType() != eatSTRING && !variable->IsReadOnly())
      Ui->VarComboBox->addItem(ResultText(variable), ItemOf(variable));
}

void TCalculateScriptForm::InsertText(const QString& text, int back) {
  InsertAtCaret(*Ui->CalculateEdit, text, back);
}

TData* TCalculateScriptForm::ChosenVariable() const {
  return SelectedObject<TData>(*Ui->VarComboBox);
}

void TCalculateScriptForm::VarComboChange() {
  TData* variable = ChosenVariable();
  if (!variable) return;
  Ui->ArrayComboBox->setVisible(variable->IsArray());
  if (!variable->IsArray()) return;
  Ui->ArrayComboBox->setCurrentIndex(-1);
  Ui->ArrayComboBox->clearEditText();
}

void TCalculateScriptForm::SelectRejected(int start, int length) {
  QLineEdit* edit = Ui->CalculateEdit;
  edit->setFocus();
  const QString typed = edit->text();
  const std::vector<TTypedSpan> spans = SpansOfEngineText(typed);
  if (start < 0 || spans.empty()) {
    edit->deselect();
    edit->end(false);
    return;
  }
  const auto last = static_cast<int>(spans.size()) - 1;
  const int first = start > last ? static_cast<int>(typed.size()) : spans[start].First;
  const int end = length <= 0 ? first : spans[std::min(start + length - 1, last)].End;
  if (end <= first) {
    edit->deselect();
    edit->setCursorPosition(first);
    return;
  }
  edit->setSelection(first, end - first);
}

void TCalculateScriptForm::OkClick() {
  const QString typed = Ui->CalculateEdit->text();
  if (typed.trimmed().isEmpty()) return Refuse("No expression", Ui->CalculateEdit);
  TData* variable = ChosenVariable();
  if (!variable) return Refuse("You must add a variable or array.", Ui->VarComboBox);
  const bool element = Ui->ArrayComboBox->isVisibleTo(this);
  if (element) {
    QORV_ASSERT(variable->IsArray());
    if (!Pcomboselection) Pcomboselection = std::make_unique<TVariableArrayComboSelection>();
    std::string message;
    if (!Pcomboselection->ValidateIndex(*Ui->ArrayComboBox, variable->GetSize(), message))
      return Refuse(message, Ui->ArrayComboBox);
  }

  TExperiment* experiment = Request.Experiment;
  const std::string text = typed.toStdString();
  const bool radians = !Ui->DegButton->isChecked();
  std::optional<TMathTokenException> rejected;
  // Compiled before anything of the command changes: a rejected text leaves an edited
  // command as it was, and a new one is taken back by Apply.
  const bool done = Apply(TScript::CALCULATE, [&](TScript& script) {
    auto& calculate = static_cast<TCalculateScript&>(script);
    TCalculateExpression compiled;
    try {
      compiled = CompileCalculateExpression(experiment, &calculate, text, radians);
    } catch (const TMathTokenException& error) {
      rejected = error;
      throw;
    }
    calculate.SetUpCalculate(std::move(compiled.List), std::move(compiled.Text), variable);
    if (element) {
      auto* array = dynamic_cast<TVariableDataArray*>(calculate.GetStoredVariable());
      QORV_ASSERT(array!=0&&Pcomboselection!=0);
      Pcomboselection->ReadIndex(*Ui->ArrayComboBox, array->GetArrayIndex());
      calculate.UpdateNodeText();
    }
    // Used: the new variable stays in the experiment.
    NewVariable->Keep(variable);
  });
  if (!done && rejected) SelectRejected(rejected->GetStart(), rejected->GetLength());
}
