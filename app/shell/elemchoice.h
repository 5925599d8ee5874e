// What the element-choice pages share: the description and picture of each
// element of the membrane and plate families, the integration-point
// settings that go with a membrane element, and the element-type code of a
// choice.
#pragma once

#include <memory>

#include "platform/ui/core/afxui.h"

namespace brantel
{

enum MembraneElement { cst, lst, qst, q4, q6, q8, q9 };
enum PlateElement { teba, dkt, t6, t15, t18, t21 };

// The string and bitmap resources shown for an element.
struct ElementIds {
    UINT text;
    UINT bitmap;
};
ElementIds MembraneElementIds(int element);
ElementIds PlateElementIds(int element);

// The stress evaluation and integration points a membrane element allows:
// whether the evaluation radios are enabled, the labels of the three point
// radios, whether they are enabled, and the full integration (-1: none).
struct MembranePoints {
    bool evaluation;
    const char* labels[3];
    bool points;
    int full;
};
// Null for an index outside the family.
const MembranePoints* MembranePointsOf(int element);

// The element-type code of radio index of group (0 plate, 1 membrane).
int ElementCode(int index, int group);

// Shows or hides, enables or disables the page's control nID.
void ShowControl(CWnd& page, int nID, bool show);
void EnableControl(CWnd& page, int nID, bool enable);

// Shows bitmap nBitmap in picture; holder keeps it and drops the one before.
void ShowElementBitmap(CStatic& picture, std::unique_ptr<CBitmap>& holder, UINT nBitmap);

// The membrane wording of the evaluation group 16176 and its radios 442, 1063.
void RelabelStressEvaluation(CWnd& page);

} // namespace brantel
