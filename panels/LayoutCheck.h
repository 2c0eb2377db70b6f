// The layout check: open ends, near misses, strained joints, tracks that meet, low clearance,
// steep grades, grade kinks and unknown articles, found before the track is bought.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    double clearanceH0Mm = 65;             // rail top to rail top under H0 track
    double clearanceZMm = 30;              // the same for Z gauge
    double recommendedGradePercent = 3.0;  // steeper grades are warned about
    double strainMm = 0.1;                 // joined ends further apart are strained
    double strainDeg = 0.1;                // joined ends turned further are strained
};

// Rules the check applies besides the options.
inline constexpr double kNearMissGapMm = 5.0;       // open ends closer than this...
inline constexpr double kNearMissAngleDeg = 5.0;    // ...and facing within this do not close
inline constexpr double kMeetHalfWidthH0Mm = 20.0;  // centre lines closer than this meet...
inline constexpr double kMeetHalfWidthZMm = 10.0;
inline constexpr double kMeetLengthMm = 50.0;  // ...when they run so along both routes
inline constexpr double kOneDeckMm = 7.0;      // meeting tracks closer in height collide
inline constexpr double kGradeKinkDeg = 1.0;   // slope change at a joint that uncouples

// Every finding of the document, sorted by severity, then kind, then position (x, then y);
// the same document always gives the same list.
std::vector<LayoutFinding> CheckLayout(const LayoutDocument& doc,
                                       const CheckOptions& options = CheckOptions());

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
