#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <csignal>
#include <map>
#include <sys/resource.h>

#include "platform/afx/safefile.h"
#include "tests/lumetra/image_test_util.h"
#include "tests/support/write_failure_cases.h"

using namespace imgtest;
using namespace imgbytes;

namespace {

// A small reader of the files AVIStreamContainer writes: walks the RIFF
// tree, collects the frames of the "movi" list and the "idx1" entries.
struct AviFile {
    std::map<std::string, std::vector<std::uint8_t>> chunks;   // by id, first seen
    std::vector<std::string> lists;                            // list types, in order
    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<std::size_t> frameOffsets;                     // from the movi identifier
    std::size_t moviAt = 0;
    std::vector<std::uint8_t> index;
    bool ok = true;

    void Walk(const std::vector<std::uint8_t>& f, std::size_t pos, std::size_t end, bool inMovi) {
        while (ok && pos + 8 <= end) {
            const std::string id(reinterpret_cast<const char*>(&f[pos]), 4);
            const std::size_t size = Get32(&f[pos + 4]);
            if (pos + 8 + size > end) {
                ok = false;
                return;
            }
            if (id == "LIST") {
                const std::string type(reinterpret_cast<const char*>(&f[pos + 8]), 4);
                lists.push_back(type);
                if (type == "movi")
                    moviAt = pos + 8;
                Walk(f, pos + 12, pos + 8 + size, type == "movi");
            } else if (inMovi) {
                frames.emplace_back(f.begin() + static_cast<std::ptrdiff_t>(pos + 8),
                                    f.begin() + static_cast<std::ptrdiff_t>(pos + 8 + size));
                frameOffsets.push_back(pos - moviAt);
            } else {
                chunks.emplace(id, std::vector<std::uint8_t>(f.begin() + static_cast<std::ptrdiff_t>(pos + 8),
                                                             f.begin() + static_cast<std::ptrdiff_t>(pos + 8 + size)));
            }
            pos += 8 + size + (size & 1);
        }
    }

    explicit AviFile(const std::vector<std::uint8_t>& f) {
        if (f.size() < 12 || std::memcmp(f.data(), "RIFF", 4) != 0 || std::memcmp(&f[8], "AVI ", 4) != 0 ||
            Get32(&f[4]) + 8 != f.size()) {
            ok = false;
            return;
        }
        Walk(f, 12, f.size(), false);
    }
};

BITMAPINFOHEADER Format(int width, int height, int bits) {
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<std::uint16_t>(bits);
    h.biCompression = BI_RGB;
    return h;
}

std::vector<std::uint8_t> Frame(std::size_t size, int seed) {
    std::vector<std::uint8_t> f(size);
    for (std::size_t i = 0; i < size; ++i)
        f[i] = static_cast<std::uint8_t>(i * 7 + static_cast<std::size_t>(seed) * 31);
    return f;
}

} // namespace

TEST(Avi, FramesIndexAndHeaders) {
    const std::string path = Scratch("clip.avi");
    const BITMAPINFOHEADER format = Format(5, 3, 24);     // rows of 15 bytes padded to 16
    const std::size_t frameSize = 16 * 3;
    std::vector<std::vector<std::uint8_t>> written;
    {
        AVIStreamContainer avi(0, 12);
        ASSERT_TRUE(avi.Start(path, &format));
        for (int i = 0; i < 4; ++i) {
            written.push_back(Frame(frameSize, i));
            ASSERT_TRUE(avi.Stream(written.back().data(), static_cast<long>(frameSize), "caption", i));
        }
        EXPECT_FALSE(avi.Stream(written[0].data(), static_cast<long>(frameSize), "", 7));        // not the next
        EXPECT_FALSE(avi.Stream(written[0].data(), static_cast<long>(frameSize) - 1, "", 4));    // wrong size
        // The destructor ends the file.
    }
    const auto bytes = ReadFile(path);
    const AviFile file(bytes);
    ASSERT_TRUE(file.ok);
    EXPECT_EQ(file.lists, (std::vector<std::string>{"hdrl", "strl", "strl", "movi"}));
    ASSERT_EQ(file.frames.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(file.frames[i], written[i]);

    const auto& avih = file.chunks.at("avih");
    ASSERT_EQ(avih.size(), 56u);
    EXPECT_EQ(Get32(&avih[0]), 1000000u / 12);
    EXPECT_EQ(Get32(&avih[12]) & 0x10, 0x10u);            // has an index
    EXPECT_EQ(Get32(&avih[16]), 4u);                     // frames
    EXPECT_EQ(Get32(&avih[24]), 2u);                     // streams
    EXPECT_EQ(Get32(&avih[32]), 5u);
    EXPECT_EQ(Get32(&avih[36]), 3u);
    const auto& strh = file.chunks.at("strh");           // the video stream's
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(strh.data()), 4), "vids");
    EXPECT_EQ(Get32(&strh[24]), 12u);                    // rate
    EXPECT_EQ(Get32(&strh[32]), 4u);                     // length
    const auto& strf = file.chunks.at("strf");
    EXPECT_EQ(Get32(&strf[0]), 40u);
    EXPECT_EQ(Get16(&strf[14]), 24u);
    EXPECT_NE(std::search(bytes.begin(), bytes.end(), std::begin("txtsDRAW"), std::end("txtsDRAW") - 1), bytes.end());

    const auto& idx = file.chunks.at("idx1");
    ASSERT_EQ(idx.size(), 4u * 16);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(std::memcmp(&idx[16 * i], "00db", 4), 0);
        EXPECT_EQ(Get32(&idx[16 * i + 4]), 0x10u);       // key frame
        EXPECT_EQ(Get32(&idx[16 * i + 8]), file.frameOffsets[i]);
        EXPECT_EQ(Get32(&idx[16 * i + 12]), frameSize);
    }
    EXPECT_EQ(file.frameOffsets[0], 4u);
}

// A recording replaces an older file only when End finished it: disk full
// and a read-only folder or file refuse Start, an I/O error at the rename
// fails End; each keeps the older file and leaves no temporary.
TEST(Avi, AFailedRecordingKeepsTheOlderFile) {
    const BITMAPINFOHEADER format = Format(5, 3, 24);
    const auto frame = Frame(16 * 3, 1);
    brantel::test::ForEachWriteFailure(
        "clip.avi", [](safereplace::Step step) { afx::SafeFileWriter::InjectFailure(step); },
        [&](const std::string& path, const brantel::test::WriteFailureCase& c) {
            AVIStreamContainer avi(0, 12);
            const bool started = avi.Start(path, &format);
            if (c.step != safereplace::Step::rename) {
                EXPECT_FALSE(started);
                EXPECT_FALSE(avi.IsOpen());
                return;
            }
            ASSERT_TRUE(started);
            EXPECT_TRUE(avi.Stream(frame.data(), static_cast<long>(frame.size()), "", 0));
            EXPECT_FALSE(avi.End());
            EXPECT_FALSE(avi.IsOpen());
        });
}

// A file-size limit reached after the start fails the frame and End; the
// older file stays. Without the limit the next recording replaces it.
TEST(Avi, AWriteFailingMidwayKeepsTheOlderFile) {
    std::string pattern = ::testing::TempDir() + "avi_XXXXXX";
    const std::string folder = ::mkdtemp(pattern.data());
    const std::string path = folder + "/clip.avi";
    const std::vector<std::uint8_t> old = {'o', 'l', 'd', 0, 0xff};
    WriteFile(path, old);
    const BITMAPINFOHEADER format = Format(64, 64, 24);
    const auto frame = Frame(64 * 64 * 3, 2);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    {
        AVIStreamContainer avi(0, 12);
        ASSERT_TRUE(avi.Start(path, &format));
        rlimit small = limit;
        small.rlim_cur = 8192;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool streamed = avi.Stream(frame.data(), static_cast<long>(frame.size()), "", 0);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_FALSE(streamed);
        EXPECT_FALSE(avi.End());
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(brantel::test::FolderNames(folder), std::vector<std::string>{"clip.avi"});

    {
        AVIStreamContainer avi(0, 12);
        ASSERT_TRUE(avi.Start(path, &format));
        ASSERT_TRUE(avi.Stream(frame.data(), static_cast<long>(frame.size()), "", 0));
        EXPECT_TRUE(avi.End());
    }
    const AviFile file(ReadFile(path));
    ASSERT_TRUE(file.ok);
    ASSERT_EQ(file.frames.size(), 1u);
    EXPECT_EQ(file.frames[0], frame);
    EXPECT_EQ(brantel::test::FolderNames(folder), std::vector<std::string>{"clip.avi"});
    std::filesystem::remove_all(folder);
}

TEST(Avi, EightBitFramesCarryTheirTable) {
    std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 4 * 256, 0);
    BITMAPINFOHEADER format = Format(4, 2, 8);
    std::memcpy(info.data(), &format, sizeof format);
    info[sizeof format + 4 * 255 + 2] = 0xEE;             // red of entry 255
    const std::string path = Scratch("mapped.avi");
    AVIStreamContainer avi(0, 25);
    ASSERT_TRUE(avi.Start(path, reinterpret_cast<BITMAPINFOHEADER*>(info.data())));
    const auto frame = Frame(8, 1);
    ASSERT_TRUE(avi.Stream(frame.data(), 8, "", 0));
    ASSERT_TRUE(avi.End());
    EXPECT_FALSE(avi.IsOpen());
    const AviFile file(ReadFile(path));
    ASSERT_TRUE(file.ok);
    const auto& strf = file.chunks.at("strf");
    ASSERT_EQ(strf.size(), 40u + 1024);
    EXPECT_EQ(Get32(&strf[32]), 256u);
    EXPECT_EQ(strf[40 + 4 * 255 + 2], 0xEE);
    ASSERT_EQ(file.frames.size(), 1u);
}

TEST(Avi, StartRefusals) {
    const BITMAPINFOHEADER good = Format(4, 4, 24);
    struct Case {
        const char* name;
        std::string path;
        int rate;
        BITMAPINFOHEADER format;
    };
    BITMAPINFOHEADER rle = good;
    rle.biCompression = 1;
    BITMAPINFOHEADER topDown = good;
    topDown.biHeight = -4;
    const std::vector<Case> cases = {
        {"uncreatable", (ScratchDir() / "no" / "such" / "dir.avi").string(), 10, good},
        {"rate 0", Scratch("r0.avi"), 0, good},
        {"negative rate", Scratch("rn.avi"), -5, good},
        {"4 bits", Scratch("b4.avi"), 10, Format(4, 4, 4)},
        {"compressed", Scratch("rle.avi"), 10, rle},
        {"top-down", Scratch("td.avi"), 10, topDown},
        {"empty", Scratch("e.avi"), 10, Format(0, 4, 24)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AVIStreamContainer avi(0, c.rate);
        EXPECT_FALSE(avi.Start(c.path, &c.format));
        EXPECT_FALSE(avi.IsOpen());
        EXPECT_FALSE(std::filesystem::exists(c.path));
        EXPECT_FALSE(avi.Stream("x", 1, "", 0));
    }
    AVIStreamContainer avi(0, 10);
    EXPECT_FALSE(avi.Start(Scratch("null.avi"), nullptr));
    EXPECT_EQ(AVIStreamContainer::Compressors(), std::vector<std::string>{"uncompressed"});
}

TEST(Avi, OtherReadersAgreeWhenPresent) {
    if (std::system("ffprobe -version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "ffprobe not installed";
    const std::string path = Scratch("probe.avi");
    const BITMAPINFOHEADER format = Format(6, 4, 32);
    {
        AVIStreamContainer avi(0, 10);
        ASSERT_TRUE(avi.Start(path, &format));
        const auto frame = Frame(6 * 4 * 4, 0);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(avi.Stream(frame.data(), static_cast<long>(frame.size()), "", i));
    }
    const std::string out = Scratch("probe.txt");
    const std::string command = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                "stream=nb_read_frames,width,height -of csv=p=0 '" + path + "' > '" + out + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto text = ReadFile(out);
    EXPECT_EQ(std::string(text.begin(), text.end()).substr(0, 5), "6,4,3");
}
