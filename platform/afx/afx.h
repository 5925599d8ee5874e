// afx: our own MFC-shaped platform core (run-time classes, archives,
// strings, lists, files, the message service and small runtime services).
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/afx/archive.h"
#include "platform/afx/collections.h"
#include "platform/afx/cstring.h"
#include "platform/afx/exceptions.h"
#include "platform/afx/file.h"
#include "platform/afx/gdi.h"
#include "platform/afx/message.h"
#include "platform/afx/numconv.h"
#include "platform/afx/safefile.h"
#include "platform/afx/object.h"
#include "platform/afx/progress.h"
#include "platform/afx/runtime.h"
#include "platform/afx/selection.h"
#include "platform/afx/stack.h"
#include "platform/afx/types.h"
