// What the files that draw the layout share: conversions to pixels, fonts, pens and the drawing
// of shapes, dots and text, and the ground and note drawings the layout's passes call.
#pragma once

#include <wx/colour.h>
#include <wx/font.h>
#include <wx/gdicmn.h>
#include <wx/pen.h>

#include <optional>
#include <vector>

#include "canvas/LayoutGeometry.h"
#include "canvas/PixelLines.h"
#include "canvas/SceneryGeometry.h"
#include "canvas/ViewTransform.h"
#include "trackgeometry/PieceGeometry.h"

class LayoutDocument;
class wxDC;
class wxGraphicsContext;
struct SceneryItem;

namespace render {

wxColour Colour(Rgb c);
wxColour Colour(SceneryColor c);

wxPoint Px(const ViewTransform& view, PointMm p);
// Consecutive points that land on the same pixel are dropped: a curve band of 40-odd points
// shrinks to a handful at small zoom, which draws the same pixels in a fraction of the time.
std::vector<wxPoint> Px(const ViewTransform& view, const std::vector<PointMm>& pts);

// Fonts are costly to create and a paint needs only a handful of sizes.
const wxFont& Font(int pointSize, bool bold);
// A font for text of pointSize points as the screen shows it. On paper it is given by its height
// in device pixels, which printer and preview contexts scale like every other length; a point
// size would follow the context's own idea of a point instead.
wxFont ViewFont(const ViewTransform& view, int pointSize, bool bold);
// Band outlines are thin: mitred corners look the same as round ones there and stroke in
// three quarters of the time.
wxPen OutlinePen(Rgb colour, int width);

void DrawShapes(wxDC& dc, const std::vector<PieceShape>& shapes, const ViewTransform& view);

// The pixels a smoothing-free drawing writes, when the context draws with cairo into an image in
// memory at one pixel per unit with at most a rectangular clip (the canvas's pictures); none for
// anything else (printers, PDF pages, scaled contexts), which stroke their lines as paths.
std::optional<PixelTarget> DirectPixels(wxGraphicsContext* gc);

// A connector dot of radius r around (x, y): smoothing a circle costs many times more than
// copying the picture of one, and a close view shows hundreds of the same two dots.
void DrawDot(wxDC& dc, wxPoint at, int r, const wxColour& fill, const wxColour& pen);
// Text in the dc's font and `ink` with its top left at (x, y).
void DrawTextAt(wxDC& dc, const wxString& text, int x, int y, const wxColour& ink);
// The size `text` takes in the dc's font.
wxSize TextExtent(wxDC& dc, const wxString& text, const wxColour& ink);
// Text centred on p inside a rounded box (baseboard dimensions, measurements, tape).
void DrawBoxedText(wxDC& dc, const wxString& text, wxPoint p, int padX, int padY,
                   const wxColour& box, const wxPen& pen, const wxColour& ink, int radius = 3);

// Whether the pixel box (x0, y0)-(x1, y1) meets any of the areas.
bool Visible(const std::vector<wxRect>& areas, double x0, double y0, double x1, double y1);

// The ground (GroundRenderer.cpp).
void DrawBaseboard(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view);
void DrawBaseboardEdges(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view);
void DrawDecks(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view);
void DrawSceneryItem(wxDC& dc, const SceneryItem& item, const ViewTransform& view);

// The notes over the track (LabelRenderer.cpp), each only where it may show in `area`.
void DrawGradeArrows(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                     const std::vector<wxRect>& area);
void DrawLabels(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                const std::vector<wxRect>& area);
void DrawMeasurements(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                      const std::vector<wxRect>& area);

}  // namespace render
