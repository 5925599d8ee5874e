// afxui: the window layer's core. Commands, message maps and routing,
// update UI, windows and controls with their peer interface, dialog
// templates, dialogs with data exchange, property sheets, the common
// dialogs, the application with its documents, views, frames, splitter,
// bars, menus and toolbar model, device contexts and printing, posted and
// sent messages, timers, the resource registry and the desktop services,
// without any toolkit: the Qt backend (platform/ui/qt) and the headless one
// (platform/ui/headless) plug in behind it.
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/ui/core/bars.h"
#include "platform/ui/core/busy.h"
#include "platform/ui/core/cmdtarget.h"
#include "platform/ui/core/cmdui.h"
#include "platform/ui/core/constants.h"
#include "platform/ui/core/commdlg.h"
#include "platform/ui/core/controls.h"
#include "platform/ui/core/ddx.h"
#include "platform/ui/core/dialog.h"
#include "platform/ui/core/dlgtemplate.h"
#include "platform/ui/core/doctemplate.h"
#include "platform/ui/core/docview.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/gdi.h"
#include "platform/ui/core/imagedc.h"
#include "platform/ui/core/input.h"
#include "platform/ui/core/menu.h"
#include "platform/ui/core/msgmap.h"
#include "platform/ui/core/print.h"
#include "platform/ui/core/propsheet.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/services.h"
#include "platform/ui/core/shellopen.h"
#include "platform/ui/core/splitter.h"
#include "platform/ui/core/text1252.h"
#include "platform/ui/core/toolbarmgr.h"
#include "platform/ui/core/uitypes.h"
#include "platform/ui/core/winapp.h"
#include "platform/ui/core/windowattachments.h"
#include "platform/ui/core/wnd.h"
#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/glyphcache.h"
#include "platform/ui/core/glyphsource.h"
#include "platform/ui/core/logfont.h"
#include "platform/ui/core/offscreen.h"
#include "platform/ui/core/viewinput.h"
