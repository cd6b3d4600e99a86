// A command's reference to an output.
#pragma once

#include <cstdint>

#include "model/variable.h"

class TOutput;
class TPlotUser;

class TVariableOutput : public TVariable {
public:
  // The owner is required; a Plot command is also the output's plot user.
  explicit TVariableOutput(TAttributeScript* owner, TPlotUser* plot = nullptr);
  // Leaves the output's users.
  ~TVariableOutput() override;

  void ClearRef() override { AOutput = nullptr; }
  std::int32_t GetPendingId() const override { return PreadID; }
  bool ReleaseRef() override;
  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override;
  bool NotifyOwner(int type) override;
  // The output's identifier.
  void Save(TWriteFile& writer) override;
  void Load(TReadFile& reader) override;
  TAttributeScript* GetScriptOwner() const override { return AScriptOwner; }

  // Binds to the output (none to unbind), registering as its user.
  void SetOutput(TOutput* output);
  TOutput* GetOutput() const { return AOutput; }
  // The Plot command that owns the reference; none for other commands.
  TPlotUser* GetPlotUser() const { return APlotUser; }

private:
  TAttributeScript* AScriptOwner;
  TPlotUser* APlotUser;
  TOutput* AOutput = nullptr;
  std::int32_t PreadID = -1;
};
