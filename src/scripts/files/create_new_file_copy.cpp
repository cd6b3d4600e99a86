#include "scripts/files/create_new_file_copy.h"

#include "model/assertion.h"
#include "outputs/exp_file.h"
#include "scripts/script.h"

TCopyCreateNewFile::TCopyCreateNewFile(TBlock* block, TMultiExpFile* file)
    : TBlockCopyScript(block), Pexpfile(file) {
  QORV_ASSERT(Pexpfile!=0);
}

TCopyCreateNewFile::~TCopyCreateNewFile() {
  if (!ADisabled) TCopyCreateNewFile::Disable();
}

bool TCopyCreateNewFile::CanPasteAt(TTreeNode*) { return true; }

void TCopyCreateNewFile::Disable() {
  if (Pexpfile && Pexpfile->GetCopyScript() == this) Pexpfile->ClearCopyScript();
  Pexpfile = nullptr;
  ADisabled = true;
}

void TCopyCreateNewFile::Enable() {
  QORV_ASSERT(Pexpfile!=0);
  Pexpfile->SetCopyScript(this);
  ADisabled = false;
}

int TCopyCreateNewFile::GetScriptType() { return TScript::CREATENEWFILE; }
