// The two pages of the new-document wizard after the document type:
// CDlgMeshType chooses the element and the mesh generation, CDlgFinal the
// integration rule, the integration points and the plane state. The caller
// sets each page's kind before it runs and reads the choices and the
// navigation afterwards.
#pragma once

#include <memory>

#include "platform/ui/core/afxui.h"

// The page kinds.
enum { kindPlate = 0, kindMembrane = 1, kindBucklingPlate = 2, kindBucklingMembrane = 3 };
// The navigation result a page leaves in its kind member.
enum { navBack = -1, navCancel = 0, navNext = 1 };

class CDlgMeshType : public CDialog
{
    DECLARE_DYNAMIC(CDlgMeshType)
public:
    enum { IDD = 704 };
    explicit CDlgMeshType(CWnd* pParent = nullptr);
    ~CDlgMeshType() override;

    int m_iKind = kindPlate; // kind on entry, navigation on exit
    int m_iMesh = 0;         // 0 free mesh, 1 constrained mesh
    int m_iMembraneElement = 1;
    int m_iPlateElement = 1;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnElement();
    void OnBack();
    void OnNext();
    void OnCancel() override;
    DECLARE_MESSAGE_MAP()

private:
    void ShowDescription();
    bool IsMembrane() const { return m_iKind == kindMembrane || m_iKind == kindBucklingMembrane; }

    CStatic m_stPicture; // control 1072
    std::unique_ptr<CBitmap> m_pBitmap;
};

class CDlgFinal : public CDialog
{
    DECLARE_DYNAMIC(CDlgFinal)
public:
    enum { IDD = 743 };
    explicit CDlgFinal(CWnd* pParent = nullptr);
    ~CDlgFinal() override;

    int m_iKind = kindPlate; // kind on entry, navigation on exit
    int m_iElement = 0;      // the membrane or plate element of the first page
    int m_iPrint = 0;
    int m_iIntegrationPoints = 0;
    int m_iIntegrationRule = 0;
    int m_iPlaneState = 0;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBack();
    void OnNext();
    DECLARE_MESSAGE_MAP()

private:
    CStatic m_stPicture; // control 1072
    std::unique_ptr<CBitmap> m_pBitmap;
};
