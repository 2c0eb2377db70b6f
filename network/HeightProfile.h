// The height profile of a route: the route unrolled from left to right with the heights of its
// joints, the grade of each piece and the tracks that pass over or under it; and the edits that
// set heights along the route.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"

// A connector along the route: the start, every joint, the end.
struct ProfilePoint {
    double distanceMm = 0;
    double heightMm = 0;
    uint32_t piece = kNoId;  // the piece the route enters here (the last point: the last piece)
    int connector = 0;       // the connector it enters by (the last point: the one it leaves by)
};

// The grade of one piece in the direction of travel: rise over the route's length, per cent.
struct ProfileSection {
    uint32_t piece = kNoId;
    double gradePercent = 0;
};

// Another track passing over or under the route.
struct ProfileCrossing {
    double distanceMm = 0;
    uint32_t otherPiece = kNoId;
    double clearanceMm = 0;  // rail top to rail top
    bool otherAbove = false;
};

struct HeightProfile {
    std::vector<ProfilePoint> points;
    std::vector<ProfileSection> sections;
    std::vector<ProfileCrossing> crossings;  // by distance
};

// The profile of a route found in the document's network. Tracks joined to the route at a joint
// do not count as crossings, nor do tracks at the same height (they meet on one deck).
HeightProfile BuildProfile(const LayoutDocument& doc, const Route& route);
// The same with a network already built for the document.
HeightProfile BuildProfile(const LayoutDocument& doc, const TrackGraph& graph, const Route& route);

// The least height difference at which one track passes over another; closer, they meet on one
// deck and the layout check calls it a collision, not a crossing.
inline constexpr double kProfileOneDeckMm = 7.0;

// The clearance a track passing over this piece needs (the layout check's default rule); 0 when the
// article is unknown.
double NeededClearanceMm(const LayoutDocument& doc, uint32_t pieceId);

// Gives the route a steady grade from its first height to its last: every joint in between gets
// the height its distance along the route gives, and every piece the grade (degrees, as the
// grade runs keep it) that joins its two heights; grade runs anchored on the route take their
// piece's new grade. One undo step. Returns "" on success, otherwise why nothing changed (a
// route that is empty or not in the document, or a grade past the maximum).
std::string EvenGrade(LayoutDocument& doc, const Route& route);

// Sets the height of the route's point `pointIndex` (an index into BuildProfile's points) to
// `heightMm`; the pieces on both sides take the grades that join it to their other ends, as a
// grade run would give them. One undo step. Returns "" on success, otherwise why nothing changed.
std::string SetProfileHeight(LayoutDocument& doc, const Route& route, size_t pointIndex,
                             double heightMm);
