// CPPEdgeLoad: the "Load" page of an edge's information sheet. It shows and
// edits the distributed load of one boundary edge, or of every boundary edge
// of a list: two components at the lower end (point 1), the mid point
// (point 2) and the upper end (point 3), in global or local axes. The page
// owns no model object; the caller sets the edge or the list and the
// element-type code before the sheet runs.
#pragma once

#include <memory>

#include "platform/ui/core/afxui.h"

class CBoundary;

class CPPEdgeLoad : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPEdgeLoad)
public:
    enum { IDD = 744 };
    CPPEdgeLoad();
    ~CPPEdgeLoad() override;

    CBoundary* m_pEdge = nullptr;  // one edge, or null
    CObList* m_pEdgeList = nullptr; // its CBoundary entries are used, or null
    int m_iElemType = 0;

    double m_dLoadFactor = 1.0; // display = stored x factor
    double m_dN1 = 0, m_dN2 = 0, m_dN3 = 0;
    double m_dT1 = 0, m_dT2 = 0, m_dT3 = 0;
    int m_iAxes = 1; // 0 global, 1 local
    int m_bChange = 0;
    // Set once the page has written into the model.
    bool m_bApplied = false;

    BOOL OnInitDialog() override;
    // Writes the shown load into the edge, or into every listed edge when
    // "&Change" is ticked; six zeros delete the load.
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnAxes();
    void OnValueChanged();
    void OnChange();
    DECLARE_MESSAGE_MAP()

private:
    void UpdateEnabled();
    // Writes the six stored values (T1, N1, T2, N2, T3, N3 order) into edge.
    void StoreInto(CBoundary& edge, const double values[6]) const;

    CStatic m_stPicture;
    std::unique_ptr<CBitmap> m_pBitmap;
    bool m_bFilling = false;
};
