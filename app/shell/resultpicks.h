// What the results view keeps and writes about picked result points: the
// picked nodes with the element index each was picked on, the pending node
// under the cursor, the value at a picked point, the line of the results
// text file and the automatic value scale.
#pragma once

#include "framework/framira.h"
#include "geometry/geomtools.h"
#include "matrix/zelkor.h"

class CSNode;

class CResultPicks
{
public:
    CResultPicks() = default;
    CResultPicks(const CResultPicks&) = delete;
    CResultPicks& operator=(const CResultPicks&) = delete;

    int Count() const { return m_Nodes.m_nCount; }
    CSNode* Node(int i) const { return m_Nodes.m_pNodes[i]; }
    int Index(int i) const { return static_cast<int>(m_Values.GetValue(i)); }

    // A click: the pending node is picked with the pending index; clicked
    // again on the same index it is unpicked, on another index its entry
    // takes the new one. The pending node is cleared.
    void Click();
    // The right button: drops the pending node (index back to 0), else
    // the last pick.
    void UndoLast();
    // null: everything goes. A node: it stops being pending and its pick
    // goes, the others keeping their order and indexes.
    void Remove(CObject* node);
    // Whether anything could be written to the results file.
    bool HasAny() const { return m_pPending || Count() > 0; }

    NODELIST m_Nodes;
    CVector m_Values;
    CSNode* m_pPending = nullptr;
    int m_iPendingIndex = 0;

private:
    // The values without entry i.
    void RemoveValue(int i);
    void AppendValue(double v);
};

namespace resultview
{
// The value of result component at the node, taken from the element that
// is the node's graph at elementIndex when that graph is an element, else
// from the node's first element; false when the node has no element.
bool PickedNodeValue(CSNode* node, int elementIndex, int component, double& value);
// One line of the results file: number and node in six columns, two blanks
// each, then the value in the number format (0 "%.*e", 1 "%.*f", other
// "%.*g") with its digits, and CR LF.
CString PickedResultLine(unsigned number, unsigned long node, double value, int format, int digits);
// The value scale that draws the largest result a third of the larger
// model span high; current when all results are 0.
double NormalisedScale(double xmax, double ymax, double xmin, double ymin, double max, double min,
                       double current);
} // namespace resultview
