// The dialogs of the outputs' requests (Add Output, Single File, Multiple File),
// registered at start-up.
#pragma once

class TDialogRegistry;

void RegisterOutputDialogs(TDialogRegistry& registry);
