// Where small windows open on the screen.
#pragma once

class QWidget;

// Moves a top-level window so that its frame is centred on the available area of its
// screen (the primary screen when it has none yet).
void CentreOnScreen(QWidget& window);
