// Pavesta: the extended dialogs and property pages.
// Umbrella header: includes every public header of this library.
#pragma once

#include "dialogs/beampages.h"
#include "dialogs/bilinfuncpage.h"
#include "dialogs/crsectpages.h"
#include "dialogs/doctypedlg.h"
#include "dialogs/eigenpages.h"
#include "dialogs/matnamesel.h"
#include "dialogs/matsedit.h"
#include "dialogs/mattypedlg.h"
#include "dialogs/maxminvalsdlg.h"
#include "dialogs/meshgenpage.h"
#include "dialogs/nodepages.h"
#include "dialogs/numlistpages.h"
#include "dialogs/ringsegpage.h"
#include "dialogs/smalldlgs.h"
#include "dialogs/smoothpage.h"
#include "dialogs/storagepage.h"
