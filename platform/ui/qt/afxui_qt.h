// The Qt backend of the window layer (the only library that includes Qt).
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/ui/qt/qtapp.h"
#include "platform/ui/qt/qtbars.h"
#include "platform/ui/qt/qtcursors.h"
#include "platform/ui/qt/qtenvironment.h"
#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/qtglservices.h"
#include "platform/ui/qt/qtglyphs.h"
#include "platform/ui/qt/qtmodal.h"
#include "platform/ui/qt/qtoffscreen.h"
#include "platform/ui/qt/qtpaint.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtprint.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qtstartup.h"
#include "platform/ui/qt/qttext.h"
