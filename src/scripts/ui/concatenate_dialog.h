// "Concatenate String": the text a Concatenate command puts together from literal text
// and variables in braces, the string variable (or array element) that receives it, the
// number format of float values and the two options. OK parses the text into pieces
// before anything of the command changes.
#pragma once

#include <cstdint>
#include <memory>

#include "scripts/flow/concatenate_script.h"
#include "scripts/ui/new_result_variable.h"
#include "scripts/ui/script_form.h"

class QString;
class TBlock;
class TData;
class TVariableArrayComboSelection;

namespace Ui {
class TConcatenateScriptForm;
}

class TConcatenateScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // The special characters offered: codes 1 to 254. A NUL is never offered, since it
  // would cut the text when the experiment is read back.
  static constexpr int FirstSpecialCharacter = 1;
  static constexpr int LastSpecialCharacter = 254;

  // A new command starts with an empty text, Standard format, trimming on, checking on
  // and the first target; an edited command shows its own.
  TConcatenateScriptForm(TConcatenateScriptRequest& request, QWidget* parent = nullptr);
  ~TConcatenateScriptForm() override;

protected:
  void OkClick() override;
  void showEvent(QShowEvent* event) override;
  // A variable made with the Variable button and not used by OK leaves the experiment.
  void hideEvent(QHideEvent* event) override;

private:
  void FillLists(TBlock* block);
  // Inserts the text at the caret, then moves the caret back by the count.
  void InsertText(const QString& text, int back = 0);
  // The target chosen: an array shows its empty element index.
  void VarComboChange();
  TData* ChosenVariable() const;
  void ShowFormat();
  void ShowSpecialCharacter();
  // The Variable button: a new single or array string target, or the one made before
  // edited again.
  void VariableClick();

  std::unique_ptr<Ui::TConcatenateScriptForm> Ui;
  std::unique_ptr<TVariableArrayComboSelection> Pcomboselection;
  TBlock* Block = nullptr;     // the command's block, or the new command's
  std::unique_ptr<TNewResultVariable> NewVariable;
  std::uint8_t Notation = 0;   // of float values: 0 standard, 1 fixed, 2 scientific
  std::int32_t Places = 0;
};
