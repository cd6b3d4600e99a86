// The Wait command: pauses a run for a number of milliseconds. A long pause sleeps in
// slices and ends early when the run is stopped; in the debug window the slices let
// the window serve its buttons and end early on its Stop button.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scripts/script.h"
#include "scripts/script_request.h"

class TWaitScript : public TScript {
public:
  // Sleeps a number of milliseconds (0 or more).
  using TSleeper = std::function<void(std::int32_t)>;
  // Between the slices of a traced pause: lets the debug window process its pending
  // messages and answers whether its Stop button is down.
  using TTracePoll = std::function<bool()>;

  // A pause of 10 ms.
  TWaitScript(TBlock* block, TTreeNode* node);

  // Pauses, then answers the next command. At 500 ms or more the pause goes in slices
  // (500 ms each while more than 600 ms remain, then the rest) and ends after the slice
  // in which the run was stopped.
  TScript* Execute() override;
  // Pauses as Execute does (a pause of 500 ms or less in one piece), asking the trace
  // poll between slices; writes "Slept <time>ms" unless the poll ended the pause.
  TScript* ExecuteTrace(std::vector<std::string>& trace) override;
  bool CanMakeCopyScript() override { return true; }
  TCopyScript* MakeCopyScript() override;
  // Takes the settings of a record made by MakeCopyScript.
  void SetUp(TCopyScript* copyscript) override;
  // The record: int32 time in milliseconds, then the base record.
  void Save(TWriteFile& writer) override;
  // Reads the record; a negative time from a damaged file becomes 0. Refreshes the
  // node text.
  void Load(TReadFile& reader) override;
  // "Wait <time> milliseconds".
  std::string GetText() override;
  int GetScriptType() const override { return WAIT; }

  // Sets the pause and refreshes the node texts.
  void SetTime(std::int32_t time);
  std::int32_t GetTime() const { return ATime; }

  // The sleep the pauses use (none: the real one); answers the previous one.
  static TSleeper SetSleeper(TSleeper sleeper);
  // The debug window's poll (none: a traced pause is never ended early); answers the
  // previous one.
  static TTracePoll SetTracePoll(TTracePoll poll);

private:
  // Sleeps the time in slices, asking stopped() between them; true when it ended the
  // pause early.
  bool SleepInSlices(const std::function<bool()>& stopped) const;

  std::int32_t ATime = 10;  // milliseconds, never negative
};

// The Wait dialog of a new command or of the command changed.
struct TWaitScriptRequest : TScriptRequest {
  TWaitScript* Wait() const { return static_cast<TWaitScript*>(Script); }
};
