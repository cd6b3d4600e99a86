#include "scripts/outputs/plot_script.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "model/assertion.h"
#include "model/attribute_type.h"
#include "model/data.h"
#include "model/data_list.h"
#include "model/errors.h"
#include "model/experiment.h"
#include "model/number_text.h"
#include "model/qorv_version.h"
#include "model/read_file.h"
#include "model/variable_data.h"
#include "model/variable_output.h"
#include "model/write_file.h"
#include "outputs/output.h"
#include "outputs/output_form.h"
#include "outputs/output_list.h"
#include "outputs/plot_index.h"
#include "scripts/experiment_thread.h"
#include "scripts/flow/command_record.h"
#include "scripts/outputs/plot_copy.h"

namespace {

bool NamesVariable(const std::unique_ptr<TVariableData>& reference) {
  return reference && reference->GetData();
}

int DataTypeOf(const std::unique_ptr<TVariableData>& reference) {
  QORV_ASSERT(reference!=0&&reference->GetData()!=0);
  return reference->GetData()->GetDataType();
}

}  // namespace

TPlotScript::TPlotScript(TBlock* block, TTreeNode* node) : TAttributeScript(block, node) {}

TPlotScript::~TPlotScript() {
  AVariableX.reset();
  AVariableY.reset();
  AOutput.reset();
  PpiPlotIndex.reset();
}

TOutput* TPlotScript::GetOutput() const { return AOutput ? AOutput->GetOutput() : nullptr; }

bool TPlotScript::PlotsEntireArray() const {
  if (!AVariableY || !AVariableY->IsArray()) return false;
  auto* array = static_cast<TVariableDataArray*>(AVariableY.get());
  return array->HasArrayIndex() && array->GetArrayIndex().IsEntireArray();
}

TOutputForm* TPlotScript::CheckedForm() {
  TOutput* output = GetOutput();
  QORV_ASSERT(output!=0);
  QORV_ASSERT(PpiPlotIndex!=0);
  QORV_ASSERT(AVariableY!=0);
  // A channel variable may hold any value: one below 0 is refused as one beyond the
  // output's channels is, before anything is plotted or counted.
  const std::int32_t index = PpiPlotIndex->GetIndex();
  if (index < 0 || index >= output->NumberOfChannels)
    throw EExperimentError("The plot index of " + GetText() + " is invalid.");
  return output->GetOutputForm();
}

TScript* TPlotScript::Execute() {
  if (AbCommentedOut) return Pnextscript;
  TOutputForm* form = CheckedForm();
  if (PlotsEntireArray())
    form->PlotArrayFromRun(this, AVariableY.get(), &TExperimentThread::StopRequested);
  else
    form->PlotValueFromRun(this, &TExperimentThread::StopRequested);
  ++APointCounter;  // an array counts as one point
  return Pnextscript;
}

TScript* TPlotScript::ExecuteTrace(std::vector<std::string>& trace) {
  if (AbCommentedOut) {
    trace.push_back("Comment(" + GetText() + ")");
    return Pnextscript;
  }
  TOutputForm* form = CheckedForm();
  if (PlotsEntireArray())
    form->PlotArrayTrace(this, AVariableY.get(), trace);
  else
    form->PlotValueTrace(this, trace);
  ++APointCounter;
  return Pnextscript;
}

bool TPlotScript::CanMakeCopyScript() {
  TOutput* output = GetOutput();
  return output && output->GetOutputForm()->CanAddSeries();
}

TCopyScript* TPlotScript::MakeCopyScript() { return new TCopyPlot(*this); }

void TPlotScript::SetUp(TCopyScript* copyscript) {
  auto* copy = dynamic_cast<TCopyPlot*>(copyscript);
  QORV_ASSERT_AS(copy!=0, "copyplot!=0");
  TOutput* output = copy->GetOutput();
  TData* y = copy->GetVariableY().Data;
  QORV_ASSERT_AS(output!=0&&y!=0, "copyplot->AOutput!=0&&copyplot->AVariableY->Data!=0");
  TDataSingle* channelVariable = copy->GetChannelVariable();
  const std::int32_t channel = channelVariable ? -1 : copy->AChannel;
  const TCopyVariableData* x = copy->GetVariableX();
  if (x && x->Data) {
    SetUpXY(output, y, x->Data, channel, channelVariable);
    x->SetUpVariable(AVariableX.get());
  } else {
    SetUpYOnly(output, y, copy->AbUseCounter, channel, channelVariable);
  }
  copy->GetVariableY().SetUpVariable(AVariableY.get());
  UpdateNodeText();
}

bool TPlotScript::SetNextScript() {
  const bool linked = TScript::SetNextScript();
  if (linked) {
    TOutput* output = GetOutput();
    QORV_ASSERT(output!=0);
    output->GetOutputForm()->ClearBeforeRun();
    APointCounter = 0;
  }
  return linked;
}

void TPlotScript::Save(TWriteFile& writer) {
  QORV_ASSERT(AOutput!=0&&AOutput->GetOutput()!=0);
  QORV_ASSERT(NamesVariable(AVariableY));
  writer.WriteBool(AbUseCounter);
  AOutput->Save(writer);
  if (std::vector<TVariable*>* exported = writer.GetBlockVariableList())
    exported->push_back(AOutput.get());
  SaveReference(writer, *AVariableY);
  writer.WriteBool(AVariableX != nullptr);
  if (AVariableX) SaveReference(writer, *AVariableX);
  GetPlotIndex()->Write(writer);
  TScript::Save(writer);
}

void TPlotScript::Load(TReadFile& reader) {
  QORV_ASSERT(AOutput==0&&AVariableY==0&&AVariableX==0);
  TWaitingReferences waiting(reader);
  bool useCounter = false;
  reader.ReadBool(useCounter);
  auto output = std::make_unique<TVariableOutput>(this, this);
  output->Load(reader);
  waiting.List().Add(output.get());
  std::unique_ptr<TVariableData> y = LoadReference(reader, this);
  bool hasX = false;
  reader.ReadBool(hasX);
  std::unique_ptr<TVariableData> x;
  if (hasX) x = LoadReference(reader, this);
  std::unique_ptr<TPlotIndex> index;
  if (reader.GetVersionNumber() >= qvV1_4) {
    index = std::make_unique<TPlotIndex>(this);
    index->Read(reader);
  } else {
    // Older files kept other channel settings here; the output gives the channel when
    // it reads its users.
    std::int32_t ignored = 0;
    reader.ReadInteger(ignored);
    reader.ReadString();
    reader.ReadString();
  }
  TScript::Load(reader);
  AbUseCounter = useCounter;
  AOutput = std::move(output);
  AVariableY = std::move(y);
  AVariableX = std::move(x);
  PpiPlotIndex = std::move(index);
  waiting.Keep();
  UpdateNodeText();
}

void TPlotScript::CheckAfterRead() {
  // Y may be the entire array, but not by an index variable the document did not hold.
  if (!NamesVariable(AVariableY) || !IndexFound(*AVariableY))
    throw EReadError("Y variable in Plot script is not set...aborting read");
  // X is always one value: the dialog never offers its entire array, which the point
  // would read an element of.
  if (AVariableX && (!AVariableX->GetData() || !NamesOneValue(*AVariableX)))
    throw EReadError("X variable in Plot script is not set...aborting read");
  if (!GetOutput()) throw EReadError("Output in Plot script is not set...aborting read");
  // A channel variable that found no variable would stop the program at the first plot.
  if (PpiPlotIndex && PpiPlotIndex->IsVariable() && !PpiPlotIndex->GetVariable())
    throw EReadError("Plot index variable in Plot script is not set...aborting read");
  // The output's name (and an old file's channel) came after the record was read.
  UpdateNodeText();
}

std::string TPlotScript::GetText() {
  std::string text = "none";
  if (TOutput* output = GetOutput()) {
    text = output->GetName();
    if (PpiPlotIndex) text += PpiPlotIndex->GetText();
    text += ": Plot";
  }
  if (NamesVariable(AVariableY)) {
    text += "(";
    if (NamesVariable(AVariableX))
      text += AVariableX->GetName() + ", ";
    else if (AbUseCounter)
      text += "Counter, ";
    text += AVariableY->GetName() + ")";
  }
  return text;
}

bool TPlotScript::VariableNotify(TVariable* reference, int type) {
  QORV_ASSERT(reference!=0);
  if (AOutput && reference == AOutput.get()) {
    bool keep = true;
    if (type == otBIGNUMBER && PlotsEntireArray())
      keep = false;  // a big number shows no array
    else if (type == otTABLE || type == otGRAPH)
      keep = DataTypeOf(AVariableY) != eatSTRING;
    if (AVariableX) keep = DataTypeOf(AVariableX) != eatSTRING;
    return keep;
  }
  if (reference == AVariableY.get() || reference == AVariableX.get()) {
    if (type != eatSTRING) return true;
    TOutput* output = GetOutput();
    QORV_ASSERT(output!=0);
    return output->Poutputtype == otTEXT || output->Poutputtype == otBIGNUMBER;
  }
  QORV_ASSERT_AS(PpiPlotIndex && reference == PpiPlotIndex->GetVariableReference(),
                 "reference is one of the Plot command's");
  return type == eatINTEGER;
}

bool TPlotScript::CanReleaseVariable(TVariable* reference) {
  QORV_ASSERT(reference!=0);
  int type = 0;
  if (AOutput && reference == AOutput.get()) {
    QORV_ASSERT(AOutput->GetOutput()!=0);
    type = AOutput->GetOutput()->Poutputtype;
  } else {
    auto* data = dynamic_cast<TVariableData*>(reference);
    QORV_ASSERT(data!=0&&data->GetData()!=0);
    type = data->GetData()->GetDataType();
  }
  return !VariableNotify(reference, type);
}

void TPlotScript::SetChannel(std::int32_t channel, TDataSingle* channelVariable) {
  TPlotIndex* index = GetPlotIndex();
  if (channelVariable)
    index->SetVariable(channelVariable);
  else
    index->SetIndex(channel);
}

void TPlotScript::SetUpYOnly(TOutput* output, TData* variableY, bool useCounter,
                             std::int32_t channel, TDataSingle* channelVariable) {
  SetUp(output, variableY, nullptr, useCounter, channel, channelVariable);
}

void TPlotScript::SetUpXY(TOutput* output, TData* variableY, TData* variableX,
                          std::int32_t channel, TDataSingle* channelVariable) {
  QORV_ASSERT(variableX!=0);
  SetUp(output, variableY, variableX, false, channel, channelVariable);
}

void TPlotScript::SetUp(TOutput* output, TData* variableY, TData* variableX, bool useCounter,
                        std::int32_t channel, TDataSingle* channelVariable) {
  QORV_ASSERT(output!=0);
  QORV_ASSERT(variableY!=0);
  SetVariableX(variableX);
  SetVariableY(variableY);
  AbUseCounter = useCounter;
  SetChannel(channel, channelVariable);
  SetOutput(output);
  UpdateNodeText();
  APointCounter = 0;
}

void TPlotScript::SetVariable(std::unique_ptr<TVariableData>& reference, TData* variable) {
  if (!variable) {
    reference.reset();
    return;
  }
  if (reference && reference->IsArray() != variable->IsArray()) reference.reset();
  if (!reference) reference = NewReference(this, variable->IsArray());
  reference->SetData(variable);
  // An element reference reads through its index: a new one points at element 0.
  if (reference->IsArray()) static_cast<TVariableDataArray*>(reference.get())->GetArrayIndex();
}

void TPlotScript::SetVariableX(TData* variable) { SetVariable(AVariableX, variable); }

void TPlotScript::SetVariableY(TData* variable) {
  QORV_ASSERT(variable!=0);
  SetVariable(AVariableY, variable);
}

void TPlotScript::SetOutput(TOutput* output) {
  QORV_ASSERT(output!=0);
  if (!AOutput) AOutput = std::make_unique<TVariableOutput>(this, this);
  AOutput->SetOutput(output);
}

TPlotIndex* TPlotScript::GetPlotIndex() {
  if (!PpiPlotIndex) PpiPlotIndex = std::make_unique<TPlotIndex>(this);
  return PpiPlotIndex.get();
}

std::int32_t TPlotScript::GetChannel() { return GetPlotIndex()->GetIndex(); }

void TPlotScript::GetXY(double& x, double& y) {
  QORV_ASSERT(AVariableY!=0);
  // Both travel as 32-bit floats, as the windows keep them.
  const float yValue = AVariableY->GetFloat();
  const float xValue =
      NamesVariable(AVariableX) ? AVariableX->GetFloat() : static_cast<float>(APointCounter);
  x = xValue;
  y = yValue;
}

std::string TPlotScript::GetValueText(int notation, int decimals) {
  QORV_ASSERT(AVariableY!=0);
  std::string text;
  if (NamesVariable(AVariableX))
    text = AVariableX->GetValueFormatted(notation, decimals) + ", ";
  else if (AbUseCounter)
    text = NumberText::IntToText(APointCounter) + ", ";
  return text + AVariableY->GetValueFormatted(notation, decimals);
}

void TPlotScript::OutputKindChanged() {
  TOutput* output = GetOutput();
  QORV_ASSERT(output!=0);
  const std::uint8_t kind = output->Poutputtype;
  if (kind == otGRAPH || kind == otTABLE) {
    if (!AVariableX && !AbUseCounter) AbUseCounter = true;
  } else if (kind == otTEXT || kind == otBIGNUMBER) {
    GetPlotIndex()->SetIndex(0);
  }
  UpdateNodeText();
}

bool TPlotScriptRequest::Refuse(const std::string& text) {
  Variables.clear();
  GraphAndTable.clear();
  Integers.clear();
  Outputs.clear();
  Inform(text);
  return false;
}

bool TPlotScriptRequest::CanOpen() {
  QORV_ASSERT(Experiment!=0);
  const bool creating = Script == nullptr;
  std::vector<TData*> arrays;
  Experiment->GetDataSingleList()->GetAll(Variables);
  Experiment->GetDataArrayList()->GetAll(arrays);
  Variables.insert(Variables.end(), arrays.begin(), arrays.end());
  for (TData* variable : Variables) {
    if (variable->GetDataType() != eatSTRING) GraphAndTable.push_back(variable);
    if (!variable->IsArray() && variable->GetDataType() == eatINTEGER)
      Integers.push_back(static_cast<TDataSingle*>(variable));
  }
  if (creating && Variables.empty())
    return Refuse("There are no variables to plot, cannot create a plot command");

  TOutput* own = creating ? nullptr : Plot()->GetOutput();
  for (TOutput* output : Experiment->GetOutputList()->GetOutputs()) {
    const bool chart = output->Poutputtype == otGRAPH || output->Poutputtype == otTABLE;
    if (chart && GraphAndTable.empty() && output != own) continue;
    Outputs.push_back(output);
  }
  if (creating && Outputs.empty())
    return Refuse(
        "There are no output to plot to or the outputs cannot plot any of the data, cannot "
        "create a plot command");
  if (!GraphAndTable.empty()) {
    // A window that cannot take one more series is full; the command's own stays.
    std::erase_if(Outputs, [own](TOutput* output) {
      return output != own && output->HasOutputForm() && !output->GetOutputForm()->CanAddSeries();
    });
    if (creating && Outputs.empty())
      return Refuse("All available outputs that can plot the variables have the maximum number "
                    "plotscripts");
  }

  if (!creating) {
    FirstOutput = own;
    return true;
  }
  FirstOutput = Outputs.empty() ? nullptr : Outputs.front();
  if (auto* variable = dynamic_cast<TData*>(Item)) {
    if (variable->GetDataType() == eatSTRING) {
      const auto text = std::find_if(Outputs.begin(), Outputs.end(), [](TOutput* output) {
        return output->Poutputtype == otTEXT || output->Poutputtype == otBIGNUMBER;
      });
      if (text == Outputs.end()) return Refuse("There are no outputs that can plot this variable");
      FirstOutput = *text;
    }
    FirstY = variable;
  } else if (auto* output = dynamic_cast<TOutput*>(Item)) {
    if (std::find(Outputs.begin(), Outputs.end(), output) == Outputs.end()) {
      return Refuse("The output " + output->GetName() +
                    " cannot plot any of variables.  Cannot create plot command");
    }
    FirstOutput = output;
  }
  return true;
}
