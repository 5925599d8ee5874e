// The element model's headers compile without hidden overloads of virtual
// functions: an element keeps the graph's drawing calls visible beside its
// own forms of the same names.
#include "femodel/strelna.h"

// Both forms are found on an element.
void DrawBoth(CElement& element)
{
    element.DrawModelGL(true);
    element.DrawModelGL(true, 1.0f, false);
    element.PickDrawGL(0, 0, 1.0);
    element.PickDrawGL(true, 4);
}
