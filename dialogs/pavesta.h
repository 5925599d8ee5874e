// Pavesta: the extended dialogs and property pages.
// Umbrella header: includes every public header of this library.
#pragma once

#include "dialogs/bilinfuncpage.h"
#include "dialogs/matnamesel.h"
#include "dialogs/maxminvalsdlg.h"
#include "dialogs/numlistpages.h"
#include "dialogs/ringsegpage.h"
