#include "scripts/flow/comment_script.h"

#include "model/read_file.h"
#include "model/write_file.h"

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
