#include "scripts/files/output_to_file_copy.h"

#include <utility>

#include "model/assertion.h"
#include "model/variable_data.h"
#include "outputs/exp_file.h"
#include "scripts/script.h"

TCopyOutputToFile::TCopyOutputToFile(TBlock* block, bool timeStamp, bool dateStamp,
                                     std::string delimiter, std::uint8_t notation,
                                     std::int32_t decimalPlaces, TExperimentFile* file,
                                     const std::vector<std::unique_ptr<TVariableData>>& list)
    : TBlockCopyScript(block),
      AbTimeStamp(timeStamp),
      AbDateStamp(dateStamp),
      ADelimiter(std::move(delimiter)),
      ANotation(notation),
      ADecimalPlaces(decimalPlaces),
      Pexpfile(file) {
  QORV_ASSERT(Pexpfile!=0);
  if (list.empty()) return;
  Pvarlist = std::make_unique<TVarList>();
  for (const auto& variable : list) {
    QORV_ASSERT(variable!=0&&variable->GetData()!=0);
    Pvarlist->emplace_back(variable->MakeCopy(this));
  }
}

TCopyOutputToFile::~TCopyOutputToFile() {
  if (!ADisabled) TCopyOutputToFile::Disable();
}

void TCopyOutputToFile::Disable() {
  if (Pexpfile && Pexpfile->GetCopyScript() == this) Pexpfile->ClearCopyScript();
  Pexpfile = nullptr;
  if (Pvarlist)
    for (auto& copy : *Pvarlist) copy->Disable();
  Pvarlist.reset();
  ADisabled = true;
}

void TCopyOutputToFile::Enable() {
  QORV_ASSERT(Pexpfile!=0);
  Pexpfile->SetCopyScript(this);
  for (auto& copy : GetVarList()) {
    QORV_ASSERT_AS(copy!=0&&copy->Data!=0, "cd!=0");
    copy->Enable();
  }
  ADisabled = false;
}

int TCopyOutputToFile::GetScriptType() { return TScript::OUTPUTTOFILE; }

TCopyOutputToFile::TVarList& TCopyOutputToFile::GetVarList() {
  if (!Pvarlist) Pvarlist = std::make_unique<TVarList>();
  return *Pvarlist;
}
