// The program's run on Qt: the start-up steps around QApplication, the Qt
// environment, the application's InitInstance, the event loop until the
// main window goes, then ExitInstance.
#pragma once

class CWinApp;

// Returns the program's exit status: ExitInstance's, or 1 when InitInstance
// failed or made no main window.
int AfxQtRunApp(int argc, char** argv, CWinApp& app);
