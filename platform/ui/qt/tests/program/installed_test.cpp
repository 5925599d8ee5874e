// The installed program: `cmake --install` into a temporary prefix, then
// bin/brantel started with empty configuration, home and working folders.
// Its window shows and is saved as brantel-installed.png; nothing is
// written under XDG_CONFIG_HOME while it runs; File > Exit ends it with
// status 0, and what the exit writes lands only in "Vornetic Applications/"
// and "Vornetic/" of XDG_CONFIG_HOME.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QTemporaryDir>

#include "platform/ui/qt/testing/qttesting.h"
#include "platform/ui/qt/tests/program/journey.h"
#include "platform/ui/qt/tests/program/program_run.h"
#include "tests/install/installed_tree.h"

namespace
{

using namespace brantel::test;

// Every file and folder below folder, relative to it.
QStringList Contents(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(folder).relativeFilePath(it.next());
    found.sort();
    return found;
}

TEST(InstalledProgram, StartsShowsItsWindowAndExitsCleanly)
{
    AFXUI_QT_NEED_DISPLAY();
    afxui::qt::testing::TestApplication();
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString prefix = root.filePath("usr");
    const CommandResult install = InstallInto(prefix.toStdString());
    ASSERT_EQ(install.status, 0) << install.output;
    for (const char* folder : {"config", "home", "work"})
        ASSERT_TRUE(QDir(root.path()).mkpath(folder));
    const QString config = root.filePath("config");

    ProgramRun run(prefix + "/bin/brantel", config);
    QProcessEnvironment env = run.Process().processEnvironment();
    env.insert("HOME", root.filePath("home"));
    run.Process().setProcessEnvironment(env);
    run.Process().setWorkingDirectory(root.filePath("work"));
    ASSERT_TRUE(run.Start({}));
    ASSERT_TRUE(CancelStartWizard()) << "no new-document wizard within 10 s";
    const WId window = run.WaitForWindow("^Brantel( - .*)?$");
    ASSERT_NE(window, 0u) << "no Brantel window within 10 s";

    // The screen as the program drew it, once more than a flat colour.
    std::size_t colours = 0;
    const QImage image = GrabWhenDrawn(window, colours);
    EXPECT_GE(colours, 3u);
    EXPECT_TRUE(image.save(QDir(afxui::qt::testing::ArtifactsFolder()).filePath("brantel-installed.png")));
    EXPECT_EQ(Contents(config), QStringList()) << "written before the exit";

    // File > Exit through the keyboard.
    const QString id = QString::number(window);
    EXPECT_TRUE(journey::Xdo({"windowfocus", "--sync", id}, nullptr, 5000));
    EXPECT_TRUE(journey::Xdo({"key", "--window", id, "--clearmodifiers", "alt+f"}, nullptr, 5000));
    QTest::qWait(300);
    // The window may be gone before xdotool has finished with it: the
    // program's end is the check.
    journey::Xdo({"key", "--window", id, "x"}, nullptr, 5000);
    const bool ended = run.Process().waitForFinished(10000);
    ASSERT_TRUE(ended) << "File > Exit did not end the program";
    EXPECT_EQ(run.Process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(run.Process().exitCode(), 0);

    for (const QString& entry : Contents(config))
        EXPECT_TRUE(entry.startsWith("Vornetic Applications") || entry.startsWith("Vornetic"))
            << entry.toStdString();
    EXPECT_FALSE(Contents(config).isEmpty()) << "the exit writes the settings";
    EXPECT_EQ(Contents(root.filePath("work")), QStringList());
    EXPECT_EQ(Contents(root.filePath("home")), QStringList());
}

} // namespace
