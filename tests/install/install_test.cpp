// The install layout: `cmake --install` into a temporary prefix gives the
// program, its program folder with the palettes folder and the PDF manual,
// the HTML manual, the desktop entry, the MIME types and the icon. The
// desktop entry validates, and the MIME database built from our package
// maps the six document extensions to our types by their names alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "framework/framira.h"
#include "tests/install/installed_tree.h"

namespace
{

using namespace brantel::test;
namespace fs = std::filesystem;

class InstallTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_tree = new TempTree("brantel_install");
        s_install = new CommandResult(InstallInto(s_tree->path() / "usr"));
    }
    static void TearDownTestSuite()
    {
        delete s_install;
        delete s_tree;
    }
    void SetUp() override { ASSERT_EQ(s_install->status, 0) << s_install->output; }
    static fs::path Prefix() { return s_tree->path() / "usr"; }

    static TempTree* s_tree;
    static CommandResult* s_install;
};

TempTree* InstallTest::s_tree = nullptr;
CommandResult* InstallTest::s_install = nullptr;

TEST_F(InstallTest, GivesTheLayout)
{
    const char* files[] = {
        "bin/brantel",
        "share/brantel/Brantel_U_man.pdf",
        "share/doc/brantel/index.html",
        "share/doc/brantel/Brantel_U_man.pdf",
        "share/applications/brantel.desktop",
        "share/mime/packages/brantel.xml",
        "share/icons/hicolor/scalable/apps/brantel.svg",
    };
    for (const char* file : files)
        EXPECT_TRUE(fs::is_regular_file(Prefix() / file)) << file; // follows the PDF's link
    EXPECT_TRUE(fs::is_directory(Prefix() / "share/brantel/Ext/Palettes"));
    EXPECT_GT(fs::file_size(Prefix() / "share/brantel/Brantel_U_man.pdf"), 1000u);
    EXPECT_EQ(ReadText(Prefix() / "share/brantel/Brantel_U_man.pdf").substr(0, 5), "%PDF-");

    // The installed program finds its libraries and its program folder.
    const CommandResult libraries = RunCommand("ldd " + Quoted((Prefix() / "bin/brantel").string()));
    EXPECT_EQ(libraries.output.find("not found"), std::string::npos) << libraries.output;
    EXPECT_NE(libraries.output.find((Prefix() / "bin/../lib/libframira.so").string()), std::string::npos)
        << libraries.output;
    const std::string folder(KorProgramFolder((Prefix() / "bin/brantel").c_str()));
    EXPECT_EQ(folder, (Prefix() / "share/brantel").string() + "/");
    EXPECT_EQ(std::string(KorHelpFolder(folder.c_str())), (Prefix() / "share/doc/brantel").string() + "/");
}

// Every picture the manual's page names is beside it, in the build tree
// and in the installed tree, and the PDF carries them.
TEST_F(InstallTest, TheManualFindsItsPictures)
{
    const fs::path folders[] = {fs::path(BRANTEL_BINARY_DIR) / "bin/doc", Prefix() / "share/doc/brantel"};
    for (const fs::path& folder : folders) {
        SCOPED_TRACE(folder.string());
        const std::string page = ReadText(folder / "index.html");
        const std::regex image("<img src=\"([^\"]+)\"");
        int pictures = 0;
        for (auto it = std::sregex_iterator(page.begin(), page.end(), image); it != std::sregex_iterator(); ++it) {
            ++pictures;
            EXPECT_TRUE(fs::is_regular_file(folder / (*it)[1].str())) << (*it)[1].str();
        }
        EXPECT_GE(pictures, 5);
    }
    // The pictures make the PDF far larger than its text alone.
    EXPECT_GT(fs::file_size(Prefix() / "share/brantel/Brantel_U_man.pdf"), 100000u);
}

TEST_F(InstallTest, DesktopEntryValidates)
{
    const fs::path entry = Prefix() / "share/applications/brantel.desktop";
    const CommandResult check = RunCommand("desktop-file-validate " + Quoted(entry.string()));
    EXPECT_EQ(check.status, 0) << check.output;
    EXPECT_EQ(check.output, "");
    const std::string text = ReadText(entry);
    for (const char* line : {"\nExec=brantel %F\n", "\nIcon=brantel\n", "\nMimeType=application/x-brantel-plate;"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST_F(InstallTest, MimeDatabaseKnowsTheDocumentsByName)
{
    // XDG_DATA_HOME/mime as a user's database would be, built from our package.
    const fs::path dataHome = s_tree->path() / "data";
    fs::create_directories(dataHome / "mime/packages");
    fs::copy_file(Prefix() / "share/mime/packages/brantel.xml", dataHome / "mime/packages/brantel.xml",
                  fs::copy_options::overwrite_existing);
    const CommandResult update = RunCommand("update-mime-database " + Quoted((dataHome / "mime").string()));
    ASSERT_EQ(update.status, 0) << update.output;
    const std::string globs = ReadText(dataHome / "mime/globs2");
    struct Case {
        const char* file;
        const char* type;
    };
    const Case cases[] = {
        {"x.plb", "application/x-brantel-plate"},
        {"x.pbc", "application/x-brantel-plate-constrained"},
        {"x.mem", "application/x-brantel-membrane"},
        {"x.plc", "application/x-brantel-membrane-constrained"},
        {"x.shl", "application/x-brantel-shell"},
        {"x.chl", "application/x-brantel-shell-constrained"},
    };
    const std::string desktop = ReadText(Prefix() / "share/applications/brantel.desktop");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string extension = std::string(c.file).substr(1);
        EXPECT_NE(globs.find(std::string(":") + c.type + ":*" + extension + "\n"), std::string::npos) << globs;
        EXPECT_NE(desktop.find(std::string(c.type) + ";"), std::string::npos);
    }
    EXPECT_EQ(globs.find("*.csh"), std::string::npos) << "C-shell scripts are not ours";
    // Detection by name only: no magic rule of ours.
    const std::string magic = ReadText(dataHome / "mime/magic");
    EXPECT_EQ(magic.find("brantel"), std::string::npos);
}

} // namespace
