#pragma once

class QWidget;

// On X11 Qt puts the application's name into an empty window title; this gives
// the window's X properties a title without text again. Elsewhere it does nothing.
void ClearWindowTitle(QWidget* window);
