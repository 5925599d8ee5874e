// Framira: the application framework.
// Umbrella header: includes every public header of this library.
#pragma once
