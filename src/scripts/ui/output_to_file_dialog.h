// The Output to File dialog of a new command or of the command changed: the data file,
// the ordered list of single variables, array elements and entire arrays, the stamps,
// the delimiter and the number format.
#pragma once

#include <memory>
#include <vector>

#include "model/ui/array_index_combo.h"
#include "model/var_list_object.h"
#include "scripts/files/output_to_file_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TOutputToFileForm;
}

class TOutputToFileForm : public TScriptForm {
  Q_OBJECT

public:
  // The lists come from the request (TOutputToFileRequest::CanOpen).
  TOutputToFileForm(TOutputToFileRequest& request, QWidget* parent = nullptr);
  ~TOutputToFileForm() override;

protected:
  void OkClick() override;

private:
  TData* SelectedVariable() const;
  // Every file item shows its file's full or short name.
  void ShowFileNames();
  void NumberFormatChange();
  void VariableChange();
  void Append(const TVarListObject& entry);
  void AddClick();
  void RemoveClick();
  void RemoveAllClick();
  // Moves the selected entry by one place (-1 up, +1 down).
  void Move(int by);
  bool Confirm(const std::string& question);

  std::unique_ptr<Ui::TOutputToFileForm> Ui;
  TOutputToFileRequest& Output;
  std::vector<TVarListObject> Entries;  // the list's entries, in its order
  TVariableArrayComboSelection Pcomboselection;
};
