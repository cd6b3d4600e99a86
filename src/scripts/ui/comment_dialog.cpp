#include "scripts/ui/comment_dialog.h"

#include "model/text.h"
#include "ui_comment_dialog.h"

TCommentScriptForm::TCommentScriptForm(TCommentScriptRequest& request, QWidget* parent)
    : TScriptForm(request, 18, parent), Ui(std::make_unique<Ui::TCommentScriptForm>()) {
  Ui->setupUi(Panel1());
  setWindowTitle("Comment");
  SizeFromOk(4, 16);
  SetFirstInput(Ui->CommentEdit);
  if (TCommentScript* comment = request.Comment())
    Ui->CommentEdit->setText(QString::fromStdString(comment->GetComment()));
}

TCommentScriptForm::~TCommentScriptForm() = default;

void TCommentScriptForm::OkClick() {
  const std::string text = TrimText(Ui->CommentEdit->text().toStdString());
  if (text.empty()) return Refuse("You must enter a comment or press cancel", Ui->CommentEdit);
  Apply(TScript::COMMENT,
        [text](TScript& comment) { static_cast<TCommentScript&>(comment).SetComment(text); });
}
