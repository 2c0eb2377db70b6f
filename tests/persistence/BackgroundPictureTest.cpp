// Background pictures: calibration and alignment put image pixels where they belong, the layout
// file keeps pictures with relative or absolute paths, a layout without them is written as
// before, and every edit is one undo step.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "model/BackgroundPicture.h"
#include "model/LayoutDocument.h"
#include "persistence/FileTestSupport.h"
#include "persistence/ImageHeader.h"
#include "persistence/LayoutFile.h"

namespace {

constexpr double kImageWidth = 6000;  // pixels

void ExpectNear(PointMm got, PointMm want) {
    EXPECT_NEAR(got.x, want.x, 0.1);
    EXPECT_NEAR(got.y, want.y, 0.1);
}

BackgroundPicture Turned(double rotation) {
    BackgroundPicture p;
    p.path = "/plans/room.png";
    p.xMm = -350;
    p.yMm = 120;
    p.widthMm = 4200;
    p.rotationDeg = rotation;
    return p;
}

class PicturePlacement : public testing::TestWithParam<double> {};

TEST_P(PicturePlacement, CalibrationScalesAboutTheFirstPoint) {
    BackgroundPicture p = Turned(GetParam());
    const PointMm a{812, 403}, b{3911, 2377};
    const PointMm before = PictureToLayout(p, kImageWidth, a);
    ASSERT_TRUE(CalibratePicture(p, kImageWidth, a, b, 2750));
    ExpectNear(PictureToLayout(p, kImageWidth, a), before);
    const PointMm la = PictureToLayout(p, kImageWidth, a), lb = PictureToLayout(p, kImageWidth, b);
    EXPECT_NEAR(std::hypot(lb.x - la.x, lb.y - la.y), 2750, 0.1);
    EXPECT_DOUBLE_EQ(p.rotationDeg, GetParam());
    ExpectNear(LayoutToPicture(p, kImageWidth, lb), b);
}

TEST_P(PicturePlacement, AlignmentPutsBothPixelsOnTheirPoints) {
    BackgroundPicture p = Turned(GetParam());
    const PointMm a{100, 3900}, b{5800, 250}, la{1200, -40}, lb{-300, 2100};
    ASSERT_TRUE(AlignPicture(p, kImageWidth, a, b, la, lb));
    ExpectNear(PictureToLayout(p, kImageWidth, a), la);
    ExpectNear(PictureToLayout(p, kImageWidth, b), lb);
    EXPECT_GE(p.rotationDeg, 0);
    EXPECT_LT(p.rotationDeg, 360);
}

INSTANTIATE_TEST_SUITE_P(Turns, PicturePlacement, testing::Values(0.0, 33.5, 90.0, 271.25));

TEST(PicturePlacement, DegenerateInputChangesNothing) {
    const BackgroundPicture before = Turned(10);
    BackgroundPicture p = before;
    EXPECT_FALSE(CalibratePicture(p, kImageWidth, {5, 5}, {5, 5}, 100));
    EXPECT_FALSE(CalibratePicture(p, kImageWidth, {5, 5}, {9, 5}, 0));
    EXPECT_FALSE(CalibratePicture(p, 0, {5, 5}, {9, 5}, 100));
    EXPECT_FALSE(AlignPicture(p, kImageWidth, {5, 5}, {9, 5}, {1, 1}, {1, 1}));
    EXPECT_EQ(p, before);
}

TEST(PictureEdits, EachIsOneUndoStepAndNoChangeRecordsNothing) {
    LayoutDocument doc;
    ASSERT_TRUE(AddPicture(doc, Turned(0)));
    BackgroundPicture locked = doc.pictures[0];
    locked.locked = true;
    EXPECT_FALSE(ChangePicture(doc, 0, doc.pictures[0]));
    EXPECT_FALSE(ChangePicture(doc, 1, locked));
    EXPECT_FALSE(RemovePicture(doc, 3));
    EXPECT_EQ(doc.undoStack.size(), 1u);
    ASSERT_TRUE(ChangePicture(doc, 0, locked));
    ASSERT_TRUE(RemovePicture(doc, 0));
    EXPECT_TRUE(doc.pictures.empty());
    doc.Undo();
    EXPECT_EQ(doc.pictures, std::vector<BackgroundPicture>{locked});
    doc.Undo();
    EXPECT_FALSE(doc.pictures[0].locked);
    doc.Undo();
    EXPECT_TRUE(doc.pictures.empty());
}

// Neither picture file exists: the entries load all the same, so that the files can be found.
TEST(PictureFiles, PathsAreRelativeInsideTheLayoutsFolderAndALayoutWithoutPicturesIsAsBefore) {
    TempFolder folder;
    std::filesystem::create_directories(folder.File("layouts/plans"));
    BackgroundPicture inside = Turned(12.5);
    inside.path = folder.File("layouts/plans/room plan & <1>.png");
    inside.opacity = 0.25;
    inside.locked = true;
    inside.level = 2;
    BackgroundPicture outside = Turned(0);
    outside.path = folder.File("elsewhere.jpg");
    outside.shown = false;
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    const std::string before = LayoutToText(doc, "Room", folder.path);
    EXPECT_EQ(before.find("picture"), std::string::npos);
    ASSERT_TRUE(AddPicture(doc, inside));
    ASSERT_TRUE(AddPicture(doc, outside));
    ASSERT_EQ(SaveLayout(doc, folder.File("layouts/room.xml"), "Room"), "");
    const std::string text = ReadBytes(folder.File("layouts/room.xml"));
    EXPECT_NE(text.find(" path=\"plans/room plan &amp; &lt;1&gt;.png\""), std::string::npos);
    EXPECT_NE(text.find(" path=\"" + outside.path + "\""), std::string::npos);

    // The folder moves with its pictures: the relative one follows, the absolute one stays.
    std::filesystem::rename(folder.File("layouts"), folder.File("moved"));
    LayoutDocument read;
    ASSERT_EQ(LoadLayout(read, folder.File("moved/room.xml"), nullptr), "");
    inside.path = folder.File("moved/plans/room plan & <1>.png");
    EXPECT_EQ(read.pictures, (std::vector<BackgroundPicture>{inside, outside}));

    // Undone, the layout is written as before; loading that clears earlier pictures.
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(LayoutToText(doc, "Room", folder.path), before);
    ASSERT_EQ(LoadLayoutFromText(read, before, nullptr), "");
    EXPECT_TRUE(read.pictures.empty());
    EXPECT_EQ(LayoutToText(read, "Room"), before);
}

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

// The sizes the headers give, so that a picture too large to hold is refused before decoding.
TEST(ImageHeaders, GiveKindAndSize) {
    const std::string png = Bytes({0x89, 'P', 'N', 'G', 13, 10, 26,   10,   0, 0, 0,    13,
                                   'I',  'H', 'D', 'R', 0,  0,  0x17, 0x70, 0, 0, 0x0F, 0xA0});
    const ImageHeader p = ReadImageHeader(png);
    EXPECT_EQ(p.kind, ImageKind::Png);
    EXPECT_EQ(p.width, 6000u);
    EXPECT_EQ(p.height, 4000u);
    // A JPEG with an APP0 segment before its frame; the frame gives height 20000, width 30000.
    const std::string jpeg = Bytes(
        {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC2, 0, 17, 8, 0x4E, 0x20, 0x75, 0x30, 3});
    const ImageHeader j = ReadImageHeader(jpeg);
    EXPECT_EQ(j.kind, ImageKind::Jpeg);
    EXPECT_EQ(j.width, 30000u);
    EXPECT_EQ(j.height, 20000u);
    EXPECT_GT(j.Pixels(), kMaxPicturePixels);
    const ImageHeader g = ReadImageHeader("GIF89a" + Bytes({0x40, 0x01, 0xF0, 0x00}));
    EXPECT_EQ(g.width * 1000 + g.height, 320240u);
    std::string bmp = "BM" + std::string(16, '\0') + Bytes({0x20, 3, 0, 0, 0x38, 0xFF, 0xFF, 0xFF});
    const ImageHeader b = ReadImageHeader(bmp);
    EXPECT_EQ(b.width * 1000 + b.height, 800200u);  // the negative height of a top-down bitmap
    EXPECT_EQ(ReadImageHeader(png.substr(0, 20)).kind, ImageKind::Unknown);
    EXPECT_EQ(ReadImageHeader(jpeg.substr(0, 9)).width, 0u);
}

}  // namespace
