// Ferrand: materials layer.
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/ferrand/material.h"
