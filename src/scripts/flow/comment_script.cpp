#include "scripts/flow/comment_script.h"

#include "model/read_file.h"
#include "model/write_file.h"
#include "model/assertion.h"
#include "scripts/flow/comment_copy.h"

TCommentScript::TCommentScript(TBlock* block, TTreeNode* node) : TScript(block, node) {}

void TCommentScript::Save(TWriteFile& writer) {
  writer.WriteString(ACommentText);
  TScript::Save(writer);
}

void TCommentScript::Load(TReadFile& reader) {
  ACommentText = reader.ReadString();
  TScript::Load(reader);
  UpdateNodeText();
}

void TCommentScript::SetComment(const std::string& text) {
  ACommentText = text;
  UpdateNodeText();
}

TCopyScript* TCommentScript::MakeCopyScript() { return new TCopyComment(ACommentText); }

void TCommentScript::SetUp(TCopyScript* copyscript) {
  QORV_ASSERT(copyscript!=0);
  auto* copycomment = dynamic_cast<TCopyComment*>(copyscript);
  QORV_ASSERT_AS(copycomment!=0, "copycomment!=0");
  SetComment(copycomment->Text);
}
