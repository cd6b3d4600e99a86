// The Send-and-Read dialog: a Send command and a Read command of one device, made
// together at the insertion point. There is no command of its own: once made, each of
// the two is changed through its own dialog.
#pragma once

#include "scripts/script_request.h"

struct TSendAndReadRequest : TScriptRequest {
  // Without a device: "There are no devices to read from." and no dialog.
  bool CanOpen() override;
};

// The new entry from the main window: never during a run; none without a target block;
// answers 1 when the pair was made, else 0. A device given is the one the dialog starts
// with.
int NewSendAndRead(TExperiment& experiment, TDevice* device = nullptr);
