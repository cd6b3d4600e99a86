// The dialogs of the instrument communication: the device dialog, the command editor,
// and the two questions of placing a device read from a file.
#pragma once

class TDialogRegistry;

void RegisterCommunicationDialogs(TDialogRegistry& registry);
