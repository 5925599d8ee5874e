// CBoundary: an edge of a region outline that carries conditions and loads.
#pragma once

#include "femodel/boundcond.h"
#include "femodel/load.h"

class CBoundary : public CEdge {
    DECLARE_DYNAMIC(CBoundary)
public:
    CBoundary(CSNode* first, CSNode* second) : CEdge(first, second) {}
    ~CBoundary() override;

    CBoundCond* GetBC(int index) override;
    CLoad* GetLoad() override { return m_pLoad; }
    // Copies the conditions and loads of source onto this edge.
    virtual void CopyProperties(CBoundary* source);

    CBoundCond* m_pBC = nullptr;
    CLoad* m_pLoad = nullptr;
};
