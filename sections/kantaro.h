// Kantaro: the region model and the beam and cross-section family.
// Umbrella header: includes every public header of this library.
#pragma once
#include "sections/regions/section.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"
#include "sections/regions/sectmesharea.h"
#include "sections/beams/crsectcomp.h"
#include "sections/beams/crsectshapes.h"
#include "sections/beams/beamseg.h"
#include "sections/beams/beamarch.h"
#include "sections/beams/sectbeam.h"
#include "sections/beams/sectcompbeam.h"
#include "sections/beams/modelinfofem.h"
