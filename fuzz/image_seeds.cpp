// Writes the seed corpus of the fuzz targets with the image writers and the
// colour record's:
// image_seeds <folder> makes <folder>/<target>/<seed files>.
#include <filesystem>
#include <fstream>
#include <string>

#include "glview/lumetra.h"

namespace fs = std::filesystem;

namespace {

void Pattern(SECImage& image, unsigned width, unsigned height, int bits) {
    image.CreateImage(width, height, bits);
    for (std::size_t i = 0; i < image.m_Colors.size(); ++i)
        image.m_Colors[i] = RGBQUAD{static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i),
                                    static_cast<std::uint8_t>(i), 0};
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x) {
            if (bits == 24) {
                std::uint8_t* p = image.Row(y) + 3 * x;
                p[0] = static_cast<std::uint8_t>(x * 9);
                p[1] = static_cast<std::uint8_t>(y * 17);
                p[2] = static_cast<std::uint8_t>((x / 4) * 60);
            } else {
                image.SetIndex(image.Row(y), x, (x / 3 + y) % image.m_Colors.size());
            }
        }
}

void Save(SECImage& image, const fs::path& file) {
    if (!image.SaveToPath(file.string().c_str()))
        std::fprintf(stderr, "image_seeds: cannot write %s\n", file.string().c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image_seeds <folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    for (const char* target : {"fuzz_bmp", "fuzz_archive", "fuzz_jpeg", "fuzz_tiff", "fuzz_targa", "fuzz_pcx",
                               "fuzz_factory"})
        fs::create_directories(root / target);
    int n = 0;
    for (int bits : {1, 4, 8, 24}) {
        const std::string name = "seed" + std::to_string(n++);
        SECDib dib;
        Pattern(dib, 13, 5, bits);
        Save(dib, root / "fuzz_bmp" / name);
        Save(dib, root / "fuzz_archive" / name);
        Save(dib, root / "fuzz_factory" / (name + "_bmp"));
        SECPcx pcx;
        Pattern(pcx, 13, 5, bits == 24 ? 8 : bits);
        Save(pcx, root / "fuzz_pcx" / name);
        Save(pcx, root / "fuzz_factory" / (name + "_pcx"));
        SECTarga tga;
        Pattern(tga, 13, 5, bits);
        Save(tga, root / "fuzz_targa" / name);
        Save(tga, root / "fuzz_factory" / (name + "_tga"));
        SECTiff tif;
        Pattern(tif, 13, 5, bits);
        tif.m_nCompression = bits == 1 ? 3 : 32773;
        Save(tif, root / "fuzz_tiff" / (name + "_a"));
        tif.m_nCompression = 1;
        Save(tif, root / "fuzz_tiff" / (name + "_b"));
    }
    SECJpeg jpg;
    Pattern(jpg, 24, 16, 24);
    Save(jpg, root / "fuzz_jpeg" / "seed_colour");
    Save(jpg, root / "fuzz_factory" / "seed_jpg");
    jpg.m_nQuality = 20;
    Save(jpg, root / "fuzz_jpeg" / "seed_low");

    // The colour and light settings record, bare and as an archived object.
    fs::create_directories(root / "fuzz_colorinfo");
    const COGLColorInfo settings;
    CFile record((root / "fuzz_colorinfo" / "seed_record").string().c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive recordArchive(&record, CArchive::store);
    COGLColorInfo::StoreGlobal(recordArchive);
    recordArchive.Close();
    CFile object((root / "fuzz_colorinfo" / "seed_object").string().c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive objectArchive(&object, CArchive::store);
    objectArchive.WriteObject(&settings);
    objectArchive.Close();
    return 0;
}
