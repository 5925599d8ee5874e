// afxui_headless: the window layer without a display, for tests and
// benchmarks: the headless backend and peers, the scripted services and
// environment, DialogDriver and ModalScript; and, header-only over
// GoogleTest, the HeadlessApp fixture.
// Umbrella header of the tests: includes every public header of this
// library, the fixture's too. Programs without GoogleTest (the benchmarks)
// include the headers they use instead.
#pragma once

#include "platform/ui/headless/dialog_driver.h"
#include "platform/ui/headless/headless_app.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/headless_peer.h"
#include "platform/ui/headless/modal_script.h"
#include "platform/ui/headless/scripted_environment.h"
#include "platform/ui/headless/scripted_services.h"
