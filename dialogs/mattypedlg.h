// VokDlgMatType: the choice of preset (and kind) a new material starts from.
#pragma once

#include "platform/ui/core/afxui.h"

class VokDlgMatType : public CDialog
{
    DECLARE_DYNAMIC(VokDlgMatType)
public:
    enum { IDD = 16016 };
    enum { presetUser = 0, presetSteel, presetAluminium, presetConcrete, presetTimber };

    explicit VokDlgMatType(CWnd* pParent = nullptr);

    // 0 isotropic, 1 orthotropic; a negative kind disables both kind radios
    // and stays as it is.
    int m_iMatKind = 0;
    // presetUser to presetTimber.
    int m_iPreset = presetUser;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
