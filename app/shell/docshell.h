// The two documents built on the plate document: the shell (buckling)
// document, whose component is a CShellComp with a second element type for
// the buckling step, and the constrained-mesh document.
#pragma once

#include "app/shell/branteldoc.h"

class CShellComp;

class CDocShell : public CBrantelDoc
{
    DECLARE_DYNCREATE(CDocShell)
public:
    CDocShell();

    CShellComp* GetShellComp() const;
    // The buckling element's short name, "/", then the membrane element's
    // ("T18/CST"); a blank stands for an unknown buckling code.
    CString GetElementTypeName() override;
    // 0 membrane conditions, 1 plate conditions.
    int GetBCSet() const { return m_iBCSet; }

    CStringArray m_ResultNames;
    int m_iBCSet = 1;

protected:
    CPlateComp* NewComponent() override;
};

class CDocRestr : public CBrantelDoc
{
    DECLARE_DYNCREATE(CDocRestr)
public:
    CDocRestr() = default;
};
