// Start-up registration of every subsystem's dialogs.
#pragma once

class TDialogRegistry;

// Calls the registration of each subsystem's ui/ folder (one call each), which
// registers the dialogs of that subsystem's requests. Called once, at start-up.
void RegisterDialogs(TDialogRegistry& registry);
