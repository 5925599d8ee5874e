#include "app/shell/resultpicks.h"

#include <algorithm>
#include <cmath>

#include "femodel/strelna.h"

void CResultPicks::AppendValue(double v)
{
    const int n = m_Values.GetSize();
    CVector grown(n + 1, true, 0.0);
    for (int i = 0; i < n; ++i)
        grown.SetValue(i, m_Values.GetValue(i));
    grown.SetValue(n, v);
    m_Values = grown;
}

void CResultPicks::RemoveValue(int at)
{
    const int n = m_Values.GetSize();
    if (at < 0 || at >= n)
        return;
    CVector shrunk(n - 1, true, 0.0);
    for (int i = 0, j = 0; i < n; ++i)
        if (i != at)
            shrunk.SetValue(j++, m_Values.GetValue(i));
    m_Values = shrunk;
}

void CResultPicks::Click()
{
    if (!m_pPending)
        return;
    const long at = m_Nodes.Find(m_pPending);
    if (at < 0) {
        m_Nodes.AddNode(m_pPending);
        AppendValue(m_iPendingIndex);
    } else if (Index(static_cast<int>(at)) == m_iPendingIndex) {
        Remove(m_pPending);
    } else {
        m_Values.SetValue(static_cast<int>(at), m_iPendingIndex);
    }
    m_pPending = nullptr;
}

void CResultPicks::UndoLast()
{
    if (m_pPending) {
        m_pPending = nullptr;
        m_iPendingIndex = 0;
        return;
    }
    if (Count() == 0)
        return;
    RemoveValue(Count() - 1);
    m_Nodes.RemoveNode(Node(Count() - 1));
}

void CResultPicks::Remove(CObject* node)
{
    if (!node) {
        m_pPending = nullptr;
        m_iPendingIndex = 0;
        m_Nodes.RemoveAll();
        m_Values = CVector();
        return;
    }
    if (node == m_pPending)
        m_pPending = nullptr;
    const long at = m_Nodes.RemoveNode(node);
    if (at >= 0)
        RemoveValue(static_cast<int>(at));
}

namespace
{

std::string Formatted(int format, int digits, double value)
{
    const char* layout = format == 0 ? "%.*e" : format == 1 ? "%.*f" : "%.*g";
    return AfxFormat(layout, digits, value);
}

} // namespace

bool resultview::PickedNodeValue(CSNode* node, int elementIndex, int component, double& value)
{
    CObList* graphs = node ? node->GetGraphList() : nullptr;
    if (!graphs || graphs->IsEmpty())
        return false;
    // The graph at the index may be a region, which holds no results.
    CElement* element = nullptr;
    if (elementIndex >= 0 && elementIndex < graphs->GetCount())
        element = dynamic_cast<CElement*>(graphs->GetAt(graphs->FindIndex(elementIndex)));
    for (POSITION pos = graphs->GetHeadPosition(); pos && !element;)
        element = dynamic_cast<CElement*>(graphs->GetNext(pos));
    if (!element)
        return false;
    value = element->GetStressFromIndex(component, element->FindIndex(node));
    return true;
}

CString resultview::PickedResultLine(unsigned number, unsigned long node, double value, int format,
                                     int digits)
{
    const std::string head = AfxFormat("%6u  %6lu  ", number, node);
    return CString((head + Formatted(format, digits, value) + "\r\n").c_str());
}

double resultview::NormalisedScale(double xmax, double ymax, double xmin, double ymin, double max,
                                   double min, double current)
{
    const double span = std::max(std::fabs(xmax - xmin), std::fabs(ymax - ymin)) / 3.0;
    const double m = std::max(std::fabs(max), std::fabs(min));
    return m != 0.0 ? span / m : current;
}
