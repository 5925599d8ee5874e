// VokDlgFPDocType: the first step of a new document: one click on a picture
// button picks the kind of analysis; "&Open" asks for an existing document
// instead (IDOK with type 0).
#pragma once

#include "platform/ui/core/afxui.h"

class VokDlgFPDocType : public CDialog
{
    DECLARE_DYNAMIC(VokDlgFPDocType)
public:
    enum { IDD = 16000 };
    enum { typeNone = 0, typePlate = 1, typeMembrane = 2, typeBuckling = 3 };

    explicit VokDlgFPDocType(CWnd* pParent = nullptr);

    int m_iDocType = typeNone;

    BOOL OnInitDialog() override;

protected:
    void OnPlate();
    void OnMembrane();
    void OnBuckling();

    DECLARE_MESSAGE_MAP()

private:
    void Choose(int iDocType);

    CPictureButton m_btnPlate;    // control 16000
    CPictureButton m_btnMembrane; // control 16001
};
