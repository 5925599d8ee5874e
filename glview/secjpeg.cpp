#include "glview/secjpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr std::size_t kBufferSize = 4096;
constexpr std::size_t kMaxWarnings = 16;

// Errors jump back to the operation instead of ending the process;
// warnings are collected instead of printed.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    std::vector<std::string>* warnings;
    bool insertedEnd;
};

[[noreturn]] void OnErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void OnEmitMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level >= 0 || err->warnings == nullptr)
        return;     // trace messages
    // Running into the end marker that the source put in for missing data
    // is a consequence of the premature end already reported.
    if (err->insertedEnd && err->pub.msg_code == JWRN_HIT_MARKER)
        return;
    if (err->warnings->size() >= kMaxWarnings)
        return;
    char text[JMSG_LENGTH_MAX];
    (*err->pub.format_message)(cinfo, text);
    err->warnings->emplace_back(text);
}

void OnOutputMessage(j_common_ptr) {}

void InstallErrors(ErrorManager& err, std::vector<std::string>* warnings) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnErrorExit;
    err.pub.emit_message = OnEmitMessage;
    err.pub.output_message = OnOutputMessage;
    err.warnings = warnings;
    err.insertedEnd = false;
}

struct Source {
    jpeg_source_mgr pub;
    ImageStream* stream;
    JOCTET* buffer;
    bool startOfFile;
};

void SourceInit(j_decompress_ptr cinfo) {
    reinterpret_cast<Source*>(cinfo->src)->startOfFile = true;
}

boolean SourceFill(j_decompress_ptr cinfo) {
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    std::size_t got = src->stream->Read(src->buffer, kBufferSize);
    if (got == 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        reinterpret_cast<ErrorManager*>(cinfo->err)->insertedEnd = true;
        // An end-of-image marker in place of the missing data.
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        got = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = got;
    src->startOfFile = false;
    return TRUE;
}

void SourceSkip(j_decompress_ptr cinfo, long count) {
    auto* src = reinterpret_cast<Source*>(cinfo->src);
    if (count <= 0)
        return;
    while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        SourceFill(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
}

void SourceTerm(j_decompress_ptr) {}

struct Destination {
    jpeg_destination_mgr pub;
    ImageStream* stream;
    JOCTET* buffer;
};

void DestInit(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    dest->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, kBufferSize));
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
}

boolean DestEmpty(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    if (!dest->stream->Write(dest->buffer, kBufferSize))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferSize;
    return TRUE;
}

void DestTerm(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<Destination*>(cinfo->dest);
    const std::size_t used = kBufferSize - dest->pub.free_in_buffer;
    if (used > 0 && !dest->stream->Write(dest->buffer, used))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    if (!dest->stream->Flush())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

} // namespace

IMPLEMENT_DYNAMIC(SECJpeg, SECImage)

SECJpeg::SECJpeg() {
    // Quantising serves displays of 8 bits or less; the display here has 24.
    m_bQuantize = m_nDisplayBits != 0 && m_nDisplayBits <= 8;
}

bool SECJpeg::ReadFormat(ImageStream& stream) {
    m_Warnings.clear();
    // Everything with a destructor exists before the jump point.
    SECDib image;
    std::vector<std::string> warnings;
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    InstallErrors(err, &warnings);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        m_Warnings = std::move(warnings);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    auto* src = static_cast<Source*>((*cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_PERMANENT, sizeof(Source)));
    src->buffer = static_cast<JOCTET*>((*cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_PERMANENT, kBufferSize));
    src->stream = &stream;
    src->pub.init_source = SourceInit;
    src->pub.fill_input_buffer = SourceFill;
    src->pub.skip_input_data = SourceSkip;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = SourceTerm;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
    cinfo.src = &src->pub;

    jpeg_read_header(&cinfo, TRUE);
    if (m_bQuantize) {
        cinfo.out_color_space = JCS_RGB;
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = 256;
    } else {
        // Rows come out blue-green-red, the order of the pixels in memory;
        // greyscale is expanded into the three bytes.
        cinfo.out_color_space = JCS_EXT_BGR;
    }
    jpeg_calc_output_dimensions(&cinfo);
    const std::size_t width = cinfo.output_width;
    const std::size_t height = cinfo.output_height;
    if (width == 0 || height == 0 || width * 4 > kMaxRaster / height) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    const bool mapped = cinfo.quantize_colors && cinfo.colormap != nullptr;
    if (!image.CreateImage(cinfo.output_width, cinfo.output_height, mapped ? 8 : 24)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (mapped) {
        const bool grey = cinfo.out_color_components == 1;
        for (int i = 0; i < cinfo.actual_number_of_colors && i < 256; ++i) {
            const JSAMPLE r = cinfo.colormap[0][i];
            const JSAMPLE g = grey ? r : cinfo.colormap[1][i];
            const JSAMPLE b = grey ? r : cinfo.colormap[2][i];
            image.m_Colors[static_cast<std::size_t>(i)] = RGBQUAD{b, g, r, 0};
        }
    }
    // The file's rows run top-down; memory rows bottom-up.
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.Row(cinfo.output_height - 1 - cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    m_Warnings = std::move(warnings);
    TakeOver(image);
    return true;
}

bool SECJpeg::WriteFormat(ImageStream& stream) {
    if (IsEmpty() || m_nWidth > JPEG_MAX_DIMENSION || m_nHeight > JPEG_MAX_DIMENSION)
        return false;
    std::vector<std::uint8_t> expanded(3 * static_cast<std::size_t>(m_nWidth));
    jpeg_compress_struct cinfo;
    ErrorManager err;
    InstallErrors(err, nullptr);
    cinfo.err = &err.pub;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    auto* dest = static_cast<Destination*>((*cinfo.mem->alloc_small)(
        reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_PERMANENT, sizeof(Destination)));
    dest->stream = &stream;
    dest->pub.init_destination = DestInit;
    dest->pub.empty_output_buffer = DestEmpty;
    dest->pub.term_destination = DestTerm;
    cinfo.dest = &dest->pub;

    cinfo.image_width = m_nWidth;
    cinfo.image_height = m_nHeight;
    cinfo.input_components = 3;
    // Pixels are blue-green-red in memory; the file stays standard RGB.
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, m_nQuality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const unsigned y = m_nHeight - 1 - cinfo.next_scanline;
        JSAMPROW row;
        if (m_nBitsPerPixel == 24) {
            row = Row(y);
        } else {
            for (unsigned x = 0; x < m_nWidth; ++x) {
                const RGBQUAD c = GetColor(x, y);
                expanded[3 * x] = c.rgbBlue;
                expanded[3 * x + 1] = c.rgbGreen;
                expanded[3 * x + 2] = c.rgbRed;
            }
            row = expanded.data();
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
