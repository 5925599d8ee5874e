#include "platform/ui/qt/qtapp.h"

#include <vector>

#include <QApplication>

#include "platform/ui/core/winapp.h"
#include "platform/ui/core/wnd.h"
#include "platform/ui/qt/qtenvironment.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qtstartup.h"

int AfxQtRunApp(int argc, char** argv, CWinApp& theApp)
{
    {
        // Hardware OpenGL unless the profile turned it off.
        int nAccel = 1;
        CQtProfile profile;
        profile.GetInt("Properties", "OGLAccel", nAccel);
        AfxQtBeforeApplication(nAccel != 0);
    }
    QApplication app(argc, argv);
    AfxQtAfterApplication();
    CQtEnvironment env;

    std::vector<CString> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    theApp.SetCommandLine(args);

    BOOL started = FALSE;
    AfxQtEntry([&] { started = theApp.InitInstance(); });
    QWidget* mainWidget = started ? AfxQtWidgetOf(theApp.m_pMainWnd) : nullptr;
    int code = 1;
    if (mainWidget) {
        // The program ends when its main window goes (its frame's OnClose
        // decides, after asking to save).
        QObject::connect(mainWidget, &QObject::destroyed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        QApplication::setQuitOnLastWindowClosed(false);
        app.exec();
    }
    AfxQtEntry([&] {
        const int exitCode = theApp.ExitInstance();
        if (mainWidget)
            code = exitCode;
    });
    // A start that failed (a refused command-line file, an exception) leaves
    // its main window behind: its peers go now, while Qt still exists.
    AfxQtEntry([] { AfxDestroyAllWindows(); });
    return code;
}
