// The constrained-mesh document: its settings and their part of the archive.
#include "app/analysis/analysis.h"
#include "app/shell/docshell.h"

IMPLEMENT_DYNCREATE(CDocRestr, CBrantelDoc)

CDocRestr::CDocRestr()
{
    // The structured mesh makes exactly the elements asked for: no retry
    // with more subdivisions.
    GetPlateComp()->m_nMinElements = 1;
}

std::array<CDocRestr::EdgeSettings, 4> CDocRestr::Edges()
{
    return {{{&m_vDistR, &m_nProgR, &m_dRatioR},
             {&m_vDistS, &m_nProgS, &m_dRatioS},
             {&m_vDistT, &m_nProgT, &m_dRatioT},
             {&m_vDistU, &m_nProgU, &m_dRatioU}}};
}

void CDocRestr::StoreTail(CArchive& ar)
{
    const auto edges = Edges();
    for (const EdgeSettings& edge : edges)
        ar << LONG(*edge.progression);
    ar << DWORD(m_nElemA) << DWORD(m_nElemB);
    for (const EdgeSettings& edge : edges)
        ar << *edge.ratio;
    ar << LONG(m_nEvenRows) << LONG(m_nOddRows);
    for (const EdgeSettings& edge : edges)
        edge.list->Serialize(ar);
}

void CDocRestr::LoadTail(CArchive& ar)
{
    auto loaded = std::make_unique<Loaded>();
    for (int& prog : loaded->prog) {
        LONG value = 0;
        ar >> value;
        prog = static_cast<int>(value);
    }
    DWORD a = 0, b = 0;
    ar >> a >> b;
    if (!IsElementCountPair(a, b))
        AfxThrowArchiveException(CArchiveException::badIndex);
    loaded->elemA = a;
    loaded->elemB = b;
    for (double& ratio : loaded->ratio)
        ar >> ratio;
    LONG even = 0, odd = 0;
    ar >> even >> odd;
    loaded->evenRows = static_cast<int>(even);
    loaded->oddRows = static_cast<int>(odd);
    // Files written before the lists were kept end here.
    if (!ar.IsBufferEmpty())
        for (CVector& list : loaded->lists)
            list.Serialize(ar);
    m_pLoaded = std::move(loaded);
}

void CDocRestr::CommitTail()
{
    if (!m_pLoaded)
        return;
    const std::unique_ptr<Loaded> loaded = std::move(m_pLoaded);
    const auto edges = Edges();
    for (std::size_t i = 0; i < edges.size(); ++i) {
        *edges[i].progression = loaded->prog[i];
        *edges[i].ratio = loaded->ratio[i];
        *edges[i].list = loaded->lists[i];
    }
    m_nElemA = loaded->elemA;
    m_nElemB = loaded->elemB;
    m_nEvenRows = loaded->evenRows;
    m_nOddRows = loaded->oddRows;
}
