#include "scripts/ui/output_to_file_dialog.h"

#include <QVariant>

#include "model/data.h"
#include "model/number_text.h"
#include "model/text.h"
#include "outputs/exp_file.h"
#include "scripts/experiment_thread.h"
#include "shell/ui/user_dialogs.h"
#include "ui_output_to_file_dialog.h"

namespace {

QVariant Holding(void* object) { return QVariant::fromValue(object); }

template <class T>
T* HeldBy(const QComboBox& box, int item) {
  return item < 0 ? nullptr : static_cast<T*>(box.itemData(item).value<void*>());
}

// The dialog's entry for one of the command's.
TVarListObject ChoiceOf(const TOutputToFileEntry& entry) {
  TVarListObject choice(entry.Data);
  if (entry.Data->IsArray()) {
    if (entry.IndexVariable)
      choice.SetIndexVariable(entry.IndexVariable);
    else if (entry.Index >= 0)
      choice.SetIndexConstant(entry.Index);
    else
      choice.ClearIndex();
  }
  return choice;
}

TOutputToFileEntry EntryOf(const TVarListObject& choice) {
  TOutputToFileEntry entry;
  entry.Data = choice.GetData();
  entry.IndexVariable = choice.GetIndexVariable();
  entry.Index = choice.IsEntireArray() ? -1 : choice.GetIndexConstant();
  return entry;
}

}  // namespace

TOutputToFileForm::TOutputToFileForm(TOutputToFileRequest& request, QWidget* parent)
    : TScriptForm(request, 71, parent), Ui(std::make_unique<Ui::TOutputToFileForm>()),
      Output(request) {
  Ui->setupUi(Panel1());
  setWindowTitle("Output To File");
  SizeFromOk(14, 20);
  SetFirstInput(Ui->FileBox);

  for (TData* variable : request.Variables)
    Ui->VariableCombo->addItem(QString::fromStdString(variable->GetDataName()), Holding(variable));
  for (TDataSingle* integer : request.Integers)
    TVariableArrayComboSelection::AddIndexVariableItem(*Ui->ArrayCombo, integer);
  Pcomboselection.AddEntireArrayItem(*Ui->ArrayCombo);
  for (TExperimentFile* file : request.Files) Ui->FileBox->addItem(QString(), Holding(file));
  ShowFileNames();
  Ui->FileBox->setCurrentIndex(request.Files.empty() ? -1 : 0);
  Ui->VariableCombo->setCurrentIndex(-1);

  if (TOutputToFileScript* command = request.OutputToFile()) {
    Ui->TimeStampCheck->setChecked(command->GetTimeStamp());
    Ui->DateStampCheck->setChecked(command->GetDateStamp());
    Ui->NoteTypeBox->setCurrentIndex(command->GetNotation());
    if (command->GetNotation() != 0)
      Ui->NumEdit->setText(QString::fromStdString(NumberText::IntToText(command->GetDecimalPlaces())));
    Ui->DelEdit->setText(QString::fromStdString(command->GetDelimiter()));
    Ui->FileBox->setCurrentIndex(Ui->FileBox->findData(Holding(command->GetExpFile())));
    for (const TOutputToFileEntry& entry : command->GetEntries()) Append(ChoiceOf(entry));
  } else if (request.Item) {
    if (auto* variable = dynamic_cast<TData*>(request.Item)) {
      Ui->VariableCombo->setCurrentIndex(Ui->VariableCombo->findData(Holding(variable)));
      if (!variable->IsArray()) Append(TVarListObject(variable));
    } else if (auto* file = dynamic_cast<TExperimentFile*>(request.Item)) {
      Ui->FileBox->setCurrentIndex(Ui->FileBox->findData(Holding(file)));
    }
  }
  NumberFormatChange();
  VariableChange();

  // A command can be looked at during a run, not changed.
  if (IsRunActive())
    for (QWidget* input : std::initializer_list<QWidget*>{
             Ui->FileBox, Ui->TimeStampCheck, Ui->DateStampCheck, Ui->DelEdit, Ui->VariableCombo,
             Ui->ArrayCombo, Ui->AddBtn, Ui->NoteTypeBox, Ui->NumEdit, Ui->UpBtn, Ui->DownBtn,
             Ui->RemoveBtn, Ui->RemoveAllBtn})
      input->setEnabled(false);

  connect(Ui->ShowLongFileCheck, &QCheckBox::toggled, this, [this] { ShowFileNames(); });
  connect(Ui->NoteTypeBox, &QComboBox::currentIndexChanged, this, [this] { NumberFormatChange(); });
  connect(Ui->VariableCombo, &QComboBox::currentIndexChanged, this, [this] { VariableChange(); });
  connect(Ui->AddBtn, &QPushButton::clicked, this, [this] { AddClick(); });
  connect(Ui->RemoveBtn, &QPushButton::clicked, this, [this] { RemoveClick(); });
  connect(Ui->RemoveAllBtn, &QPushButton::clicked, this, [this] { RemoveAllClick(); });
  connect(Ui->UpBtn, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(Ui->DownBtn, &QPushButton::clicked, this, [this] { Move(1); });
}

TOutputToFileForm::~TOutputToFileForm() = default;

TData* TOutputToFileForm::SelectedVariable() const {
  return HeldBy<TData>(*Ui->VariableCombo, Ui->VariableCombo->currentIndex());
}

void TOutputToFileForm::ShowFileNames() {
  const bool full = Ui->ShowLongFileCheck->isChecked();
  for (int item = 0; item < Ui->FileBox->count(); ++item) {
    const auto* file = HeldBy<TExperimentFile>(*Ui->FileBox, item);
    Ui->FileBox->setItemText(
        item, QString::fromStdString(full ? file->GetFullName() : file->GetShortName()));
  }
}

void TOutputToFileForm::NumberFormatChange() {
  const bool decimals = Ui->NoteTypeBox->currentIndex() > 0;
  Ui->NumLabel->setVisible(decimals);
  Ui->NumEdit->setVisible(decimals);
  if (!decimals) Ui->NumEdit->clear();
}

void TOutputToFileForm::VariableChange() {
  TData* variable = SelectedVariable();
  Ui->ArrayCombo->setVisible(variable && variable->IsArray());
  Ui->ArrayCombo->setCurrentIndex(-1);
  Ui->ArrayCombo->setEditText("");
}

void TOutputToFileForm::Append(const TVarListObject& entry) {
  Entries.push_back(entry);
  Ui->OutputList->addItem(QString::fromStdString(entry.GetText()));
}

void TOutputToFileForm::AddClick() {
  TData* variable = SelectedVariable();
  if (!variable) return Refuse("Nothing to add", Ui->VariableCombo);
  TVarListObject entry(variable);
  if (variable->IsArray()) {
    std::string message;
    if (!Pcomboselection.ValidateIndex(*Ui->ArrayCombo, variable->GetSize(), message))
      return Refuse(message, Ui->ArrayCombo);
    Pcomboselection.ReadIndex(*Ui->ArrayCombo, entry);
  }
  Append(entry);
}

bool TOutputToFileForm::Confirm(const std::string& question) {
  return UserDialogs().Message(this, QuestionBoxOf(question, "Qorv Warning",
                                                   TMessageKind::Warning, mbYes | mbNo, mbYes)) !=
         mbNo;
}

void TOutputToFileForm::RemoveClick() {
  const int row = Ui->OutputList->currentRow();
  if (row < 0) return;
  if (!Confirm("Do you really wish to remove " + Entries[row].GetText() + "?")) return;
  Entries.erase(Entries.begin() + row);
  delete Ui->OutputList->takeItem(row);
}

void TOutputToFileForm::RemoveAllClick() {
  if (!Confirm("Do you really wish to remove all the variables?")) return;
  Entries.clear();
  Ui->OutputList->clear();
}

void TOutputToFileForm::Move(int by) {
  const int row = Ui->OutputList->currentRow();
  const int to = row + by;
  if (row < 0 || to < 0 || to >= Ui->OutputList->count()) return;
  std::swap(Entries[row], Entries[to]);
  Ui->OutputList->insertItem(to, Ui->OutputList->takeItem(row));
  Ui->OutputList->setCurrentRow(to);
}

void TOutputToFileForm::OkClick() {
  auto* file = HeldBy<TExperimentFile>(*Ui->FileBox, Ui->FileBox->currentIndex());
  if (!file) return Refuse("You must select an experiment file to output to.", Ui->FileBox);
  TOutputToFileSettings settings;
  settings.DecimalPlacesShown = !Ui->NumEdit->isHidden();
  if (settings.DecimalPlacesShown) {
    settings.DecimalPlacesText = TrimText(Ui->NumEdit->text().toStdString());
    std::int32_t places = -1;
    if (settings.DecimalPlacesText.empty())
      return Refuse("You must enter a number of decimal places", Ui->NumEdit);
    if (!NumberText::TextToInt(settings.DecimalPlacesText, places) || places < 0)
      return Refuse("You must enter an integer number of decimal places greater than zero",
                    Ui->NumEdit);
    // A number has no more digits worth showing.
    if (places > NumberText::MaxDecimalPlaces)
      return Refuse("You must enter a number of decimal places of " +
                        NumberText::IntToText(NumberText::MaxDecimalPlaces) + " or less",
                    Ui->NumEdit);
  }
  if (Entries.empty()) return Refuse("You must specify variables to output.", Ui->VariableCombo);
  settings.TimeStamp = Ui->TimeStampCheck->isChecked();
  settings.DateStamp = Ui->DateStampCheck->isChecked();
  settings.Delimiter = Ui->DelEdit->text().toStdString();
  settings.Notation = static_cast<std::uint8_t>(Ui->NoteTypeBox->currentIndex());
  std::vector<TOutputToFileEntry> entries;
  for (const TVarListObject& entry : Entries) entries.push_back(EntryOf(entry));
  Apply(TScript::OUTPUTTOFILE, [&](TScript& command) {
    static_cast<TOutputToFileScript&>(command).SetUpFromForm(file, settings, entries);
  });
}
