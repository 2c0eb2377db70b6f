// Pictures under the layout (a room plan, a scanned track plan, a photo) and the operations that
// put them to scale.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "model/PlacedPiece.h"

class LayoutDocument;

// One picture under the track. The image's top left corner lies at (xMm, yMm); the image is
// widthMm wide (its height follows from its pixel proportions) and turned by rotationDeg about
// that corner, clockwise positive as headings are.
struct BackgroundPicture {
    std::string path;  // as the user chose it; the layout file holds it relative where it can
    double xMm = 0;
    double yMm = 0;
    double widthMm = 1000;
    double rotationDeg = 0;
    double opacity = 0.5;  // 0 transparent .. 1 opaque
    bool locked = false;
    bool shown = true;
    uint32_t level = kNoId;  // the level it is drawn with; kNoId for all levels
    bool operator==(const BackgroundPicture&) const = default;
};

// The layout point under a pixel of the picture's image (pixels from the image's top left
// corner); `imageWidthPx` is the width of the whole image in pixels.
PointMm PictureToLayout(const BackgroundPicture& picture, double imageWidthPx, PointMm pixel);
// The image pixel under a layout point (the inverse of PictureToLayout).
PointMm LayoutToPicture(const BackgroundPicture& picture, double imageWidthPx, PointMm point);

// Scales the picture so that the image pixels A and B lie distanceMm apart, about A: A stays
// where it was and the turn is kept. False, and nothing changes, for A equal to B, a distance
// that is not positive or an image without width.
bool CalibratePicture(BackgroundPicture& picture, double imageWidthPx, PointMm pixelA,
                      PointMm pixelB, double distanceMm);

// Moves, turns and scales the picture so that image pixel A lands on layout point A and pixel B
// on layout point B. False, and nothing changes, when either pair is one point twice.
bool AlignPicture(BackgroundPicture& picture, double imageWidthPx, PointMm pixelA, PointMm pixelB,
                  PointMm layoutA, PointMm layoutB);

// Edits of the document's pictures, each one undo step; an edit that changes nothing (or names
// a picture that is not there) records nothing and returns false.
bool AddPicture(LayoutDocument& doc, BackgroundPicture picture);
bool RemovePicture(LayoutDocument& doc, size_t index);
bool ChangePicture(LayoutDocument& doc, size_t index, const BackgroundPicture& changed);

// True when the picture is drawn: shown, and on all levels or on a level that is visible.
bool PictureDrawn(const LayoutDocument& doc, const BackgroundPicture& picture);

// The pixel size of a picture's image (width, height), or 0 by 0 where it could not be read.
using PictureImageSize = std::function<PointMm(const std::string& path)>;

// The layout point at the middle of the picture, for an image of `imagePx` pixels.
PointMm PictureCentre(const BackgroundPicture& picture, PointMm imagePx);

// The index of the topmost picture under layout point `at` that the mouse may take: drawn and
// not locked. -1 when there is none.
int PictureAt(const LayoutDocument& doc, PointMm at, const PictureImageSize& sizeOf);

// The picture turned by `deg` (clockwise positive) about layout point `pivot`.
BackgroundPicture TurnedPicture(const BackgroundPicture& picture, PointMm pivot, double deg);
