#include "platform/ui/qt/testing/qttesting.h"

#include <filesystem>
#include <set>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPrinter>
#include <QTest>
#include <QWidget>

#include "platform/ui/qt/qtpeers.h"
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
    if (folder.isEmpty()) {
        // A test program started by hand: the artifacts folder of its build
        // folder (programs live in <build>/tests), never the source tree.
        std::error_code error;
        const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
        folder = error ? QStringLiteral("artifacts")
                       : QString::fromStdString((self.parent_path().parent_path() / "artifacts").string());
    }
    QDir().mkpath(folder);
    return folder;
}

QString PrintToArtifactPdf(QPrinter& printer, const QString& file)
{
    const QString path = QDir(ArtifactsFolder()).filePath(file);
    QFile::remove(path);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(100);
    return path;
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

bool SaveScreenshot(QWidget* widget, const QString& file, QString* why)
{
    const auto fail = [&](const char* reason) {
        if (why)
            *why = QString::fromLatin1(reason);
        return false;
    };
    if (!widget)
        return fail("no widget");
    if (!QTest::qWaitForWindowExposed(widget))
        return fail("the window never showed");
    const QImage image = widget->grab().toImage();
    if (image.isNull())
        return fail("nothing grabbed");
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    if (colours.size() <= 2)
        return fail("one flat colour: no controls drawn");
    if (!image.save(QDir(ArtifactsFolder()).filePath(file)))
        return fail("the picture could not be saved");
    QWidgetList shown = widget->findChildren<QWidget*>();
    shown.prepend(widget);
    for (const QWidget* child : shown)
        if (const QString fault = AfxQtPictureFault(*child);
            !fault.isEmpty() && child->isVisibleTo(widget)) {
            if (why)
                *why = fault;
            return false;
        }
    return true;
}

void OnDisplay::SetUp()
{
    AFXUI_QT_NEED_DISPLAY();
    TestApplication();
    m_backend.emplace();
}

} // namespace afxui::qt::testing
