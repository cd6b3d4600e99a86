// The dialogs of the outputs' requests (Add Output, Single File, Multiple File),
// registered at start-up, and the output windows' title question ("Set Title").
#pragma once

class TDialogRegistry;

void RegisterOutputDialogs(TDialogRegistry& registry);
