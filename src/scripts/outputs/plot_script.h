// The Plot command: hands one point, or one whole array, to a channel of an output's
// window each time it runs. It runs on the worker like every command; the window, which
// belongs to the main thread, takes the point there in order with every other
// hand-over (TOutputForm::PlotValueFromRun). The window decides what the point looks
// like (a chart point, a table row, a big number, a text line); it calls back through
// the plot-source interface of outputs (GetChannel, GetXY, GetValueText, GetUseCounter).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "outputs/plot_source.h"
#include "scripts/attribute_script.h"
#include "scripts/script_request.h"

class TData;
class TExpAttribute;
class TDataSingle;
class TOutput;
class TOutputForm;
class TPlotIndex;
class TVariableData;
class TVariableOutput;

class TPlotScript : public TAttributeScript, public TPlotUser {
public:
  // No output, no variables, no channel; counter 0.
  TPlotScript(TBlock* block, TTreeNode* node);
  // Deletes X, Y, the output reference (which leaves the output's plot list), then the
  // channel.
  ~TPlotScript() override;

  // Commented out: nothing. Otherwise the channel is checked against the output's
  // channel count ("The plot index of " + GetText() + " is invalid." for one below 0 or
  // at or above the count, as EExperimentError, nothing plotted, nothing counted); an
  // entire array goes to the window's PlotArrayFromRun, anything else to
  // PlotValueFromRun, where the point is read and may fail the same way; the counter
  // advances by one.
  TScript* Execute() override;
  // As Execute through the window's trace variants; commented out it adds
  // "Comment(" + GetText() + ")".
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  // Only while the output's window can take one more series.
  bool CanMakeCopyScript() override;
  // A TCopyPlot with the block, X, Y, the channel, the output and the counter flag.
  TCopyScript* MakeCopyScript() override;
  // From a TCopyPlot: the set-up with or without X as the copy says, then X and Y with
  // their copied element choices.
  void SetUp(TCopyScript* copyscript) override;
  // The default, then the output's window is cleared once per run and the counter
  // starts again at 0.
  bool SetNextScript() override;
  // Counter flag, output, Y (with its kind), X (when there is one, with its kind), the
  // channel, then the base record. A block export also takes Y, X and the output along.
  void Save(TWriteFile& writer) override;
  // Reads the record; the references wait in the reader until their objects are read.
  // Files before 1.4 carry no channel: the output gives it when it reads its users.
  void Load(TReadFile& reader) override;
  // EReadError when Y, X or the output is missing, when X is an entire array, or when
  // an index variable of Y or X was not found.
  void CheckAfterRead() override;
  // Output(channel): Plot(X, Y), e.g. "Graph 1(0): Plot(Counter, Volts)"; "none" for the
  // output part without an output.
  std::string GetText() override;
  int GetScriptType() const override { return PLOT; }
  // May the reference keep what it names when that takes the type (0 to 2 for
  // variables, 3 to 6 for outputs).
  bool VariableNotify(TVariable* reference, int type) override;
  // The negation of VariableNotify with the current type of what the reference names.
  bool CanReleaseVariable(TVariable* reference) override;
  bool IsStoredVariable(TVariable* reference) override {
    (void)reference;
    return false;
  }

  // The dialog's OK without X variable: Y, no X, the counter flag, the channel (the
  // channel variable, an integer single variable, when given, else the fixed channel),
  // the output; the node text is refreshed and the counter set to 0.
  void SetUpYOnly(TOutput* output, TData* variableY, bool useCounter, std::int32_t channel,
                  TDataSingle* channelVariable);
  // The same with an X variable (X first, then Y); the counter flag becomes false. All
  // of output, Y and X are required.
  void SetUpXY(TOutput* output, TData* variableY, TData* variableX, std::int32_t channel,
               TDataSingle* channelVariable);
  // Keeps the reference when it is of the variable's kind (array or single), otherwise
  // makes one of that kind; then binds it. None drops X.
  void SetVariableX(TData* variable);
  void SetVariableY(TData* variable);
  // Binds the output (made on first use), which puts the command in its plot list.
  void SetOutput(TOutput* output);
  // The channel, made on first use (index -1, no variable).
  TPlotIndex* GetPlotIndex() override;
  // The channel's current index.
  std::int32_t GetChannel() override;

  // For graph and table windows: Y's value, and X's value, or the counter when there is
  // no X variable (whatever the counter flag says), both taken as 32-bit floats.
  void GetXY(double& x, double& y) override;
  // For text and big-number windows and trace lines: "X, Y" with an X variable,
  // "counter, Y" with the counter flag, else "Y"; values in the notation and number of
  // decimal places given.
  std::string GetValueText(int notation, int decimals) override;
  // The output changed kind: on a graph or table without X the counter is used; on a
  // text or big number the channel becomes the fixed index 0.
  void OutputKindChanged() override;

  TVariableData* GetVariableX() const { return AVariableX.get(); }
  TVariableData* GetVariableY() const { return AVariableY.get(); }
  TVariableOutput* GetOutputReference() const { return AOutput.get(); }
  // The bound output; none without.
  TOutput* GetOutput() const;
  // Plots since the run started (or the set-up).
  std::int32_t GetPointCounter() const { return APointCounter; }
  bool GetUseCounter() const override { return AbUseCounter; }
  // True when Y is an array reference whose index selects the entire array.
  bool PlotsEntireArray() const;

private:
  // The output's window, or none; checks the channel against the output and throws the
  // run error for one that does not exist.
  TOutputForm* CheckedForm();
  // What both set-ups do: X (none drops it), then Y, the counter flag, the channel, the
  // output; the node text is refreshed and the counter set to 0.
  void SetUp(TOutput* output, TData* variableY, TData* variableX, bool useCounter,
             std::int32_t channel, TDataSingle* channelVariable);
  // Binds the channel to the variable when given, else to the fixed index.
  void SetChannel(std::int32_t channel, TDataSingle* channelVariable);
  void SetVariable(std::unique_ptr<TVariableData>& reference, TData* variable);

  std::unique_ptr<TVariableData> AVariableX;   // none: X is the counter or nothing
  std::unique_ptr<TVariableData> AVariableY;   // an element, a single or an entire array
  std::int32_t APointCounter = 0;              // plots since the last reset
  bool AbUseCounter = false;                   // X is the counter
  std::unique_ptr<TVariableOutput> AOutput;    // the output that receives the points
  std::unique_ptr<TPlotIndex> PpiPlotIndex;    // the channel, made on first use
};

// The Plot dialog of a new command (perhaps with a variable or output of the attribute
// tree preselected) or of the command changed. CanOpen finds what the dialog lists.
struct TPlotScriptRequest : TScriptRequest {
  TPlotScript* Plot() const { return static_cast<TPlotScript*>(Script); }
  // The lists, in this order; for a new command each may refuse (a message, no dialog):
  // no variable, no output that can plot them, every such output full; then the
  // preselected item's own checks.
  bool CanOpen() override;


  std::vector<TData*> Variables;       // every variable, singles first
  std::vector<TData*> GraphAndTable;   // those a graph or table can plot: not strings
  std::vector<TDataSingle*> Integers;  // integer single variables: channels and indexes
  std::vector<TOutput*> Outputs;       // the outputs offered
  TOutput* FirstOutput = nullptr;      // the output selected first
  TData* FirstY = nullptr;             // the Y selected first (the preselected variable)

private:
  bool Refuse(const std::string& text);
};
