// Pavesta: the extended dialogs and property pages.
// Umbrella header: includes every public header of this library.
#pragma once

#include "dialogs/doctypedlg.h"
#include "dialogs/matsedit.h"
#include "dialogs/mattypedlg.h"
#include "dialogs/meshgenpage.h"
#include "dialogs/smoothpage.h"
#include "dialogs/storagepage.h"
