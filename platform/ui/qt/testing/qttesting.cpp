#include "platform/ui/qt/testing/qttesting.h"

#include <QDir>

#include "platform/ui/qt/qtstartup.h"

namespace afxui::qt::testing
{

QApplication& TestApplication()
{
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        AfxQtBeforeApplication(/*bUseAccel=*/false);
        static int argc = 1;
        static char name[] = "brantel-test";
        static char* argv[] = {name, nullptr};
        // Kept to the end of the process: widgets of static objects may
        // outlive every test.
        auto* made = new QApplication(argc, argv);
        AfxQtAfterApplication();
        return made;
    }();
    return *app;
}

bool HasDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

bool DisplayRequired()
{
    return qEnvironmentVariable("BRANTEL_REQUIRE_GUI") == "1";
}

QString ArtifactsFolder()
{
    QString folder = qEnvironmentVariable("BRANTEL_TEST_ARTIFACTS");
    if (folder.isEmpty())
        folder = QStringLiteral("artifacts");
    QDir().mkpath(folder);
    return folder;
}

} // namespace afxui::qt::testing
