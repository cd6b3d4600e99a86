// The Qt UI port for a test, serving the core's requests with the dialogs that the given
// registrations register (as the application's start-up does), installed for the
// object's lifetime; boxes go through whatever user-dialog seam the test installed.
#pragma once

#include <initializer_list>

#include "model/ui_port.h"
#include "shell/ui/dialog_registry.h"
#include "shell/ui/qt_ui_port.h"

class TDialogPort {
public:
  using TRegistration = void (*)(TDialogRegistry&);

  explicit TDialogPort(std::initializer_list<TRegistration> registrations) {
    for (TRegistration registration : registrations) registration(Registry);
    Port.SetDialogRegistry(&Registry);
    Previous = SetUiPort(&Port);
  }
  ~TDialogPort() { SetUiPort(Previous); }
  TDialogPort(const TDialogPort&) = delete;
  TDialogPort& operator=(const TDialogPort&) = delete;

  TDialogRegistry Registry;
  TQtUiPort Port;

private:
  TUiPort* Previous = nullptr;
};
