// Shapes and colours of track pieces on the canvas, in layout millimetres, without a window.
#pragma once

#include <vector>

#include "model/LayoutDocument.h"

struct PieceDef;

// Fixed colours of the track drawing.
inline constexpr Rgb kPieceFill{210, 210, 205};
inline constexpr Rgb kPieceFillK{215, 200, 175};
inline constexpr Rgb kPieceFillSelected{180, 200, 230};
inline constexpr Rgb kPieceOutline{120, 120, 115};
inline constexpr Rgb kPieceOutlineSelected{40, 100, 200};
inline constexpr Rgb kGhostFill{200, 225, 200};
inline constexpr Rgb kGhostOutline{80, 150, 80};
inline constexpr Rgb kJoinedDot{60, 180, 60};
inline constexpr Rgb kOpenDot{255, 140, 0};
// The stop bar drawn across a bumper's closed end.
inline constexpr Rgb kStopBarFill{190, 60, 40};

// Track band half-width: 6 mm for Z gauge (system 2), 18.7 mm for every other system.
double BandHalfWidth(const PieceDef& def);

// The look of one piece besides its pose.
struct PieceLook {
    bool selected = false;
    bool inTunnel = false;
    // The piece is on a helix or joined to one through flat track: a flat piece keeps its
    // colour there, since its height comes from the helix, not from a climb.
    bool helixLinked = false;
    const Level* level = nullptr;  // the piece's level, null when unknown
};

struct PieceColours {
    Rgb fill;
    Rgb outline;
    bool operator==(const PieceColours&) const = default;
};

// Fill and outline of a placed piece: selection, level and own colour, elevation tint, tunnel fade.
PieceColours PieceColoursFor(const PlacedPiece& piece, const PieceDef& def, const PieceLook& look);
// Fill of a piece raised by `elevationMm`: grey at the base, yellow at 60 mm, brown from 120 mm.
Rgb ElevationTint(double elevationMm);
// The outline that goes with an elevation tint.
Rgb ElevationOutline(Rgb fill);
// A tunnel hides its track: every channel is pulled towards light grey.
Rgb TunnelFade(Rgb c);
// c minus (dr, dg, db) per channel, never below 0.
Rgb Darken(Rgb c, int dr, int dg, int db);
// c plus (dr, dg, db) per channel, never above 255.
Rgb Lighten(Rgb c, int dr, int dg, int db);

// One drawing primitive in layout millimetres (radii in pixels where said).
struct PieceShape {
    enum class Type { Polygon, Polyline, Circle, Line };
    Type type = Type::Polygon;
    std::vector<PointMm> points;  // circle: the centre
    double radiusMm = 0;          // circle radius in mm, or
    int radiusPx = 0;             // in pixels when radiusMm is 0
    bool filled = false;
    Rgb fill;
    bool stroked = true;
    Rgb pen;
    int penWidth = 1;
};

// The straights before and after the arc of a turnout branch that ends at connector `c`; both 0
// where the branch is one arc from the points.
struct BranchStraights {
    double lead = 0;
    double extension = 0;
};
BranchStraights BranchStraightsOf(const PieceDef& def, const Connector& c);

// Points of the straight band of half-width w from (x, y) along headingDeg for length mm.
std::vector<PointMm> StraightBand(double x, double y, double headingDeg, double length, double w);
// Points of the straight band between two points.
std::vector<PointMm> StraightBandBetween(PointMm a, PointMm b, double w);
// The centre line of an arc that starts at (x, y) heading headingDeg and turns angleDeg
// (positive: clockwise on screen, towards the right) on radius mm, as segments + 1 points.
std::vector<PointMm> ArcLine(double x, double y, double headingDeg, double radius, double angleDeg,
                             double sideOffset, int segments);
// Segment count of a curved band: max(16, truncate(|angle| / 1.5)).
int ArcSegments(double angleDeg);
// The curved band polygon (outer edge forward, inner edge back); a radius below 1 mm gives the
// straight band of fallbackLength.
std::vector<PointMm> CurveBand(double x, double y, double headingDeg, double radius,
                               double angleDeg, double w, double fallbackLength);

// The shapes of a piece of definition def at pose (x, y, headingDeg) in the given colours.
// `piece` supplies the joints (turntable tracks to joined exits); null for a ghost.
std::vector<PieceShape> BuildPieceShapes(const PieceDef& def, double x, double y, double headingDeg,
                                         Rgb fill, Rgb outline, bool selected, double zoom,
                                         const PlacedPiece* piece);

// Bands narrower than this on screen are drawn as their centre line: a filled band with an
// outline is then mostly outline and costs several times the stroke of one line.
inline constexpr double kThinBandPx = 3.0;
// True when a band of half-width halfWidthMm is narrower than kThinBandPx at zoom.
bool BandDrawnAsLine(double halfWidthMm, double zoom);
// Pen width in pixels of a band drawn as a line: its width on screen rounded, at least 1.
int BandLineWidthPx(double halfWidthMm, double zoom);
// Colour of a band drawn as a line. Such a band used to show mostly its outline, so the line
// takes the mean of fill and outline (track keeps standing out from the baseboard, and level and
// own colours still show); a selected band takes its outline's stronger blue.
Rgb ThinBandColour(Rgb fill, Rgb outline, bool selected);
// The centre line of a band polygon made of one edge forward and the other edge back (as
// StraightBand and CurveBand build them): the midpoints of facing corners; empty for an odd
// or too short point list.
std::vector<PointMm> BandCentreLine(const std::vector<PointMm>& band);

// Where the article label, circuit mark and bridge structure sit: the arc's midpoint for a curve,
// else the point at half the length along the heading.
PointMm PieceMidpoint(const PlacedPiece& piece, const PieceDef& def);

// Length along a bumper of the stop bar drawn across its closed end.
double StopBarLength(const PieceDef& def);
// Where the article label is centred: the midpoint, but on a bumper the middle of the track
// between its open end and its stop bar, so that the label stays off the bar.
PointMm ArticleLabelPoint(const PlacedPiece& piece, const PieceDef& def);

// Articles drawn with the circuit-track mark.
bool IsCircuitTrack(const PieceDef& def);
// True when an article label textWidthPx wide fits along the piece between the dots of radius
// dotRadiusPx at its ends (on a bumper between its dot and its stop bar), at zoom pixels per
// millimetre. Pieces of no length always take it.
bool LabelFitsPiece(const PieceDef& def, int textWidthPx, int dotRadiusPx, double zoom);
