// The read-response decoders on instrument bytes, as a Read command uses them: a read
// descriptor set up from a response (read_data.h), checked against the variable's size,
// its buffer filled with the bytes the instrument sent, then decoded into a single or an
// array variable (read_mechanics.h, number_token.h). The first bytes are the settings:
//   byte 0: an array (bit 0), the value type (bits 1 and 2, 3 taken as 2), binary
//           (bit 3), left to right (bit 4), D to E (bit 5), blanks delimit (bit 6), the
//           number of points from the variable n (bit 7);
//   byte 1: bytes per point (binary: 0 to 5, so that bad sizes are refused too);
//   byte 2: the number of points (a constant 1 to 64, or n's value, signed);
//   byte 3: the delimiter, 0 for none;  bytes 4 and 5: the device's read terminators;
//   byte 6: the byte count of the read goes to n, as when n counts the bytes read
//           (bit 0); the array's size less two (bits 1 to 7);
//   the rest: what the instrument sent.
// A refused setting or a failing decode ends in EExperimentError and nothing else.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "communication/read_data.h"
#include "communication/read_response.h"
#include "model/attribute_type.h"
#include "model/block.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/number_text.h"
#include "model/tree_node.h"
#include "model/value.h"
#include "model/value_array.h"
#include "scripts/attribute_script.h"
#include "support/harness.h"
#include "support/variables.h"

namespace {

// The Read command as its descriptor sees it.
class TReadOwner final : public TAttributeScript, public TReadDataOwner {
public:
  TReadOwner(TBlock* block, TTreeNode* node, bool dToE, bool whitespace)
      : TAttributeScript(block, node), DToE(dToE), Whitespace(whitespace) {}
  int Edit() override { return 0; }
  TScript* Execute() override { return Pnextscript; }
  TScript* ExecuteTrace(std::vector<std::string>&) override { return Pnextscript; }
  bool CanMakeCopyScript() override { return false; }
  std::string GetText() override { return "Read"; }
  int GetScriptType() const override { return READ; }
  bool VariableNotify(TVariable*, int) override { return true; }
  bool CanReleaseVariable(TVariable*) override { return false; }
  bool IsStoredVariable(TVariable*) override { return false; }
  TAttributeScript* GetReadScript() override { return this; }
  bool GetDToE() const override { return DToE; }
  bool GetWhitespaceIsDelimiter() const override { return Whitespace; }

private:
  bool DToE;
  bool Whitespace;
};

// The read as the Read command runs it: the size check, the buffer, the bytes, the
// decode.
void Read(TReadData& read, TData* variable, TDataSingle* n, bool countToN,
          const std::uint8_t* bytes, std::size_t size) {
  const std::int32_t points = read.GetNumberPointsToRead();
  std::int32_t room = 1;
  if (auto* array = dynamic_cast<TDataArray*>(variable)) room = array->GetSize();
  if (room < points) return;  // the command refuses to read
  const std::int64_t count = read.GetByteCount();
  char* buffer = read.AllocateBuffer();
  const std::size_t sent = std::min<std::size_t>(size, static_cast<std::size_t>(count));
  if (sent > 0) std::memcpy(buffer, bytes, sent);
  if (countToN) n->GetValue().SetText(NumberText::IntToText(static_cast<std::int64_t>(sent)));
  read.Read(variable);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 7) return 0;
  THarnessInput input;
  TVariables variables;
  const std::uint8_t flags = data[0];
  const bool isArray = flags & 1;
  const int type = ((flags >> 1) & 3) == 3 ? eatFLOAT : (flags >> 1) & 3;
  const bool binary = flags & 8;
  const bool pointsFromN = isArray && (flags & 0x80);

  TReadResponse response = isArray ? TReadResponse(data[2] % 64 + 1) : TReadResponse();
  response.SetValueType(type);
  response.SetReadAs(binary ? rtBINARY : rtASCII, isArray);
  response.SetBytesPerPoint(binary ? data[1] % 6 : data[1]);
  response.SetLeftToRight(flags & 0x10);
  if (isArray) response.SetDelimiter(data[3] ? std::string(1, static_cast<char>(data[3])) : "");
  if (pointsFromN) {
    variables.N->GetValue().SetText(
        NumberText::IntToText(static_cast<std::int8_t>(data[2])));
    response.SetNumberOfPointsFromData(true);
    response.SetNumberOfPointsData(variables.N);
  }

  TExperiment& experiment = variables.Experiment;
  TBlock* block = variables.Block;
  TData* variable =
      isArray ? experiment.GetDataArrayList()->Add(block, type, (data[6] >> 1) + 2, "values")
              : experiment.GetDataSingleList()->Add(block, type, 1, "value");
  auto* owner = new TReadOwner(
      block, experiment.GetExperimentTree().AddChild(block->AExpNode, "none"), flags & 0x20,
      flags & 0x40);
  std::unique_ptr<TReadData> read;
  if (isArray)
    read = std::make_unique<TReadDataArray>(owner);
  else
    read = std::make_unique<TReadDataSingle>(owner);
  read->SetFromResponse(response);
  read->SetTermChars(data[4], data[5]);
  try {
    read->CreateMechanics();
  } catch (const EExperimentError&) {
    return 0;  // the run is refused
  }
  try {
    Read(*read, variable, variables.N, data[6] & 1, data + 7, size - 7);
  } catch (const EExperimentError&) {
  }
  read->Describe();
  read->GetNumberOfPointsText();
  variable->GetValueText();
  return 0;
}
