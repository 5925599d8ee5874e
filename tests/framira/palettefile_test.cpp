// The palette file and the ramp rule, without a window.
#include <cstdio>
#include <cstring>
#include <limits>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/framira.h"
#include "tests/support/safe_write_cases.h"

namespace
{

using framira::PaletteStatus;
using framira::PaletteTable;

// A table whose every entry differs: entry i is (i/255, 1 - i/255, i%7/7),
// nodes at 0, 100 and 255.
PaletteTable Sample()
{
    PaletteTable t;
    for (int i = 0; i < 256; ++i) {
        t.colour[i][0] = float(i / 255.0);
        t.colour[i][1] = float(1.0 - i / 255.0);
        t.colour[i][2] = float((i % 7) / 7.0);
    }
    t.node[0] = t.node[100] = t.node[255] = true;
    return t;
}

bool SameTable(const PaletteTable& a, const PaletteTable& b)
{
    for (int i = 0; i < 256; ++i) {
        if (a.node[i] != b.node[i])
            return false;
        for (int k = 0; k < 3; ++k)
            if (a.colour[i][k] != b.colour[i][k])
                return false;
    }
    return true;
}

class PaletteFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char name[] = "/tmp/framira_palette_XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    void WriteBytes(const std::string& path, const std::string& bytes)
    {
        std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    }

    std::string folder;
};

TEST_F(PaletteFile, SavedBytesFollowTheLayoutAndLoadBack)
{
    PaletteTable table = Sample();
    const std::string path = folder + "/ramp.pal";
    ASSERT_EQ(framira::WritePalette(path, table), PaletteStatus::ok);

    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 4100u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x01\x00\x00", 4));
    // Entry 255: red 1.0f, green 0.0f, blue (255 % 7) / 7, node word 1.
    EXPECT_EQ(bytes.substr(4 + 16 * 255, 4), std::string("\x00\x00\x80\x3f", 4));
    EXPECT_EQ(bytes.substr(4 + 16 * 255 + 4, 4), std::string(4, '\0'));
    EXPECT_EQ(bytes.substr(4 + 16 * 255 + 12, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(4 + 16 * 1 + 12, 4), std::string(4, '\0'));

    PaletteTable loaded;
    ASSERT_EQ(framira::ReadPalette(path, loaded), PaletteStatus::ok);
    EXPECT_TRUE(SameTable(loaded, table));
}

TEST_F(PaletteFile, OnlyAStoredOneIsANode)
{
    std::string bytes = framira::PaletteBytes(Sample());
    bytes[4 + 16 * 5 + 12] = 2;  // 2: not a node
    bytes[4 + 16 * 0 + 15] = 1;  // 0x01000001: not a node either
    bytes[4 + 16 * 9 + 12] = 1;  // 1: a node
    PaletteTable table;
    ASSERT_EQ(framira::ParsePalette(reinterpret_cast<const unsigned char*>(bytes.data()),
                                    bytes.size(), table),
              PaletteStatus::ok);
    EXPECT_FALSE(table.node[5]);
    EXPECT_FALSE(table.node[0]);
    EXPECT_TRUE(table.node[9]);
    EXPECT_TRUE(table.node[100]);
}

TEST_F(PaletteFile, RefusedFilesLeaveTheTableAsItWas)
{
    const std::string good = framira::PaletteBytes(Sample());
    std::string count255 = good, count257 = good;
    count255[0] = '\xff';
    count255[1] = 0;
    count257[0] = 1;
    count257[1] = 1;
    const struct {
        const char* name;
        std::string bytes;
        PaletteStatus expected;
        const char* message;
    } cases[] = {
        {"count 255", count255, PaletteStatus::incompatible, "Incompatible format."},
        {"count 257", count257, PaletteStatus::incompatible, "Incompatible format."},
        {"short", good.substr(0, 4 + 16 * 100 + 7), PaletteStatus::readError,
         "Error during reading"},
        {"count only", good.substr(0, 4), PaletteStatus::readError, "Error during reading"},
        {"empty", "", PaletteStatus::readError, "Error during reading"},
    };
    for (const auto& c : cases) {
        const std::string path = folder + "/bad.pal";
        WriteBytes(path, c.bytes);
        PaletteTable table; // all zero, no nodes
        table.colour[7][1] = 0.25f;
        const PaletteTable before = table;
        const PaletteStatus status = framira::ReadPalette(path, table);
        EXPECT_EQ(status, c.expected) << c.name;
        EXPECT_STREQ(framira::PaletteMessage(status, true), c.message) << c.name;
        EXPECT_TRUE(SameTable(table, before)) << c.name;
    }
}

TEST_F(PaletteFile, ColoursOutsideZeroToOneKeepTheTablesValues)
{
    const struct {
        const char* name;
        float value;
    } cases[] = {{"2.0", 2.0f},
                 {"just above 1", 1.0000001f},
                 {"negative", -0.25f},
                 {"NaN", std::numeric_limits<float>::quiet_NaN()},
                 {"infinite", std::numeric_limits<float>::infinity()}};
    for (const auto& c : cases) {
        std::string bytes = framira::PaletteBytes(Sample());
        std::memcpy(&bytes[4 + 16 * 7 + 4], &c.value, 4);  // green of entry 7
        std::memcpy(&bytes[4 + 16 * 200], &c.value, 4);    // red of entry 200
        PaletteTable table; // all zero
        table.colour[7][1] = 0.25f;
        int outOfRange = -1;
        ASSERT_EQ(framira::ParsePalette(reinterpret_cast<const unsigned char*>(bytes.data()),
                                        bytes.size(), table, &outOfRange),
                  PaletteStatus::ok)
            << c.name;
        EXPECT_EQ(outOfRange, 2) << c.name;
        EXPECT_EQ(table.colour[7][1], 0.25f) << c.name;
        EXPECT_EQ(table.colour[200][0], 0.0f) << c.name;
        EXPECT_EQ(table.colour[200][1], Sample().colour[200][1]) << c.name;
        EXPECT_TRUE(table.node[100]) << c.name;
    }
}

TEST_F(PaletteFile, FilesThatCannotBeOpenedOrWrittenAreReported)
{
    PaletteTable table = Sample();
    const PaletteTable before = table;
    const PaletteStatus missing = framira::ReadPalette(folder + "/none.pal", table);
    EXPECT_STREQ(framira::PaletteMessage(missing, true), "Unable to open file for reading");
    EXPECT_TRUE(SameTable(table, before));
    const PaletteStatus noFolder = framira::WritePalette(folder + "/no/such/x.pal", table);
    EXPECT_STREQ(framira::PaletteMessage(noFolder, false), "Unable to open file for writing");
    // A device is refused, not replaced by a regular file.
    if (std::ifstream("/dev/full")) {
        const PaletteStatus full = framira::WritePalette("/dev/full", table);
        EXPECT_STREQ(framira::PaletteMessage(full, false), "Unable to open file for writing");
        struct stat st {
        };
        ASSERT_EQ(::stat("/dev/full", &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode));
    }
}

TEST_F(PaletteFile, AFailedSaveKeepsTheOldPalette)
{
    brantel::test::ExpectEachWriteFailureKeepsTheOldFile("ramp.pal", [](const std::string& path, const std::string&) {
        std::string cause;
        std::vector<std::string> shown;
        const PaletteStatus status = framira::WritePalette(path, Sample(), &cause);
        if (status != PaletteStatus::ok)
            shown.push_back(std::string(framira::PaletteMessage(status, false)) + "\n" + cause);
        return shown;
    });
}

TEST(PaletteRamp, RampsRunFromNodeToNode)
{
    struct Case {
        const char* name;
        std::vector<int> nodes;
        // (index, expected red) with red of entry i starting as i % 2.
        std::vector<std::pair<int, float>> expected;
    };
    const Case cases[] = {
        {"no nodes", {}, {{0, 0.f}, {1, 1.f}, {255, 1.f}}},
        {"one node", {10}, {{9, 1.f}, {10, 0.f}, {11, 1.f}}},
        // 10 (0.0) to 20 (0.0): flat; 21 (1.0) keeps its value, 20..21 spans
        {"two nodes",
         {10, 20},
         {{9, 1.f}, {10, 0.f}, {15, 0.f}, {19, 0.f}, {20, 0.f}, {21, 1.f}}},
        // 0 (0.0) to 255 (1.0): entry i = i / 255 in double, stored as float.
        {"whole table",
         {0, 255},
         {{0, 0.f}, {1, float(1.0 / 255.0)}, {128, float(128.0 / 255.0)}, {255, 1.f}}},
        // 2 (0.0), 5 (1.0), 8 (0.0): up then down; 5 is the start of the second span.
        {"three nodes",
         {2, 5, 8},
         {{1, 1.f}, {3, float(1.0 / 3.0)}, {5, 1.f}, {6, float(1.0 - 1.0 / 3.0)}, {8, 0.f},
          {9, 1.f}}},
    };
    for (const Case& c : cases) {
        PaletteTable t;
        for (int i = 0; i < 256; ++i) {
            t.colour[i][0] = float(i % 2);
            t.colour[i][1] = 0.5f;
            t.colour[i][2] = float(i % 2);
        }
        for (int n : c.nodes)
            t.node[n] = true;
        framira::MakeRamp(t);
        for (const auto& [i, red] : c.expected) {
            EXPECT_EQ(t.colour[i][0], red) << c.name << " entry " << i;
            EXPECT_EQ(t.colour[i][2], red) << c.name << " entry " << i;
            EXPECT_EQ(t.colour[i][1], 0.5f) << c.name << " entry " << i;
        }
    }
}

} // namespace
