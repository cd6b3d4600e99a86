// Help from every window and dialog, wired once for the whole program. A window or dialog
// takes part by setting the property "helpContext" (int, its help context number) on
// itself and on its Help button or help items, which it leaves disabled: when the window
// shows, those buttons and items are enabled and open the help at that context; F1 opens
// it too, anywhere in the window.
#pragma once

class QWidget;

// Installs the wiring in the application; windows already shown are wired at once. The
// main window installs it for its life. Calls nest: each is undone by one RemoveHelp.
void InstallHelp();
// Undoes one InstallHelp; the last takes the wiring out and closes the help window.
// Items already wired stay enabled and connected.
void RemoveHelp();

// The help context of a widget: the "helpContext" of the widget or of the nearest widget
// around it in its window, else that of the window's first Help button or help item; 0
// when it has none.
int HelpContextOf(const QWidget* widget);

// Enables and connects the Help buttons and help items of a window (those with a
// "helpContext"); each is connected once.
void WireHelpItems(QWidget& window);
