// The program's start-up steps around QApplication, in the order main()
// runs them:
//
//     AfxQtBeforeApplication(bUseAccel);   // profile "Properties"/"OGLAccel"
//     QApplication app(argc, argv);
//     AfxQtAfterApplication();             // locale, dialog font
//     CQtEnvironment env;                  // backend and services
#pragma once

#include <QFont>
#include <QSurfaceFormat>

// The default format of every OpenGL surface: compatibility profile 2.1,
// depth 24, stencil 8, double buffer, no multisampling.
QSurfaceFormat AfxQtDefaultSurfaceFormat();

// Shares the OpenGL contexts of all windows and sets the default surface
// format. Without acceleration, Mesa is told to render in software
// (LIBGL_ALWAYS_SOFTWARE=1) unless the user's environment already says
// what it wants. Must run before QApplication exists.
void AfxQtBeforeApplication(bool bUseAccel);

// QApplication sets every locale category from the environment; numbers
// must keep "." as their decimal point in every "%f" of logs, combos and
// exports, so LC_NUMERIC goes back to "C". Then the dialog font becomes the
// application font.
void AfxQtAfterApplication();

// The acceleration rule alone (part of AfxQtBeforeApplication): without
// acceleration LIBGL_ALWAYS_SOFTWARE=1, unless the environment sets it.
void AfxQtApplyAcceleration(bool bUseAccel);

// Sets LC_NUMERIC back to "C" (part of AfxQtAfterApplication).
void AfxQtRestoreNumericLocale();

// The dialog font: Liberation Sans 8 pt, or DejaVu Sans where it is missing.
QFont AfxQtDialogFont();
