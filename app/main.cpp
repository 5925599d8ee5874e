// The Brantel program: the application of brantel_shell on the Qt backend.
#include "app/shell/shellapp.h"
#include "platform/ui/qt/afxui_qt.h"

int main(int argc, char** argv)
{
    CShellApp theApp;
    return AfxQtRunApp(argc, argv, theApp);
}
