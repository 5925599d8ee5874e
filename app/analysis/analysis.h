// Brantel's headless plate model and analysis driver.
// Umbrella header: includes every public header of this library.
#pragma once

#include "app/analysis/sectplate.h"
#include "app/analysis/platecomp.h"
