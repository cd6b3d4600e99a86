// "Comment": the text of a Comment line.
#pragma once

#include <memory>

#include "scripts/flow/comment_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TCommentScriptForm;
}

class TCommentScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command's box is empty; an edited command's shows its text.
  TCommentScriptForm(TCommentScriptRequest& request, QWidget* parent = nullptr);
  ~TCommentScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TCommentScriptForm> Ui;
};
