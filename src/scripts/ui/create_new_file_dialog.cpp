#include "scripts/ui/create_new_file_dialog.h"

#include "outputs/exp_file.h"
#include "ui_create_new_file_dialog.h"

TCreateNewFileForm::TCreateNewFileForm(TCreateNewFileRequest& request, QWidget* parent)
    : TScriptForm(request, 72, parent), Ui(std::make_unique<Ui::TCreateNewFileForm>()),
      Create(request) {
  Ui->setupUi(Panel1());
  setWindowTitle("Create a New File");
  SizeFromOk(4, 16);
  SetFirstInput(Ui->FileBox);
  for (std::size_t i = 0; i < request.Files.size(); ++i) Ui->FileBox->addItem(QString());
  ShowFileNames();
  int selected = request.Files.empty() ? -1 : 0;
  if (TCreateNewFileScript* command = request.CreateNewFile()) {
    selected = -1;
    for (std::size_t i = 0; i < request.Files.size(); ++i)
      if (request.Files[i] == command->GetFile()) selected = static_cast<int>(i);
  }
  Ui->FileBox->setCurrentIndex(selected);
  connect(Ui->ShowLongFileCheck, &QCheckBox::toggled, this, [this] { ShowFileNames(); });
}

TCreateNewFileForm::~TCreateNewFileForm() = default;

void TCreateNewFileForm::ShowFileNames() {
  const bool full = Ui->ShowLongFileCheck->isChecked();
  for (std::size_t i = 0; i < Create.Files.size(); ++i)
    Ui->FileBox->setItemText(static_cast<int>(i),
                             QString::fromStdString(full ? Create.Files[i]->GetFullName()
                                                         : Create.Files[i]->GetShortName()));
}

void TCreateNewFileForm::OkClick() {
  const int selected = Ui->FileBox->currentIndex();
  if (selected < 0 || selected >= static_cast<int>(Create.Files.size()))
    return Refuse("You must select an experiment file.", Ui->FileBox);
  TMultiExpFile* file = Create.Files[selected];
  Apply(TScript::CREATENEWFILE,
        [file](TScript& command) { static_cast<TCreateNewFileScript&>(command).SetFile(file); });
}
