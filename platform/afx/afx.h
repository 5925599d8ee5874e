// afx: our own MFC-shaped platform core (run-time classes, archives,
// strings, lists, files, the message service and small runtime services).
// Umbrella header: includes every public header of this library.
#pragma once
#include "platform/afx/gdi.h"
