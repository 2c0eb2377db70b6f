// Tests of lines written straight into pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "canvas/PixelLines.h"

namespace {

constexpr uint32_t kGround = 0xFFFFFFFFu;
constexpr uint32_t kInk = 0xFF102030u;

// A 40 x 30 image with a border of 5 guard pixels around it in memory on every side.
struct Image {
    static constexpr int kW = 40, kH = 30, kGuard = 5, kStride = kW + 2 * kGuard;
    std::vector<uint32_t> memory = std::vector<uint32_t>(kStride * (kH + 2 * kGuard), kGround);
    PixelTarget target;
    Image() {
        target.pixels = memory.data() + kGuard * kStride + kGuard;
        target.width = kW;
        target.height = kH;
        target.stride = kStride;
        target.clipX1 = kW;
        target.clipY1 = kH;
    }
    uint32_t At(int x, int y) const { return memory[(y + kGuard) * kStride + x + kGuard]; }
    int Inked() const {
        int n = 0;
        for (uint32_t p : memory) n += p == kInk;
        return n;
    }
};

}  // namespace

TEST(PixelLines, StraightLinesCoverEveryPixelFromEndToEndAndNoMoreInTheOpaqueColour) {
    EXPECT_EQ(PixelWord(Rgb{0x10, 0x20, 0x30}), kInk);
    Image image;
    DrawPixelLine(image.target, 3, 4, 12, 4, kInk, 1);
    for (int x = 3; x <= 12; ++x) EXPECT_EQ(image.At(x, 4), kInk) << x;
    EXPECT_EQ(image.Inked(), 10);
    // Two pixels wide: the row above the line too.
    Image wide;
    DrawPixelLine(wide.target, 12, 10, 12, 2, kInk, 2);
    for (int y = 2; y <= 10; ++y) {
        EXPECT_EQ(wide.At(12, y), kInk) << y;
        EXPECT_EQ(wide.At(11, y), kInk) << y;
    }
    EXPECT_EQ(wide.Inked(), 18);
}

// A slanted line steps one pixel at a time along its longer axis.
TEST(PixelLines, SlantedLinesTakeOnePixelPerStepAndEndWhereAsked) {
    for (const auto& [x0, y0, x1, y1] : std::vector<std::array<int, 4>>{
             {1, 1, 30, 9}, {30, 9, 1, 1}, {5, 28, 9, 2}, {20, 3, 2, 20}, {7, 7, 7, 7}}) {
        Image image;
        DrawPixelLine(image.target, x0, y0, x1, y1, kInk, 1);
        EXPECT_EQ(image.At(x0, y0), kInk);
        EXPECT_EQ(image.At(x1, y1), kInk);
        EXPECT_EQ(image.Inked(), std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1)
            << x0 << "," << y0 << " to " << x1 << "," << y1;
    }
}

// Nothing is written outside the clip or the image, wherever the line runs.
TEST(PixelLines, ClipAndImageEdgesAreKept) {
    Image image;
    image.target.clipX0 = 10;
    image.target.clipY0 = 5;
    image.target.clipX1 = 20;
    image.target.clipY1 = 15;
    DrawPixelLine(image.target, -100, 10, 100, 10, kInk, 3);
    DrawPixelLine(image.target, 15, -50, 15, 80, kInk, 2);
    for (int y = -Image::kGuard; y < Image::kH + Image::kGuard; ++y)
        for (int x = -Image::kGuard; x < Image::kW + Image::kGuard; ++x) {
            const bool inside = x >= 10 && x < 20 && y >= 5 && y < 15;
            EXPECT_TRUE(inside || image.At(x, y) != kInk) << x << "," << y;
        }
    EXPECT_EQ(image.At(10, 10), kInk);
    EXPECT_EQ(image.At(19, 11), kInk);
    EXPECT_EQ(image.At(15, 5), kInk);
    // A clip reaching past the image is cut to the image.
    Image edge;
    edge.target.clipX0 = -10;
    edge.target.clipY0 = -10;
    edge.target.clipX1 = 100;
    edge.target.clipY1 = 100;
    DrawPixelLine(edge.target, -30, -30, 90, 90, kInk, 2);
    for (int x = -Image::kGuard; x < 0; ++x) EXPECT_NE(edge.At(x, x), kInk);
    EXPECT_EQ(edge.At(0, 0), kInk);
    EXPECT_EQ(edge.At(29, 29), kInk);
    EXPECT_NE(edge.At(Image::kW + 2, Image::kH + 2), kInk);
}

TEST(PixelLines, OriginShiftsTheLine) {
    Image image;
    image.target.originX = 5;
    image.target.originY = -2;
    DrawPixelLine(image.target, 0, 4, 3, 4, kInk, 1);
    EXPECT_EQ(image.At(5, 2), kInk);
    EXPECT_EQ(image.At(8, 2), kInk);
    EXPECT_EQ(image.Inked(), 4);
}
