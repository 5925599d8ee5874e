#include "glview/avistream.h"

#include <cstring>

#include "glview/image_bytes.h"
#include "platform/afx/safefile.h"

using namespace imgbytes;

namespace {

constexpr std::uint32_t AVIF_HASINDEX = 0x10;
constexpr std::uint32_t AVIIF_KEYFRAME = 0x10;
constexpr std::uint64_t kMaxFileSize = 0x7FFFFFFF;

// Positions of the fields End patches.
constexpr long kRiffSize = 4;
constexpr long kTotalFrames = 48;       // avih dwTotalFrames
constexpr long kVideoLength = 140;      // video strh dwLength

void AppendFourCC(std::vector<std::uint8_t>& out, const char* fourcc) {
    out.insert(out.end(), fourcc, fourcc + 4);
}

// Patches a field; a failure throws CFileException.
void PutAt(CFile& file, std::uint64_t position, std::uint32_t value) {
    std::uint8_t bytes[4];
    Put32(bytes, value);
    file.Seek(static_cast<LONGLONG>(position), CFile::begin);
    file.Write(bytes, 4);
}

} // namespace

IMPLEMENT_DYNAMIC(AVIStreamContainer, CObject)

AVIStreamContainer::AVIStreamContainer(int unused, int rate) : m_nUnused(unused), m_nFrameRate(rate) {}

AVIStreamContainer::~AVIStreamContainer() {
    End();
}

bool AVIStreamContainer::Start(CString path, const BITMAPINFOHEADER* format) {
    if (IsOpen() || VideoVersion() <= 0x0109FFFF || m_nFrameRate <= 0 || format == nullptr || path.IsEmpty())
        return false;
    const int bits = format->biBitCount;
    if (format->biCompression != BI_RGB || format->biWidth <= 0 || format->biHeight <= 0 ||
        format->biPlanes != 1 || (bits != 8 && bits != 16 && bits != 24 && bits != 32))
        return false;
    const std::uint64_t frameSize =
        static_cast<std::uint64_t>(DibStride(static_cast<std::size_t>(format->biWidth), bits)) *
        static_cast<std::uint64_t>(format->biHeight);
    if (frameSize > kMaxFileSize)
        return false;
    std::uint32_t colors = 0;
    if (bits == 8) {
        colors = format->biClrUsed == 0 ? 256 : format->biClrUsed;
        if (colors > 256)
            return false;
    }
    m_frameSize = static_cast<std::uint32_t>(frameSize);

    // The stream format: the header, with the frame size, and its colour table.
    std::vector<std::uint8_t> strf(sizeof(BITMAPINFOHEADER) + 4 * colors);
    BITMAPINFOHEADER header = *format;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biSizeImage = m_frameSize;
    header.biClrUsed = colors;
    std::memcpy(strf.data(), &header, sizeof header);
    if (colors > 0)
        std::memcpy(strf.data() + sizeof header, reinterpret_cast<const std::uint8_t*>(format) + format->biSize,
                    4 * colors);

    const auto rate = static_cast<std::uint32_t>(m_nFrameRate);
    std::vector<std::uint8_t> out;
    AppendFourCC(out, "RIFF");
    Append32(out, 0);                               // patched by End
    AppendFourCC(out, "AVI ");
    AppendFourCC(out, "LIST");
    const std::size_t hdrlSize = out.size();
    Append32(out, 0);
    AppendFourCC(out, "hdrl");
    AppendFourCC(out, "avih");
    Append32(out, 56);
    Append32(out, 1000000u / rate);                 // microseconds a frame
    Append32(out, static_cast<std::uint32_t>(std::min<std::uint64_t>(frameSize * rate, 0xFFFFFFFFu)));
    Append32(out, 0);                               // padding granularity
    Append32(out, AVIF_HASINDEX);
    Append32(out, 0);                               // total frames, patched
    Append32(out, 0);                               // initial frames
    Append32(out, 2);                               // streams
    Append32(out, m_frameSize);                     // suggested buffer
    Append32(out, static_cast<std::uint32_t>(format->biWidth));
    Append32(out, static_cast<std::uint32_t>(format->biHeight));
    for (int i = 0; i < 4; ++i)
        Append32(out, 0);

    // Video stream.
    AppendFourCC(out, "LIST");
    const std::size_t videoListSize = out.size();
    Append32(out, 0);
    AppendFourCC(out, "strl");
    AppendFourCC(out, "strh");
    Append32(out, 56);
    AppendFourCC(out, "vids");
    Append32(out, 0);                               // handler: uncompressed
    Append32(out, 0);                               // flags
    Append16(out, 0);                               // priority
    Append16(out, 0);                               // language
    Append32(out, 0);                               // initial frames
    Append32(out, 1);                               // scale
    Append32(out, rate);
    Append32(out, 0);                               // start
    Append32(out, 0);                               // length, patched
    Append32(out, m_frameSize);                     // suggested buffer
    Append32(out, 0xFFFFFFFFu);                     // quality: default
    Append32(out, 0);                               // sample size
    Append16(out, 0);
    Append16(out, 0);
    Append16(out, static_cast<unsigned>(format->biWidth));
    Append16(out, static_cast<unsigned>(format->biHeight));
    AppendFourCC(out, "strf");
    Append32(out, static_cast<std::uint32_t>(strf.size()));
    out.insert(out.end(), strf.begin(), strf.end());
    Put32(&out[videoListSize], static_cast<std::uint32_t>(out.size() - videoListSize - 4));

    // Caption stream: text drawn over the video, 60 a second.
    AppendFourCC(out, "LIST");
    const std::size_t textListSize = out.size();
    Append32(out, 0);
    AppendFourCC(out, "strl");
    AppendFourCC(out, "strh");
    Append32(out, 56);
    AppendFourCC(out, "txts");
    AppendFourCC(out, "DRAW");
    Append32(out, 0);
    Append16(out, 0);
    Append16(out, 0);
    Append32(out, 0);
    Append32(out, 1);                               // scale
    Append32(out, 60);                              // rate
    Append32(out, 0);
    Append32(out, 0);
    Append32(out, 260);                             // suggested buffer
    Append32(out, 0xFFFFFFFFu);
    Append32(out, 0);
    for (int i = 0; i < 4; ++i)
        Append16(out, 0);
    AppendFourCC(out, "strf");
    Append32(out, 4);
    Append32(out, 4);
    Put32(&out[textListSize], static_cast<std::uint32_t>(out.size() - textListSize - 4));
    Put32(&out[hdrlSize], static_cast<std::uint32_t>(out.size() - hdrlSize - 4));

    AppendFourCC(out, "LIST");
    Append32(out, 0);                               // patched by End
    m_moviStart = out.size();
    AppendFourCC(out, "movi");

    try {
        auto writer = std::make_unique<afx::SafeFileWriter>(path);
        writer->File().Write(out.data(), static_cast<UINT>(out.size()));
        m_writer = std::move(writer);
    } catch (const std::exception&) {
        return false; // the writer removed its temporary file
    }
    m_index.clear();
    m_failed = false;
    m_end = out.size();
    return true;
}

bool AVIStreamContainer::Stream(const void* bits, long size, CString, int frame) {
    if (!IsOpen() || m_failed || bits == nullptr || frame != FrameCount() || size < 0 ||
        static_cast<std::uint64_t>(size) != m_frameSize)
        return false;
    const std::uint64_t chunk = 8 + m_frameSize + (m_frameSize & 1);
    // The file, with this frame and the whole index, must stay below 2 GiB.
    const std::uint64_t index = 8 + 16 * (static_cast<std::uint64_t>(m_index.size()) + 1);
    if (m_end + chunk + index > kMaxFileSize)
        return false;
    std::uint8_t head[8] = {'0', '0', 'd', 'b'};
    Put32(head + 4, m_frameSize);
    const std::uint8_t pad = 0;
    try {
        CFile& file = m_writer->File();
        file.Write(head, 8);
        file.Write(bits, m_frameSize);
        if ((m_frameSize & 1) != 0)
            file.Write(&pad, 1);
    } catch (const std::exception&) {
        m_failed = true;
        return false;
    }
    m_index.push_back({static_cast<std::uint32_t>(m_end - m_moviStart), m_frameSize});
    m_end += chunk;
    return true;
}

bool AVIStreamContainer::End() {
    if (!IsOpen())
        return true;
    std::vector<std::uint8_t> idx;
    if (!m_failed) {
        AppendFourCC(idx, "idx1");
        Append32(idx, static_cast<std::uint32_t>(16 * m_index.size()));
        for (const IndexEntry& e : m_index) {
            AppendFourCC(idx, "00db");
            Append32(idx, AVIIF_KEYFRAME);
            Append32(idx, e.offset);
            Append32(idx, e.size);
        }
    }
    const auto frames = static_cast<std::uint32_t>(m_index.size());
    bool ok = !m_failed;
    if (ok) {
        try {
            CFile& file = m_writer->File();
            file.Seek(static_cast<LONGLONG>(m_end), CFile::begin);
            file.Write(idx.data(), static_cast<UINT>(idx.size()));
            PutAt(file, kRiffSize, static_cast<std::uint32_t>(m_end + idx.size() - 8));
            PutAt(file, m_moviStart - 4, static_cast<std::uint32_t>(m_end - m_moviStart));
            PutAt(file, kTotalFrames, frames);
            PutAt(file, kVideoLength, frames);
            m_writer->Commit();
        } catch (const std::exception&) {
            ok = false;
        }
    }
    // Without a commit the writer drops its temporary file.
    m_writer.reset();
    m_index.clear();
    return ok;
}
