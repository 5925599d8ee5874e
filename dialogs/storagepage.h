// CPPStiffStorage: the "Storage & renumbering" page: the storage format of
// the stiffness matrix, the node renumbering used with skyline storage and
// the reordering used with sparse storage. The last choice applied lives in
// three class-wide statics; a caller may preset the page's working values
// before the sheet runs and read them afterwards. The codes are the page's
// own; callers map them onto their component's codes.
#pragma once

#include "platform/ui/core/afxui.h"

class CPPStiffStorage : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPStiffStorage)
public:
    enum { IDD = 16048 };
    enum { storageSkyline = 0, storageSparse = 1 };
    enum { reorderOn = 0, reorderOff = 1 };
    enum { renumSloan = 0, renumProfileFront = 1, renumWilson = 2, renumNone = 3 };

    // The working values start from the statics.
    CPPStiffStorage();

    // The last applied choice, kept for the whole run (0 at load); written
    // only by OnApply.
    static int m_iStStorage;
    static int m_iStReorder;
    static int m_iStRenum;

    // Working values, exchanged with the radios.
    int m_iReorder;
    int m_iStorage;
    int m_iRenum;

    BOOL OnInitDialog() override;
    // Stores the working values in the statics.
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnStorage();

    DECLARE_MESSAGE_MAP()

private:
    // Sparse storage reorders; any other storage renumbers.
    void EnableGroups();
};
