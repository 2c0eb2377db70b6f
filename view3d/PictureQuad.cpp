// Laying background pictures on the baseboard and the decks.
#include "view3d/PictureQuad.h"

#include <algorithm>
#include <cmath>

#include "view3d/Decks.h"
#include "view3d/Scene3D.h"

double PictureQuadHeight(const LayoutDocument& doc, const BackgroundPicture& picture) {
    const Level* level = picture.level == kNoId ? nullptr : doc.FindLevel(picture.level);
    if (level && IsDeck(*level)) return level->height + kPictureLift;
    return kBaseboardZ + kPictureLift;
}

std::optional<PictureQuad> MakePictureQuad(const LayoutDocument& doc,
                                           const BackgroundPicture& picture, PointMm imagePx) {
    if (!(imagePx.x >= 1) || !(imagePx.y >= 1) || !PictureDrawn(doc, picture)) return std::nullopt;
    PictureQuad quad;
    const double z = PictureQuadHeight(doc, picture);
    constexpr std::array<std::array<float, 2>, 4> kCorners{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    for (size_t k = 0; k < 4; ++k) {
        const PointMm at = PictureToLayout(
            picture, imagePx.x, {kCorners[k][0] * imagePx.x, kCorners[k][1] * imagePx.y});
        quad.corners[k] = {at.x, -at.y, z};
        quad.texCoords[k] = kCorners[k];
    }
    quad.opacity = static_cast<float>(std::clamp(picture.opacity, 0.0, 1.0));
    return quad;
}

std::pair<int, int> PictureTextureSize(PointMm imagePx, int glLimit) {
    const double w = std::max(imagePx.x, 1.0), h = std::max(imagePx.y, 1.0);
    const int limit = glLimit >= 64 ? std::min(glLimit, kMaxPictureTexture) : kMaxPictureTexture;
    const double shrink = std::min(1.0, limit / std::max(w, h));
    const auto side = [&](double v) {
        return static_cast<int>(std::clamp(std::floor(v * shrink + 0.5), 1.0, double(limit)));
    };
    return {side(w), side(h)};
}
