// The editing state the canvas shows on top of the layout (ghosts, bands, tape, read-outs).
#pragma once

#include <string>
#include <vector>

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
};
