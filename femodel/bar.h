// CBarElm: a two-node member element (kind 1) with optional end
// eccentricities, an orientation vector and a cross-section. It gives the
// geometry that member analyses need (direction, length, which DOFs an end
// uses) and draws itself for picking; it has no results of its own to draw.
//
// CCrSectElm: the cross-section of a bar element; it holds nothing and
// answers every parameter with 0.0.
#pragma once

#include "femodel/element.h"

class CCrSectElm : public CObject {
    DECLARE_SERIAL(CCrSectElm)
public:
    CCrSectElm() = default;
    ~CCrSectElm() override = default;

    // Writes and reads nothing.
    void Serialize(CArchive& ar) override;
    virtual double GetParam(int) { return 0.0; }
};

class CBarElm : public CElement {
    DECLARE_SERIAL(CBarElm)
public:
    // Node 1 and node 2, in this order; the element joins both nodes' graph
    // lists. Orientation (0, 0, 1), no eccentricities, no cross-section.
    CBarElm(CSNode* node1, CSNode* node2);
    ~CBarElm() override;
    CBarElm(const CBarElm&) = delete;

    // The element part, then the cross-section as an object (null allowed).
    // The eccentricities and the orientation are set by the owner after
    // every discretisation and are not stored.
    void Serialize(CArchive& ar) override;

    // Name of the element, then a line strip through its nodes (bit 1);
    // large points at the nodes whose primary graph is this element, each
    // under its own name (bit 2). Names come from the selection-name table.
    void PickDrawAddressGL(int flags) override;
    bool GrowPickBox(CPickBox&) const override { return false; }
    int GetNumExtResVects() override { return std::min(m_nRes, 2); }
    int GetKind() override { return m_iKind; }
    bool IsPointInElem(CSNode*) override { return false; }
    // Length of the direction vector.
    double PhysicalSize() override;

    // A bar has no plotted results, no area and no refinement: these slots
    // do nothing.
    void PickDrawGL(int, int, double) override {}
    void GLColorPlot(int, int, double) override {}
    void DrawModelGL(bool) override {}
    void DrawEffStress(int, int, double, int, int, int, double, double) override {}
    void GetCentroid(double&, double&) override {}
    void GLDrawDistorted(int, double, int, int, int) override {}
    void BeginGL() override {}
    void RefineUniform(int, CObList*) override {}
    void DrawPriStress(int, bool, double, int, int, int) override {}
    void GetMaxMinPriStress(double&, double&, double&, double&, bool) override {}

    // True for the translations (DOFs 1 to 3); a higher DOF only at an end
    // (1 or 2) that has an eccentricity.
    virtual bool UsesDof(int dof, int end);
    // v becomes the 3-vector (node 2 + eccentricity 2) - (node 1 +
    // eccentricity 1), each eccentricity counting only when present; zero
    // for an element without both nodes.
    virtual void DirVect(CVector& v);

    // Eccentricity at end 1 or 2 (owned; null when absent).
    CVector* GetEccent(int end) const;
    // Replaces the eccentricity at end 1 or 2 (the element takes v over and
    // deletes the old one; null removes it).
    void SetEccent(int end, CVector* v);
    // The cross-section (not owned): any archivable object, so that the
    // members of the beam family can hand over their own sections.
    // GetCrSect gives it only when it is a CCrSectElm.
    CCrSectElm* GetCrSect() const;
    void SetCrSect(CCrSectElm* section) { m_pCrSect = section; }
    CObject* GetCrSectObject() const { return m_pCrSect; }
    void SetCrSectObject(CObject* section) { m_pCrSect = section; }
    CVector& GetOrient() { return m_Orient; }

    static constexpr int m_iKind = 1;

protected:
    CBarElm();

    CVector* m_pEccent1 = nullptr;
    CVector* m_pEccent2 = nullptr;
    CObject* m_pCrSect = nullptr;
    CVector m_Orient;
};
