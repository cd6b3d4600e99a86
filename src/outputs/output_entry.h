// The checks and the Add of the Add Output dialog, on the entries its request holds
// (title, kind, the channel box's text).
#pragma once

struct TOutputDialogRequest;

// The check of OK and Add, in order: a title ("You must enter a title"); for tables and
// graphs a number of channels in the channel box ("You must enter a number of
// channels", "The number of channels must be a positive integer greater than 0.",
// "There can be no more than 25 channels in one output."), and for an output being
// edited its ConfirmFewerChannels. A refusal is shown and sets the request's Focus; accepted,
// the request holds the trimmed title and the channels (1 for text and big number).
bool CheckOutputEntry(TOutputDialogRequest& request);

// OK and Add while a run is active: "You cannot change an output while running an
// experiment" is shown and true answered.
bool RefusedOutputChangeWhileRunning();

// The dialog's Add (add-several mode, the request's List set): refused while a run is
// active; a good entry becomes a new output of the list, the experiment is marked
// modified and the title emptied for the next one. Answers whether an output was added.
bool AddOutputEntry(TOutputDialogRequest& request);
