// The program's application object until the plate documents and the main
// frame exist: an MDI main frame (resource 128) with a status bar and a
// File menu holding Exit. It links no toolkit; app/main.cpp runs it on Qt.
#pragma once

#include "platform/ui/core/afxui.h"

class CShellApp : public CWinApp
{
public:
    CShellApp();
    // Makes and shows the main frame; FALSE when it could not be made.
    BOOL InitInstance() override;
};

class CShellFrame : public CMDIFrameWnd
{
public:
    CStatusBar m_wndStatusBar;

protected:
    int OnCreate(LPCREATESTRUCT lpcs);
    DECLARE_MESSAGE_MAP()
};
