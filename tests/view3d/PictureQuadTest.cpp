// Background pictures laid on the board in 3D: corners, texture coordinates, height, and which
// pictures are laid at all.
#include <gtest/gtest.h>

#include <cmath>

#include "view3d/PictureQuad.h"

TEST(PictureQuadTest, CornersFollowThePicturesPlaceWidthAndTurn) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    // 2 mm a pixel of a 200 x 100 image.
    BackgroundPicture picture{"", 100, 200, 400, 90, 1.5, false, true, kNoId};
    const auto quad = MakePictureQuad(doc, picture, {200, 100});
    ASSERT_TRUE(quad);
    // Turned a quarter clockwise about its top left corner (layout y down, world y up).
    struct Corner {
        float u, v;
        double x, y;
    };
    const Corner expected[] = {
        {0, 0, 100, -200}, {1, 0, 100, -600}, {1, 1, -100, -600}, {0, 1, -100, -200}};
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(quad->texCoords[k][0], expected[k].u) << k;
        EXPECT_EQ(quad->texCoords[k][1], expected[k].v) << k;
        EXPECT_NEAR(quad->corners[k].x, expected[k].x, 1e-9) << k;
        EXPECT_NEAR(quad->corners[k].y, expected[k].y, 1e-9) << k;
    }
    EXPECT_FLOAT_EQ(quad->opacity, 1);
    picture.opacity = 0.4;
    EXPECT_FLOAT_EQ(MakePictureQuad(doc, picture, {200, 100})->opacity, 0.4f);
}

TEST(PictureQuadTest, LiesOnItsDeckOrTheBaseboardAndOnlyWhenDrawn) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.levels.push_back({.id = 2, .height = 80, .outline = {{0, 0}, {500, 0}, {500, 500}}});
    doc.levels.push_back(
        {.id = 3, .height = 80, .outline = {}});  // a level with a height but no board
    const struct {
        uint32_t level;
        bool shown;
        double widthPx;
        double z;  // NAN: not laid
    } cases[] = {
        {kNoId, true, 640, -0.25}, {2, true, 640, 80.25},
        {3, true, 640, -0.25},     {kNoId, false, 640, NAN},  // hidden
        {kNoId, true, 0, NAN},                                // its image could not be read
        {99, true, 640, NAN},                                 // its level is gone
    };
    for (const auto& c : cases) {
        BackgroundPicture picture;
        picture.level = c.level;
        picture.shown = c.shown;
        const auto quad = MakePictureQuad(doc, picture, {c.widthPx, 480});
        ASSERT_EQ(quad.has_value(), !std::isnan(c.z)) << c.level << " " << c.shown;
        if (!quad) continue;
        for (const Vec3& corner : quad->corners) EXPECT_DOUBLE_EQ(corner.z, c.z) << c.level;
    }
}

TEST(PictureQuadTest, TextureKeepsTheProportionsWithinWhatTheGlTakes) {
    struct Case {
        PointMm imagePx;
        int glLimit;
        int width, height;
    };
    const Case cases[] = {
        {{640, 480}, 16384, 640, 480},      // small enough as it is
        {{6000, 4000}, 16384, 2048, 1365},  // never over 2048 a side
        {{4000, 6000}, 1024, 683, 1024},    // nor over the GL's own limit
        {{100000, 10}, 4096, 2048, 1},      // a sliver keeps a pixel
        {{5000, 5000}, 0, 2048, 2048},      // a limit the GL did not say
        {{0, 0}, 2048, 1, 1},
    };
    for (const Case& c : cases) {
        const auto [w, h] = PictureTextureSize(c.imagePx, c.glLimit);
        EXPECT_EQ(w, c.width) << c.imagePx.x << " x " << c.imagePx.y;
        EXPECT_EQ(h, c.height) << c.imagePx.x << " x " << c.imagePx.y;
    }
}
