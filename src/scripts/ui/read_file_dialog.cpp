#include "scripts/ui/read_file_dialog.h"

#include <QComboBox>

#include <filesystem>
#include <system_error>
#include <vector>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/variable_data.h"
#include "scripts/experiment_thread.h"
#include "scripts/ui/new_variable.h"
#include "scripts/ui/read_page.h"
#include "shell/ui/user_dialogs.h"
#include "ui_read_file_dialog.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QVariant Entry(TData* variable) { return QVariant::fromValue(static_cast<void*>(variable)); }

void AddArray(QComboBox& combo, TData* array) {
  combo.addItem(Text(array->GetDataName() + "[" + NumberText::IntToText(array->GetSize()) + "]"),
                Entry(array));
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(path), error) &&
         !std::filesystem::is_directory(std::filesystem::path(path), error);
}

// Deletes a variable the dialog made, with its entry.
void Discard(QComboBox& combo, TData*& made) {
  if (!made) return;
  const int index = combo.findData(Entry(made));
  if (index >= 0) combo.removeItem(index);
  delete made;
  made = nullptr;
}

}  // namespace

TReadFromFileForm::TReadFromFileForm(TReadFileScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 8, parent), Ui(std::make_unique<Ui::TReadFromFileForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Read From File");
  SizeFromOk(8, 16);
  QORV_ASSERT(request.Experiment!=0&&request.Block!=0);
  std::vector<TData*> variables;
  request.Experiment->GetBlockVariables(request.Block, variables);
  Ui->SizeComboBox->addItem("None", Entry(nullptr));
  for (TData* variable : variables) {
    if (variable->IsArray())
      AddArray(*Ui->VariableComboBox, variable);
    else if (variable->GetDataType() == eatINTEGER)
      Ui->SizeComboBox->addItem(Text(variable->GetDataName()), Entry(variable));
  }
  if (TReadFileScript* read = request.ReadFile()) {
    Ui->FileName->setText(Text(read->GetFileToRead()));
    Ui->FirstDelimiter->setText(Text(read->GetDelimiter1()));
    Ui->SecondDelimiter->setText(Text(read->GetDelimiter2()));
    Ui->VariableComboBox->setCurrentIndex(Ui->VariableComboBox->findData(Entry(read->GetStoredData())));
    const int count = Ui->SizeComboBox->findData(Entry(read->GetSecondStoredData()));
    Ui->SizeComboBox->setCurrentIndex(count < 0 ? 0 : count);
    Ui->DoCleanString->setChecked(read->GetCleanString());
    Ui->WSDelimiter->setChecked(read->GetWSDelimiter());
  } else {
    Ui->VariableComboBox->setCurrentIndex(Ui->VariableComboBox->count() > 0 ? 0 : -1);
    Ui->SizeComboBox->setCurrentIndex(0);
    Ui->DoCleanString->setChecked(true);
    Ui->WSDelimiter->setChecked(true);
  }
  ArrayChanged();
  connect(Ui->VariableComboBox, &QComboBox::currentIndexChanged, this, [this] { ArrayChanged(); });
  connect(Ui->Browse, &QAbstractButton::clicked, this, [this] { BrowseClick(); });
  connect(Ui->NewArray, &QAbstractButton::clicked, this, [this] { NewArrayClick(); });
  connect(Ui->NewSize, &QAbstractButton::clicked, this, [this] { NewSizeClick(); });
  SetFirstInput(Ui->FileName);
}

TReadFromFileForm::~TReadFromFileForm() {
  Discard(*Ui->VariableComboBox, Pnewarray);
  Discard(*Ui->SizeComboBox, Pnewcount);
}

void TReadFromFileForm::showEvent(QShowEvent* event) {
  TScriptForm::showEvent(event);
  const bool running = IsRunActive();
  for (QWidget* control : {static_cast<QWidget*>(Ui->FileName), static_cast<QWidget*>(Ui->Browse),
                           static_cast<QWidget*>(Ui->NewArray), static_cast<QWidget*>(Ui->NewSize)})
    control->setEnabled(!running);
}

TData* TReadFromFileForm::Array() const {
  return EntryVariable(*Ui->VariableComboBox, Ui->VariableComboBox->currentIndex());
}

TData* TReadFromFileForm::CountVariable() const {
  return EntryVariable(*Ui->SizeComboBox, Ui->SizeComboBox->currentIndex());
}

void TReadFromFileForm::ArrayChanged() {
  TData* array = Array();
  // Numbers always end at a blank; only a string array may keep blanks in its values.
  const bool text = array && array->GetDataType() == eatSTRING;
  Ui->WSDelimiter->setVisible(text);
  Ui->WhiteLabel->setText(text ? "All control characters are considered to be delimiters."
                               : "All control characters and whitespace are considered to be "
                                 "delimiters.");
  Ui->DoCleanString->setVisible(array && array->GetDataType() == eatFLOAT);
}

void TReadFromFileForm::BrowseClick() {
  TFileChoice choice;
  choice.DefaultExt = "txt";
  choice.Filter = "Text File (*.txt)|*.txt|All Files (*.*)|*.*";
  choice.FileName = TrimText(Ui->FileName->text().toStdString());
  if (UserDialogs().ChooseFile(this, choice)) Ui->FileName->setText(Text(choice.FileName));
}

void TReadFromFileForm::NewArrayClick() {
  QORV_ASSERT(Request.Experiment!=0);
  TData* array = NewVariableWithDialog(*Request.Experiment, Request.Block, {true, false, false});
  if (!array) return;
  Discard(*Ui->VariableComboBox, Pnewarray);  // one not-yet-used new array at a time
  Pnewarray = array;
  AddArray(*Ui->VariableComboBox, array);
  Ui->VariableComboBox->setCurrentIndex(Ui->VariableComboBox->count() - 1);
}

void TReadFromFileForm::NewSizeClick() {
  QORV_ASSERT(Request.Experiment!=0);
  TData* count = NewVariableWithDialog(*Request.Experiment, Request.Block, {false, true, false});
  if (!count) return;
  Discard(*Ui->SizeComboBox, Pnewcount);
  Pnewcount = count;
  Ui->SizeComboBox->addItem(Text(count->GetDataName()), Entry(count));
  Ui->SizeComboBox->setCurrentIndex(Ui->SizeComboBox->count() - 1);
}

void TReadFromFileForm::OkClick() {
  const std::string path = TrimText(Ui->FileName->text().toStdString());
  if (path.empty()) return Refuse("You must name a file to read", Ui->FileName);
  if (!FileExists(path)) {
    const TMessageBox question =
        QuestionBoxOf("The file " + path + " does not exist.  Do you wish to use it?",
                      "Qorv Warning", TMessageKind::Warning, mbYes | mbNo, mbYes);
    if (UserDialogs().Message(this, question) != mbYes) {
      Ui->FileName->setFocus();
      return;
    }
  }
  TData* array = Array();
  if (!array) return Refuse("You must select/add a variable to read the data into.", Ui->VariableComboBox);
  const std::string first = TrimText(Ui->FirstDelimiter->text().toStdString());
  if (first.size() > 1) return Refuse("This can only be one character long", Ui->FirstDelimiter);
  const std::string second = TrimText(Ui->SecondDelimiter->text().toStdString());
  if (second.size() > 1) return Refuse("This can only be one character long", Ui->SecondDelimiter);
  TData* count = CountVariable();
  const bool whitespace = Ui->WSDelimiter->isChecked();
  const bool clean = Ui->DoCleanString->isChecked();
  if (!Apply(TScript::READFILE, [&](TScript& read) {
        static_cast<TReadFileScript&>(read).SetUpReadFile(path, array, whitespace, clean, first,
                                                          second, count);
      }))
    return;
  if (Pnewarray == array) Pnewarray = nullptr;
  if (Pnewcount == count) Pnewcount = nullptr;
}
