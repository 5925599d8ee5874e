// Umbrella header: includes every public header of this library.
#include "app/shell/brantelapp.h"
#include "app/shell/branteldoc.h"
#include "app/shell/docshell.h"
#include "app/shell/shellframes.h"
#include "app/shell/shellids.h"
