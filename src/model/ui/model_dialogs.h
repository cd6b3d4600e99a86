// The dialogs of the experiment model's requests (the Variables dialog and the
// rename-or-choose dialog), registered at start-up.
#pragma once

class TDialogRegistry;

void RegisterModelDialogs(TDialogRegistry& registry);
