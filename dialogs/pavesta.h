// Pavesta: the extended dialogs and property pages.
// Umbrella header: includes every public header of this library.
#pragma once
