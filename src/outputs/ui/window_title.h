// The title question of the output windows' Title items (the Set Title dialog). The
// dialog's owner installs it; the windows ask through it and rename on OK.
#pragma once

#include <functional>
#include <string>

class QWidget;

// Shows the question above parent with the current title; true on OK with the new title.
using TTitleAsker = std::function<bool(QWidget* parent, std::string& title)>;

// Installs the question (none removes it); answers the previous one.
TTitleAsker SetTitleAsker(TTitleAsker asker);
// True when a question is installed (the Title items are enabled only then).
bool CanAskTitle();
// Asks the installed question; false without one.
bool AskTitle(QWidget* parent, std::string& title);
