// "ClearDevice Buffer": the device whose read buffer the command clears, when there is
// more than one to choose from.
#pragma once

#include <memory>

#include "scripts/device/clear_device_buffer_script.h"
#include "scripts/ui/script_form.h"

namespace Ui {
class TClearDeviceBufferScriptForm;
}

class TClearDeviceBufferScriptForm : public TScriptForm {
  Q_OBJECT

public:
  // A new command: the first device selected; a command changed: its device.
  TClearDeviceBufferScriptForm(TClearDeviceBufferScriptRequest& request,
                               QWidget* parent = nullptr);
  ~TClearDeviceBufferScriptForm() override;

protected:
  void OkClick() override;

private:
  std::unique_ptr<Ui::TClearDeviceBufferScriptForm> Ui;
};
