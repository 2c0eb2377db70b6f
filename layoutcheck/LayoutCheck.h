// The layout check: open ends, near misses, strained joints, tracks that meet, low clearance,
// steep grades, grade kinks, unknown articles, S-bends, tight curves, reversing loops, short
// sidings, turnouts on a grade and accessory addresses, found before the track is bought.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/TrackClearance.h"
#include "model/LayoutDocument.h"

enum class FindingSeverity : int32_t { Error = 0, Warning = 1 };

// In the order findings of equal severity are listed.
enum class FindingKind : int32_t {
    OpenEnd = 0,
    NearMiss,
    StrainedJoint,
    Collision,
    LowClearance,
    SteepGrade,
    GradeKink,
    UnknownArticle,
    SBend,
    TightRadius,
    ReversingLoop,
    SidingTooShort,
    TurnoutOnGrade,
    DuplicateAddress,   // two accessories share an address
    AddressOutOfRange,  // beyond the protocol's addresses
    NoAddress,          // a turnout without one, once the layout has a control plan
};

struct LayoutFinding {
    FindingKind kind = FindingKind::OpenEnd;
    FindingSeverity severity = FindingSeverity::Warning;
    std::vector<uint32_t> pieces;  // ids of the pieces involved
    double x = 0;                  // where, layout mm
    double y = 0;
    std::string text;  // what the user reads
    bool operator==(const LayoutFinding&) const = default;
};

struct CheckOptions {
    double clearanceH0Mm = kClearanceH0Mm;  // rail top to rail top under H0 track
    double clearanceZMm = kClearanceZMm;    // the same for Z gauge
    double recommendedGradePercent = 3.0;  // steeper grades are warned about
    double strainMm = 0.1;                 // joined ends further apart are strained
    double strainDeg = 0.1;                // joined ends turned further are strained
    // The checks below are off at 0.
    double minStraightMm = 0;   // straight track needed between curves that turn opposite ways
    double minRadiusMm = 0;     // tighter curves and diverging routes are warned about
    double longestTrainMm = 0;  // sidings shorter than this are warned about
    double clearanceNMm = kClearanceNMm;  // rail top to rail top under N track
};

// Rules the check applies besides the options.
inline constexpr double kNearMissGapMm = 5.0;       // open ends closer than this...
inline constexpr double kNearMissAngleDeg = 5.0;    // ...and facing within this do not close
inline constexpr double kMeetHalfWidthH0Mm = 20.0;  // centre lines closer than this meet...
inline constexpr double kMeetHalfWidthNMm = 14.0;   // N track lies 33 to 33.6 mm apart
inline constexpr double kMeetHalfWidthZMm = 10.0;
inline constexpr double kMeetLengthMm = 50.0;  // ...when they run so along both routes
inline constexpr double kOneDeckMm = 7.0;      // meeting tracks closer in height collide
inline constexpr double kGradeKinkDeg = 1.0;   // slope change at a joint that uncouples
inline constexpr double kCurveTurnDeg = 0.5;   // a route turning less than this counts as straight
inline constexpr double kTurnoutRiseMm = 1.0;  // a flat turnout whose ends differ more in height

// The S-bend straight the check window proposes: the longest vehicle of the ready-made trains
// (a 26.4 m coach), at the scale of the layout's largest track.
inline constexpr double kLongestPresetVehicleM = 26.4;
double ProposedMinStraightMm(const LayoutDocument& doc);

// Every finding of the document, sorted by severity, then kind, then position (x, then y);
// the same document always gives the same list.
std::vector<LayoutFinding> CheckLayout(const LayoutDocument& doc,
                                       const CheckOptions& options = CheckOptions());

// "Open end", "S-bend", ... as the report names the kind.
std::string FindingKindName(FindingKind kind);
// "Error" or "Warning".
std::string FindingSeverityName(FindingSeverity severity);
// Number of findings with the given severity.
int CountFindings(const std::vector<LayoutFinding>& findings, FindingSeverity severity);
// "Layout Check - 3 findings" ("no findings", "1 finding").
std::string LayoutCheckTitle(const std::vector<LayoutFinding>& findings);

// Selects exactly the finding's pieces (pieces, scenery, labels and measurements otherwise
// deselected). False when none of its pieces is in the document.
bool SelectFindingPieces(LayoutDocument& doc, const LayoutFinding& finding);
// The box a view should show for the finding: its point and the ends of its pieces, at least
// minSpanMm across.
struct FindingBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};
FindingBox FindingExtent(const LayoutDocument& doc, const LayoutFinding& finding,
                         double minSpanMm = 200);

// A rectangle of screen pixels.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};
// Where a finding is framed so that the check window does not hide it: the largest part of the
// canvas `area` left, right, above or below the window `cover`; the whole area when the window
// misses it.
PixelRect UncoveredPart(const PixelRect& area, const PixelRect& cover);
