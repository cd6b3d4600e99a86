// A command's reference to an experiment data file. Bound, it is one of the file's users,
// so that deleting the file deletes the command and renaming it refreshes the command's
// text.
#pragma once

#include <cstdint>

#include "model/variable.h"

class TExperimentFile;

class TVariableExpFile : public TVariable {
public:
  // The owner command is required; the reference starts unbound.
  explicit TVariableExpFile(TAttributeScript* owner);
  // Leaves the file's users.
  ~TVariableExpFile() override;

  void ClearRef() override { AExperimentFile = nullptr; }
  // A file has no type to change: the reference never lets it go.
  bool ReleaseRef() override { return false; }
  // Binds to the data file whose identifier is the one read, and refreshes the owner's
  // text; false for another identifier or an attribute that is no data file.
  bool ResolveLoadedLink(TExpAttribute* object, std::int32_t identifier) override;
  bool NotifyOwner(int) override { return true; }
  // The int32 identifier of the bound file.
  void Save(TWriteFile& writer) override;
  // Reads the identifier, which waits for its file.
  void Load(TReadFile& reader) override;
  TAttributeScript* GetScriptOwner() const override { return AScriptOwner; }

  // Leaves the file bound before (when another), then binds to the file (none to
  // unbind), registering as its user.
  void SetExpFile(TExperimentFile* file);
  TExperimentFile* GetExpFile() const { return AExperimentFile; }
  // The identifier read and not yet bound; -1 when none.
  std::int32_t GetPendingId() const override { return PreadID; }

private:
  TAttributeScript* AScriptOwner;
  TExperimentFile* AExperimentFile = nullptr;
  std::int32_t PreadID = -1;
};
