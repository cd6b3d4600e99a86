// The dialogs that add one item or several share their buttons' rule: when adding
// several, "Add" shows and Enter presses it; otherwise it is hidden and Enter presses OK.
#pragma once

class QPushButton;

void ShowAddButton(QPushButton& add, QPushButton& ok, bool addingSeveral);
