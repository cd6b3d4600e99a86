// The dialogs of the shell's requests (the block dialog, GPIB settings, preferences),
// registered at start-up.
#pragma once

class TDialogRegistry;

void RegisterShellDialogs(TDialogRegistry& registry);
