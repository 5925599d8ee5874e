// renvik: the ground floor below the platform layer and the solver; plain
// POSIX, no other library of the system.
#pragma once

#include "replace/safereplace.h"
