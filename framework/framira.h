// Framira: the application framework.
// Umbrella header: includes every public header of this library.
#pragma once

#include "framework/colorscalepage.h"
#include "framework/customizesheet.h"
#include "framework/dlghelpers.h"
#include "framework/geomhlpr.h"
#include "framework/kor2dmodview.h"
#include "framework/kor2dview.h"
#include "framework/inputdialogs.h"
#include "framework/listpages.h"
#include "framework/palettefile.h"
#include "framework/settingspages.h"
#include "framework/korapp.h"
#include "framework/korchildfrm.h"
#include "framework/kordoc.h"
#include "framework/korlogwnd.h"
#include "framework/kormainfrm.h"
#include "framework/viewcursors.h"
