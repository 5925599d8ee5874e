// The Brantel program: the application of brantel_shell on the Qt backend.
#include "app/shell/brantelapp.h"
#include "platform/ui/qt/afxui_qt.h"

int main(int argc, char** argv)
{
    CBrantelApp theApp;
    return AfxQtRunApp(argc, argv, theApp);
}
