// Weblar: triangle-mesher layer.
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/weblar/easymesh.h"
