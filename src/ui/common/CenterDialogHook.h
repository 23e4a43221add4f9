#pragma once
// Centres a dialog on its screen whenever it shows, keeping its size: the settings
// dialog, the colour chooser and the file dialogs appear in the middle of the desktop,
// not over a corner of the main window.

class QWidget;

// Installs the hook on the dialog (for a file dialog, on its visible frame); it lives
// as long as the dialog.
void InstallCenterDialogHook(QWidget& dialog);
