// The editing state the canvas shows on top of the layout (ghosts, bands, tape, read-outs).
#pragma once

#include <string>
#include <vector>

#include "model/LayoutDocument.h"

// A piece drawn as a ghost where it would lie: its article and pose in mm and degrees.
struct GhostPiece {
    std::string article;
    double x = 0, y = 0, heading = 0;
};

// A ring around a place the layout check found a fault, in mm.
struct FindingRing {
    double x = 0, y = 0;
    bool error = false;  // red for errors, orange for warnings
};

// The running trains and the legs their turnouts are set for, in mm, drawn over the layout and
// repainted on their own while the trains move.
struct TrainsOverlay {
    // A vehicle seen from above: a filled outline.
    struct Body {
        std::vector<PointMm> outline;
        Rgb fill;
        Rgb pen;
    };
    // A turnout's set route: its centre line.
    struct Leg {
        std::vector<PointMm> points;
        Rgb colour;
    };
    // A ring round a train that ran into another.
    struct Ring {
        PointMm centre;
        double radiusMm = 0;
        Rgb colour;
    };
    std::vector<Leg> legs;
    std::vector<Body> bodies;
    std::vector<Ring> rings;
    std::vector<uint32_t> occupied;  // the pieces the trains stand on, sorted
    bool Empty() const { return legs.empty() && bodies.empty() && rings.empty(); }
};
inline constexpr int kTrainLegPenPx = 3;

// The wiring view over the layout, in mm: the track in the colours of its districts (outlined
// where it is a detection section), the gaps as bars across the rails and the numbered feeders.
struct WiringOverlay {
    struct Line {
        std::vector<PointMm> points;
        Rgb colour;
        bool outlined = false;  // a detection section's track
        uint32_t piece = kNoId;
        int section = -1;  // the section the piece is in, by its number in the plan
    };
    struct Bar {
        PointMm a, b;
    };
    struct Symbol {
        PointMm at;
        int number = 0;
        Rgb colour;
    };
    std::vector<Line> lines;
    std::vector<Bar> bars;
    std::vector<Symbol> symbols;
    bool Empty() const { return lines.empty() && bars.empty() && symbols.empty(); }
};
inline constexpr int kWiringLinePenPx = 5;
inline constexpr int kWiringOutlinePenPx = 9;
inline constexpr int kWiringBarPenPx = 4;
inline constexpr int kWiringBarMinPx = 14;  // a bar is drawn at least this long
inline constexpr int kWiringSymbolPx = 9;   // radius of a feeder's circle
inline constexpr Rgb kWiringBarColour{200, 0, 0};
inline constexpr Rgb kWiringOutlineColour{20, 20, 20};
// The outline of a detection section a train stands in: lit as the control panel would show it.
inline constexpr Rgb kWiringOccupiedColour{255, 200, 0};

// The lines of the detection sections that hold an occupied piece, by index; sorted.
std::vector<size_t> OccupiedDetectionLines(const WiringOverlay& wiring,
                                           const std::vector<uint32_t>& occupied);
inline constexpr int kTrainRingPenPx = 3;

// Everything is off by default; the editing code switches parts on while a gesture runs.
struct CanvasOverlays {
    // Band selection, window pixels from the press point to the mouse.
    bool rubberBand = false;
    int bandX0 = 0, bandY0 = 0, bandX1 = 0, bandY1 = 0;

    // Measuring tape in progress: first point in mm, mouse end in window pixels.
    bool tape = false;
    double tapeX = 0, tapeY = 0;
    int tapeMouseX = 0, tapeMouseY = 0;

    // Snap target of a moved selection or a palette ghost, in mm.
    bool snapTarget = false;
    double snapX = 0, snapY = 0;

    // Piece dragged in from the palette, at its free or snapped pose (mm, degrees).
    bool pieceGhost = false;
    std::string ghostArticle;
    double ghostX = 0, ghostY = 0, ghostHeading = 0;

    // Scenery item dragged in from the palette: footprint centre in mm.
    bool sceneryGhost = false;
    std::string ghostScenery;
    double sceneryGhostX = 0, sceneryGhostY = 0, sceneryGhostHeading = 0;
    double sceneryGhostScaleX = 1, sceneryGhostScaleY = 1;

    // Helix being placed: centre in mm.
    bool helixGhost = false;
    std::string ghostHelixVariant;
    double helixGhostX = 0, helixGhostY = 0;

    // Alt-drag rotation read-out: pivot in mm, current heading in degrees.
    bool rotation = false;
    bool rotationFlash = false;
    double pivotX = 0, pivotY = 0, rotationHeading = 0;

    // Findings of the layout check, while its window is open.
    std::vector<FindingRing> findingRings;

    // The chain the gap closer would lay, while its choice is open.
    std::vector<GhostPiece> chainGhost;
    // The trains while the Trains window is open.
    TrainsOverlay trains;
    WiringOverlay wiring;
};
