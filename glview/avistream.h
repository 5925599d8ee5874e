// Records frames into an uncompressed AVI file: RIFF "AVI " with a header
// list (main header, a video stream and a caption stream), a "movi" list
// of one "00db" chunk per frame and an "idx1" index of key frames. The
// frames go into a temporary file beside the file (afx::SafeFileWriter),
// which replaces an older file only when End finished it: after any failed
// write the older file stays byte for byte and no temporary is left.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/afx.h"

namespace afx {
class SafeFileWriter;
}

class AVIStreamContainer : public CObject {
    DECLARE_DYNAMIC(AVIStreamContainer)
public:
    AVIStreamContainer(int unused, int rate);
    ~AVIStreamContainer() override;
    AVIStreamContainer(const AVIStreamContainer&) = delete;
    AVIStreamContainer& operator=(const AVIStreamContainer&) = delete;

    // Version of the video writer: 1.10.
    static std::uint32_t VideoVersion() { return 0x010A0000; }
    // The compressors on offer; frames are stored uncompressed.
    static std::vector<std::string> Compressors() { return {"uncompressed"}; }

    // Creates the file for frames of the given format (BI_RGB, 8, 16, 24 or
    // 32 bits, bottom-up; at 8 bits the colour table follows the header,
    // colours used 0 meaning 256). False, with no file left and an older
    // file as it was, for an uncreatable path or one that may not be
    // replaced (read-only file or folder, not a regular file), a rate of 0
    // or less or an unsupported format.
    bool Start(CString path, const BITMAPINFOHEADER* format);
    // Writes frame number `frame` (the next one) of `size` bytes (the frame
    // size) as a key frame. The caption is not written.
    bool Stream(const void* bits, long size, CString caption, int frame);
    // Writes the index and the final sizes and counts, closes the file and
    // puts it in place of an older one. False when a write failed, here or
    // in Stream: the older file is then kept and the new one dropped.
    bool End();

    bool IsOpen() const { return m_writer != nullptr; }
    int FrameCount() const { return static_cast<int>(m_index.size()); }

    int m_nUnused;
    int m_nFrameRate;

private:
    struct IndexEntry {
        std::uint32_t offset;
        std::uint32_t size;
    };
    std::unique_ptr<afx::SafeFileWriter> m_writer;
    std::uint32_t m_frameSize = 0;
    std::uint64_t m_moviStart = 0;      // position of the "movi" identifier
    std::uint64_t m_end = 0;            // bytes written so far
    std::vector<IndexEntry> m_index;
    bool m_failed = false;
};
