// Placing background pictures: the mapping between image pixels and the layout, calibration,
// alignment and the document's edits of its pictures.
#include "model/BackgroundPicture.h"

#include <cmath>

#include "model/LayoutDocument.h"

namespace {

double Length(PointMm a, PointMm b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The picture's top left corner that puts image pixel `pixel` on layout point `at`, with the
// scale and turn the picture has.
PointMm CornerFor(const BackgroundPicture& picture, double imageWidthPx, PointMm pixel,
                  PointMm at) {
    BackgroundPicture atOrigin = picture;
    atOrigin.xMm = 0;
    atOrigin.yMm = 0;
    const PointMm offset = PictureToLayout(atOrigin, imageWidthPx, pixel);
    return {at.x - offset.x, at.y - offset.y};
}

}  // namespace

PointMm PictureToLayout(const BackgroundPicture& picture, double imageWidthPx, PointMm pixel) {
    const double scale = imageWidthPx > 0 ? picture.widthMm / imageWidthPx : 0;
    const double a = picture.rotationDeg * kDegToRad;
    const double x = pixel.x * scale, y = pixel.y * scale;
    return {picture.xMm + x * std::cos(a) - y * std::sin(a),
            picture.yMm + x * std::sin(a) + y * std::cos(a)};
}

PointMm LayoutToPicture(const BackgroundPicture& picture, double imageWidthPx, PointMm point) {
    const double scale = imageWidthPx > 0 ? picture.widthMm / imageWidthPx : 0;
    if (scale == 0) return {};
    const double a = picture.rotationDeg * kDegToRad;
    const double x = point.x - picture.xMm, y = point.y - picture.yMm;
    return {(x * std::cos(a) + y * std::sin(a)) / scale,
            (-x * std::sin(a) + y * std::cos(a)) / scale};
}

bool CalibratePicture(BackgroundPicture& picture, double imageWidthPx, PointMm pixelA,
                      PointMm pixelB, double distanceMm) {
    const double pixels = Length(pixelA, pixelB);
    if (!(imageWidthPx > 0) || !(pixels > 0) || !(distanceMm > 0) || !std::isfinite(distanceMm))
        return false;
    const PointMm anchor = PictureToLayout(picture, imageWidthPx, pixelA);
    picture.widthMm = distanceMm / pixels * imageWidthPx;
    const PointMm corner = CornerFor(picture, imageWidthPx, pixelA, anchor);
    picture.xMm = corner.x;
    picture.yMm = corner.y;
    return true;
}

bool AlignPicture(BackgroundPicture& picture, double imageWidthPx, PointMm pixelA, PointMm pixelB,
                  PointMm layoutA, PointMm layoutB) {
    const double pixels = Length(pixelA, pixelB);
    const double mm = Length(layoutA, layoutB);
    if (!(imageWidthPx > 0) || !(pixels > 0) || !(mm > 0)) return false;
    // The turn that carries the image's A-to-B direction onto the layout's.
    const double imageAngle = std::atan2(pixelB.y - pixelA.y, pixelB.x - pixelA.x);
    const double layoutAngle = std::atan2(layoutB.y - layoutA.y, layoutB.x - layoutA.x);
    double turn = std::fmod((layoutAngle - imageAngle) / kDegToRad, 360.0);
    if (turn < 0) turn += 360.0;
    picture.rotationDeg = turn;
    picture.widthMm = mm / pixels * imageWidthPx;
    const PointMm corner = CornerFor(picture, imageWidthPx, pixelA, layoutA);
    picture.xMm = corner.x;
    picture.yMm = corner.y;
    return true;
}

bool AddPicture(LayoutDocument& doc, BackgroundPicture picture) {
    doc.PushUndo();
    doc.pictures.push_back(std::move(picture));
    return true;
}

bool RemovePicture(LayoutDocument& doc, size_t index) {
    if (index >= doc.pictures.size()) return false;
    doc.PushUndo();
    doc.pictures.erase(doc.pictures.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool ChangePicture(LayoutDocument& doc, size_t index, const BackgroundPicture& changed) {
    if (index >= doc.pictures.size() || doc.pictures[index] == changed) return false;
    doc.PushUndo();
    doc.pictures[index] = changed;
    return true;
}

bool PictureDrawn(const LayoutDocument& doc, const BackgroundPicture& picture) {
    if (!picture.shown) return false;
    if (picture.level == kNoId) return true;
    const Level* level = doc.FindLevel(picture.level);
    return level && level->visible;
}

PointMm PictureCentre(const BackgroundPicture& picture, PointMm imagePx) {
    return PictureToLayout(picture, imagePx.x, {imagePx.x / 2, imagePx.y / 2});
}

int PictureAt(const LayoutDocument& doc, PointMm at, const PictureImageSize& sizeOf) {
    if (!sizeOf) return -1;
    for (size_t i = doc.pictures.size(); i-- > 0;) {
        const BackgroundPicture& p = doc.pictures[i];
        if (p.locked || !PictureDrawn(doc, p)) continue;
        const PointMm size = sizeOf(p.path);
        if (!(size.x > 0) || !(size.y > 0)) continue;
        const PointMm px = LayoutToPicture(p, size.x, at);
        if (px.x >= 0 && px.y >= 0 && px.x <= size.x && px.y <= size.y) return static_cast<int>(i);
    }
    return -1;
}

BackgroundPicture TurnedPicture(const BackgroundPicture& picture, PointMm pivot, double deg) {
    BackgroundPicture turned = picture;
    const double a = deg * kDegToRad;
    const double x = picture.xMm - pivot.x, y = picture.yMm - pivot.y;
    turned.xMm = pivot.x + x * std::cos(a) - y * std::sin(a);
    turned.yMm = pivot.y + x * std::sin(a) + y * std::cos(a);
    turned.rotationDeg = std::fmod(picture.rotationDeg + deg, 360.0);
    if (turned.rotationDeg < 0) turned.rotationDeg += 360.0;
    return turned;
}
