// Brantel's headless plate model and analysis driver.
// Umbrella header: includes every public header of this library.
#pragma once

#include "app/analysis/sectplate.h"
#include "app/analysis/platecomp.h"
#include "app/analysis/resultmeasures.h"
#include "app/analysis/runlog.h"
#include "app/analysis/shellcomp.h"
#include "app/analysis/solverdumps.h"
#include "app/analysis/solverentries.h"
#include "app/analysis/solverinput.h"
#include "app/analysis/solverreport.h"
#include "app/analysis/stressreturn.h"
#include "app/analysis/trimesh.h"
