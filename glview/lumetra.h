// Lumetra: the OpenGL rendering framework and image classes.
// Umbrella header: includes every public header of this library.
#pragma once
