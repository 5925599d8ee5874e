// The logical font record that views keep for their text lives with the
// layer's plain types; the glyph code includes it from here.
#pragma once

#include "platform/ui/core/uitypes.h"

static_assert(sizeof(LOGFONT) == 60, "LOGFONT keeps its classic layout");
