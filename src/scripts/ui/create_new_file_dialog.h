// The Create-new-file dialog ("Create a New File") of a new command or of the command
// changed: the multiple data file that the command moves on to its next number.
#pragma once

#include <memory>

#include "scripts/files/create_new_file_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TCreateNewFileForm;
}

class TCreateNewFileForm : public TScriptForm {
  Q_OBJECT

public:
  // Lists the request's multiple files: the first selected for a new command, the
  // command's own when changing one.
  TCreateNewFileForm(TCreateNewFileRequest& request, QWidget* parent = nullptr);
  ~TCreateNewFileForm() override;

protected:
  void OkClick() override;

private:
  // Every item shows its file's full or short name; the selection stays.
  void ShowFileNames();

  std::unique_ptr<Ui::TCreateNewFileForm> Ui;
  TCreateNewFileRequest& Create;
};
