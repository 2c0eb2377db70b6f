// The pixel size of a picture file read from its first bytes, so that a picture too large to
// hold can be refused before it is decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Pictures above this many pixels are refused or reduced rather than decoded whole.
inline constexpr uint64_t kMaxPicturePixels = 100'000'000;

enum class ImageKind { Unknown, Png, Jpeg, Gif, Bmp };

struct ImageHeader {
    ImageKind kind = ImageKind::Unknown;
    uint64_t width = 0;  // 0 when the header does not tell
    uint64_t height = 0;
    uint64_t Pixels() const { return width * height; }
};

// Reads the kind and size from the leading bytes of a PNG, JPEG, GIF or BMP file (a JPEG's size
// may lie further in: pass up to the first 64 KiB). Other kinds, and headers cut short, give
// Unknown or a size of 0.
ImageHeader ReadImageHeader(std::string_view bytes);
// The same for a file (its first 64 KiB).
ImageHeader ReadImageHeaderOf(const std::string& path);
