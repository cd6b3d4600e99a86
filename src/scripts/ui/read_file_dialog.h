// "Read From File": the text file read, the array that receives its values, the integer
// variable that receives their number ("None" for none), two delimiter characters and
// the two text options. OK sets the command up through TReadFileScript::SetUpReadFile.
#pragma once

#include <memory>

#include "scripts/files/read_file_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TReadFromFileForm;
}

class TData;

class TReadFromFileForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command: no path, the block's first array, "None", both options checked. An
  // edited one shows its settings.
  TReadFromFileForm(TReadFileScriptRequest& request, QWidget* parent = nullptr);
  // Deletes the variables made with "New" that no OK used.
  ~TReadFromFileForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;

private:
  void ArrayChanged();
  void BrowseClick();
  void NewArrayClick();
  void NewSizeClick();
  TData* Array() const;
  TData* CountVariable() const;

  std::unique_ptr<Ui::TReadFromFileForm> Ui;
  TData* Pnewarray = nullptr;
  TData* Pnewcount = nullptr;
};
