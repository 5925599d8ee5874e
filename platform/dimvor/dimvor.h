// Dimvor: units layer.
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/dimvor/units.h"
