// Where a dialog comes up: centred on the main window, on the main window's screen, when the
// window is up; otherwise in the middle of the screen the pointer is on (the operator opened
// it from the tray there). Never partly off that screen.
#pragma once

#include <QWidget>

void CentreDialog(QWidget& dialog);
