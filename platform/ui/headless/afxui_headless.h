// afxui_headless: the window layer without a display, for tests: the
// headless backend and peers, the scripted services, the HeadlessApp
// fixture, DialogDriver and ModalScript.
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/ui/headless/dialog_driver.h"
#include "platform/ui/headless/headless_app.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/headless/headless_peer.h"
#include "platform/ui/headless/modal_script.h"
#include "platform/ui/headless/scripted_services.h"
