// Safe replacement of a file: every failure keeps the old file byte for
// byte and leaves no temporary file behind.
#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/afx/exceptions.h"
#include "platform/afx/archive.h"
#include "platform/afx/safefile.h"
#include "tests/support/safe_write_cases.h"

namespace
{

using afx::SafeFileWriter;

// A fresh folder under the test's temporary folder, removed with its files.
class Folder
{
public:
    Folder()
    {
        std::string pattern = ::testing::TempDir() + "safefile_XXXXXX";
        m_path = ::mkdtemp(pattern.data());
    }
    ~Folder()
    {
        ::chmod(m_path.c_str(), 0755);
        for (const std::string& name : Names())
            ::unlink((m_path + "/" + name).c_str());
        ::rmdir(m_path.c_str());
    }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        if (DIR* dir = ::opendir(m_path.c_str())) {
            while (const dirent* e = ::readdir(dir))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            ::closedir(dir);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t Mode(const std::string& path)
{
    struct stat st {
    };
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

void Save(const std::string& path, const std::string& bytes)
{
    SafeFileWriter writer(path.c_str());
    writer.File().Write(bytes.data(), static_cast<UINT>(bytes.size()));
    writer.Commit();
}

TEST(SafeFileWriterTest, ReplacesTheTargetKeepingItsModeAndItsLink)
{
    Folder folder;
    const std::string target = folder / "model.plb";
    Write(target, "old");
    ::chmod(target.c_str(), 0640);
    ASSERT_EQ(::symlink(target.c_str(), (folder / "link.plb").c_str()), 0);
    Save(folder / "link.plb", "new content");
    EXPECT_EQ(Read(target), "new content");
    EXPECT_EQ(Mode(target), 0640u);
    struct stat st {
    };
    ASSERT_EQ(::lstat((folder / "link.plb").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)); // the link stays a link
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"link.plb", "model.plb"}));

    Save(folder / "fresh.plb", "x"); // a new file
    EXPECT_EQ(Read(folder / "fresh.plb"), "x");
}

TEST(SafeFileWriterTest, EachFailureKeepsTheOldFileAndRemovesTheTemporary)
{
    const SafeFileWriter::Step steps[] = {SafeFileWriter::Step::write, SafeFileWriter::Step::fsync,
                                          SafeFileWriter::Step::rename};
    for (SafeFileWriter::Step step : steps) {
        SCOPED_TRACE(static_cast<int>(step));
        Folder folder;
        const std::string target = folder / "model.plb";
        const std::string old("old\0bytes", 9);
        Write(target, old);
        SafeFileWriter::InjectFailure(step);
        EXPECT_THROW(Save(target, "new content"), CFileException);
        EXPECT_EQ(Read(target), old);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"model.plb"});
        Save(target, "later"); // the hook was used up
        EXPECT_EQ(Read(target), "later");
    }
}

TEST(SafeFileWriterTest, AWriterLeftWithoutCommitChangesNothing)
{
    Folder folder;
    const std::string target = folder / "model.plb";
    Write(target, "old");
    {
        SafeFileWriter writer(target.c_str());
        writer.File().Write("partial", 7);
    }
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"model.plb"});
}

TEST(SafeFileWriterTest, AReadOnlyFolderRefusesTheTemporary)
{
    // Refused by the folder's mode also for the superuser.
    Folder folder;
    const std::string target = folder / "model.plb";
    Write(target, "old");
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_THROW(Save(target, "new"), CFileException);
    EXPECT_EQ(Read(target), "old");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"model.plb"});
}

} // namespace

namespace
{

// Writes bytes through an archive and, like several exporters, drops the
// archive's exceptions.
void WriteDroppingErrors(CFile& file, const std::string& bytes)
{
    try {
        CArchive ar(&file, CArchive::store, 16);
        ar.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        ar.Close();
    } catch (CException&) {
    }
}

} // namespace

TEST(SafeFileWriterTest, WriteFileSafelyReportsEveryFailureEvenOneTheWritingCodeDropped)
{
    brantel::test::ExpectEachWriteFailureKeepsTheOldFile("model.plb", [](const std::string& path, const std::string&) {
        const CString failure = afx::WriteFileSafely(path.c_str(), [](CFile& file) {
            WriteDroppingErrors(file, std::string(100, 'n'));
        });
        EXPECT_EQ(std::string(failure).find(".~tmp"), std::string::npos) << failure;
        return failure.IsEmpty() ? std::vector<std::string>{} : std::vector<std::string>{failure.GetString()};
    });
    Folder folder;
    const std::string target = folder / "model.plb";
    EXPECT_TRUE(afx::WriteFileSafely(target.c_str(), [](CFile& file) { WriteDroppingErrors(file, "new"); })
                    .IsEmpty());
    EXPECT_EQ(Read(target), "new");
}

TEST(SafeFileWriterTest, AFolderOrASpecialFileIsNeverReplaced)
{
    Folder folder;
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir((folder / "sub").c_str(), 0755), 0);
    for (const char* name : {"pipe", "sub"}) {
        const CString failure =
            afx::WriteFileSafely((folder / name).c_str(), [](CFile& file) { file.Write("x", 1); });
        EXPECT_NE(std::string(failure).find(name), std::string::npos) << failure;
    }
    struct stat st {
    };
    ASSERT_EQ(::stat((folder / "pipe").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"pipe", "sub"}));
    ::rmdir((folder / "sub").c_str());
}

TEST(SafeFileWriterTest, EachKindOfTargetIsWrittenOrRefusedNamingItsCause)
{
    brantel::test::ForEachTargetKind([](const std::string& path, const brantel::test::TargetKindCase& c) {
        const CString failure = afx::WriteFileSafely(path.c_str(), [](CFile& file) { file.Write("new", 3); });
        std::string cause = c.cause;
        if (!cause.empty())
            cause.replace(cause.find("%s"), 2, path);
        EXPECT_EQ(std::string(failure), cause);
        // The check before a save gives the same answer.
        EXPECT_EQ(std::string(afx::WriteRefusal(path.c_str())), c.error == 0 ? "" : cause);
    });
}

TEST(SafeFileWriterTest, TheTemporaryNameStaysWithinTheNameLimit)
{
    const std::string suffix = safereplace::kTempSuffix;
    const struct {
        std::string name;
        std::string kept; // the part of the name the temporary keeps
    } cases[] = {
        {"model.plb", "model.plb"},
        {std::string(243, 'a'), std::string(243, 'a')},
        {std::string(244, 'a'), std::string(243, 'a')},
        {std::string(255, 'a'), std::string(243, 'a')},
        // Two-byte characters: never cut inside one.
        {std::string(242, 'a') + "\xc3\xa9\xc3\xa9", std::string(242, 'a')},
        {std::string(241, 'a') + "\xc3\xa9\xc3\xa9", std::string(241, 'a') + "\xc3\xa9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.size());
        EXPECT_EQ(safereplace::TempPattern("/some/folder/" + c.name, 255), "/some/folder/" + c.kept + suffix);
    }
    // Two saves of one long name at once get two temporaries.
    Folder folder;
    const std::string target = folder / std::string(255, 'l');
    SafeFileWriter first(target.c_str()), second(target.c_str());
    EXPECT_NE(first.GetTempPath(), second.GetTempPath());
    EXPECT_LE(std::string(first.GetTempPath()).size() - folder.path().size() - 1, 255u);
    second.File().Write("two", 3);
    second.Commit();
    EXPECT_EQ(Read(target), "two");
}
