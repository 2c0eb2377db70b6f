// Background pictures laid on the board in 3D: corners, texture coordinates, height, and which
// pictures are laid at all.
#include <gtest/gtest.h>

#include "view3d/PictureQuad.h"

TEST(PictureQuadTest, CornersFollowThePicturesPlaceWidthAndTurn) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    BackgroundPicture picture;
    picture.xMm = 100;
    picture.yMm = 200;
    picture.widthMm = 400;  // 2 mm a pixel of a 200 x 100 image
    picture.rotationDeg = 90;
    picture.opacity = 1.5;
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
        EXPECT_DOUBLE_EQ(quad->corners[k].z, -0.25) << k;
    }
    EXPECT_FLOAT_EQ(quad->opacity, 1);
    picture.opacity = 0.4;
    EXPECT_FLOAT_EQ(MakePictureQuad(doc, picture, {200, 100})->opacity, 0.4f);
}

TEST(PictureQuadTest, LiesOnItsDeckOrTheBaseboardAndOnlyWhenDrawn) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    Level deck;
    deck.id = 2;
    deck.height = 80;
    deck.outline = {{0, 0}, {500, 0}, {500, 500}};
    Level bare = deck;  // a level with a height but no board
    bare.id = 3;
    bare.outline.clear();
    Level hidden = deck;
    hidden.id = 4;
    hidden.visible = false;
    doc.levels.insert(doc.levels.end(), {deck, bare, hidden});
    struct Case {
        uint32_t level;
        bool shown;
        PointMm imagePx;
        bool laid;
        double z;
    };
    const Case cases[] = {
        {kNoId, true, {640, 480}, true, -0.25},
        {2, true, {640, 480}, true, 80.25},
        {3, true, {640, 480}, true, -0.25},
        {4, true, {640, 480}, false, 0},       // its level is hidden
        {kNoId, false, {640, 480}, false, 0},  // the picture is hidden
        {kNoId, true, {0, 0}, false, 0},       // the image could not be read
        {99, true, {640, 480}, false, 0},      // its level is gone
    };
    for (const Case& c : cases) {
        BackgroundPicture picture;
        picture.level = c.level;
        picture.shown = c.shown;
        const auto quad = MakePictureQuad(doc, picture, c.imagePx);
        ASSERT_EQ(quad.has_value(), c.laid) << c.level << " " << c.shown;
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
