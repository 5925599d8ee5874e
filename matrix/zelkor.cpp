// Anchors the library so that it exists before its classes do.
#include "matrix/zelkor.h"
