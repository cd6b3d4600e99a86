#include "support/quiet_ui_port.h"

#include <cstdio>

void TQuietUiPort::ShowMessage(const std::string& text, const std::string&, TMessageKind) {
  // A failed consistency check aborts right after its report: keep it for the crash log.
  if (text.rfind("Assertion failed:", 0) == 0) std::fprintf(stderr, "%s\n", text.c_str());
}

TMessageButton TQuietUiPort::Ask(const std::string&, const std::string&, TMessageKind,
                                 TMessageButtons buttons, TMessageButton defaultButton) {
  return DefaultAnswer(buttons, defaultButton);
}

int TQuietUiPort::OpenDialog(TDialogRequest& request) { return Dialogs ? Dialogs(request) : 0; }

TMessageButton DefaultAnswer(TMessageButtons buttons, TMessageButton defaultButton) {
  if (defaultButton != mbNone && (buttons & defaultButton)) return defaultButton;
  for (TMessageButton usual : {mbOK, mbYes, mbRetry})
    if (buttons & usual) return usual;
  for (unsigned bit = 1; bit != 0 && bit <= buttons; bit <<= 1)
    if (buttons & bit) return static_cast<TMessageButton>(bit);
  return mbNone;
}
