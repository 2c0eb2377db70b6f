// Picture sizes from PNG, JPEG, GIF and BMP headers.
#include "persistence/ImageHeader.h"

#include <cstdlib>
#include <fstream>

namespace {

uint64_t Big(std::string_view b, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

uint64_t Little(std::string_view b, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// Walks the JPEG's markers to the first start-of-frame, which holds the size.
void ReadJpegSize(std::string_view b, ImageHeader& h) {
    size_t at = 2;
    while (at + 9 <= b.size()) {
        if (static_cast<unsigned char>(b[at]) != 0xFF) return;
        const unsigned marker = static_cast<unsigned char>(b[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            h.height = Big(b, at + 5, 2);
            h.width = Big(b, at + 7, 2);
            return;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;
            continue;
        }
        at += 2 + Big(b, at + 2, 2);
    }
}

}  // namespace

ImageHeader ReadImageHeader(std::string_view b) {
    ImageHeader h;
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n" && b.substr(12, 4) == "IHDR") {
        h.kind = ImageKind::Png;
        h.width = Big(b, 16, 4);
        h.height = Big(b, 20, 4);
    } else if (b.size() >= 3 && b.substr(0, 3) == "\xFF\xD8\xFF") {
        h.kind = ImageKind::Jpeg;
        ReadJpegSize(b, h);
    } else if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a")) {
        h.kind = ImageKind::Gif;
        h.width = Little(b, 6, 2);
        h.height = Little(b, 8, 2);
    } else if (b.size() >= 26 && b.substr(0, 2) == "BM") {
        h.kind = ImageKind::Bmp;
        // Width and height are signed 32-bit values; a negative height is a top-down bitmap.
        const auto w = static_cast<int32_t>(Little(b, 18, 4));
        const auto ht = static_cast<int32_t>(Little(b, 22, 4));
        h.width = static_cast<uint64_t>(std::llabs(w));
        h.height = static_cast<uint64_t>(std::llabs(ht));
    }
    return h;
}

ImageHeader ReadImageHeaderOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(64 * 1024, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return ReadImageHeader(bytes);
}
