// The dialogs of the instrument communication: the device dialog, the command editor,
// the two questions of placing a device read from a file, the console and its colours,
// and the instrument scan.
#pragma once

class TDialogRegistry;

void RegisterCommunicationDialogs(TDialogRegistry& registry);
