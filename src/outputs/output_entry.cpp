#include "outputs/output_entry.h"

#include <cstdint>
#include <string>

#include "model/assertion.h"
#include "model/number_text.h"
#include "model/text.h"
#include "model/ui_port.h"
#include "outputs/output.h"
#include "outputs/output_list.h"
#include "scripts/experiment_thread.h"

namespace {

bool Refuse(const std::string& message, TOutputField field, TOutputDialogRequest& request) {
  Inform(message);
  request.Focus = field;
  return false;
}

}  // namespace

bool CheckOutputEntry(TOutputDialogRequest& request) {
  request.Focus = TOutputField::None;
  const std::string title = TrimText(request.Title);
  if (title.empty()) return Refuse("You must enter a title", TOutputField::Title, request);
  std::int32_t channels = 1;
  if (request.Kind == otGRAPH || request.Kind == otTABLE) {
    const std::string text = TrimText(request.ChannelText);
    if (text.empty())
      return Refuse("You must enter a number of channels", TOutputField::Channels, request);
    if (!NumberText::TextToInt(text, channels)) channels = -1;
    if (channels < 1)
      return Refuse("The number of channels must be a positive integer greater than 0.",
                    TOutputField::Channels, request);
    if (channels > MaxChannels)
      return Refuse("There can be no more than 25 channels in one output.",
                    TOutputField::Channels, request);
    // The user may keep the plots that would lose their channel: the dialog stays. (A
    // text or big number output moves its plots to its one channel instead.)
    if (request.Output && !request.Output->ConfirmFewerChannels(channels)) {
      request.Focus = TOutputField::Channels;
      return false;
    }
  }
  request.Title = title;
  request.Channels = channels;
  return true;
}

bool RefusedOutputChangeWhileRunning() {
  if (!IsRunActive()) return false;
  Inform("You cannot change an output while running an experiment");
  return true;
}

bool AddOutputEntry(TOutputDialogRequest& request) {
  QORV_ASSERT(request.List!=0);
  if (RefusedOutputChangeWhileRunning()) return false;
  if (!CheckOutputEntry(request)) return false;
  request.List->NewOutput(request.Title, request.Kind, request.Channels);
  UiPort().ExperimentChanged(1, 0);
  request.Title.clear();
  return true;
}
