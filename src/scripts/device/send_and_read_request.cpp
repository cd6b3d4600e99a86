#include "scripts/device/send_and_read_request.h"

#include "model/assertion.h"
#include "model/ui_port.h"
#include "scripts/device/read_script.h"
#include "scripts/experiment_thread.h"

bool TSendAndReadRequest::CanOpen() { return HasDevicesToReadFrom(); }

int NewSendAndRead(TExperiment& experiment, TDevice* device) {
  QORV_ASSERT(!IsRunActive());
  TBlock* block = GetTargetBlock(experiment);
  if (!block) return 0;
  TSendAndReadRequest request;
  request.Experiment = &experiment;
  request.Block = block;
  request.Device = device;
  return request.CanOpen() ? UiPort().OpenDialog(request) : 0;
}
