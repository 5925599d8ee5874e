// The file-replacement rules moved to the ground floor (replace/, target
// renvik); this header keeps the old include working.
#pragma once

#include "replace/safereplace.h"
