// Files the program cannot read, named on its command line, as a user
// would name them: a FIFO is refused at once by its kind (opening it would
// wait for a writer for ever), with a message that says so, and when that
// box is closed the program ends with status 1 within a second.
#include <cstdio>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"

namespace
{

using namespace brantel::test;

TEST(BrantelFiles, AFifoOnTheCommandLineIsRefusedByItsKindAndTheProgramEndsWithStatusOne)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString fifo = config.path() + "/pipe.plb";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);

    ProgramRun run(BRANTEL_PROGRAM, config.path());
    QElapsedTimer started;
    started.start();
    ASSERT_TRUE(run.Start({fifo}));
    // Without the check the program waits in the open for a writer and no
    // box ever shows.
    const WId box = journey::WaitForDialogWhileRunning(run, "Brantel", 15000);
    ASSERT_NE(box, 0u) << "no message box within 15 s: the open blocked";
    std::printf("the message box showed %lld ms after the start\n", static_cast<long long>(started.elapsed()));
    std::size_t colours = 0;
    const QImage image = GrabWhenDrawn(box, colours);
    EXPECT_TRUE(image.save(QDir(afxui::qt::testing::ArtifactsFolder()).filePath("brantel-fifo-refused.png")));

    // Its text ("Cannot open file <path>." and "<path> is not a regular
    // file.") is in the picture; Qt copies a message box's text only on
    // Windows, so the headless document tests check the same text word for
    // word.
    EXPECT_GE(colours, 3u) << "the box drew nothing";

    QElapsedTimer closing;
    ASSERT_TRUE(SendCloseRequest(box));
    closing.start();
    ASSERT_TRUE(run.Process().waitForFinished(15000)) << "the program did not end after its message";
    std::printf("the program ended %lld ms after the box was closed\n", static_cast<long long>(closing.elapsed()));
#ifndef BRANTEL_SANITIZED
    EXPECT_LT(closing.elapsed(), 1000);
#endif
    EXPECT_EQ(run.Process().exitStatus(), QProcess::NormalExit) << "the program crashed at its end";
    EXPECT_EQ(run.Process().exitCode(), 1);
    struct stat st {
    };
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)); // left as it was
}

} // namespace
