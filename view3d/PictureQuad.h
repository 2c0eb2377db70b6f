// A background picture as the 3D view lays it on the baseboard: a flat textured quad.
#pragma once

#include <array>
#include <optional>
#include <utility>

#include "model/BackgroundPicture.h"
#include "model/LayoutDocument.h"
#include "view3d/Mesh.h"

// How far a picture lies above the board it is on: over the board, under the track.
inline constexpr double kPictureLift = 0.25;

// The quad in world axes (y mirrored), corners in the order of the image's top left, top right,
// bottom right and bottom left, each with its texture coordinate (0, 0 the image's top left).
struct PictureQuad {
    std::array<Vec3, 4> corners;
    std::array<std::array<float, 2>, 4> texCoords{};
    float opacity = 1;
};

// The height a picture lies at: just above the board of its level where that level is a deck,
// else just above the baseboard.
double PictureQuadHeight(const LayoutDocument& doc, const BackgroundPicture& picture);

// The quad of a picture whose image is imagePx pixels (width, height), at the picture's place,
// width, turn and opacity. Nothing when the picture is not drawn or the image has no pixels.
std::optional<PictureQuad> MakePictureQuad(const LayoutDocument& doc,
                                           const BackgroundPicture& picture, PointMm imagePx);

// A picture's texture holds at most this many pixels a side.
inline constexpr int kMaxPictureTexture = 2048;

// The size (width, height) of the texture of an image of imagePx pixels: the image's, reduced in
// proportion so that no side exceeds kMaxPictureTexture or glLimit, the largest texture the GL
// takes (not heeded below 64, which every GL takes). At least 1 by 1.
std::pair<int, int> PictureTextureSize(PointMm imagePx, int glLimit);
