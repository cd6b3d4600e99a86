// The command dialogs' registration in the dialog registry (called by RegisterDialogs).
#pragma once

class TDialogRegistry;

void RegisterScriptDialogs(TDialogRegistry& registry);
