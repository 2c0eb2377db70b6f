// The built-in track tables: counts, order, names, geometry and flags of every record.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"

namespace {

constexpr double kPi = 3.141592653589793;
double SinDeg(double deg) { return std::sin(deg / 180.0 * kPi); }
double CosDeg(double deg) { return std::cos(deg / 180.0 * kPi); }

constexpr double kTol = 0.01;  // mm and degrees

constexpr auto kC = TrackSystem::MarklinC;
constexpr auto kTrix = TrackSystem::TrixC;
constexpr auto kZ = TrackSystem::MarklinZ;
constexpr auto kK = TrackSystem::MarklinK;

// How a record's ends follow from its numbers.
enum Geometry {
    kStraight,   // length L: ends at 0 and L on the x axis
    kCurve,      // radius and angle: a right-hand arc
    kBumperRow,  // length L, one end
    kRule,       // turnout whose branch follows the arc, cut off at the straight end
    kExplicit,   // ends written out
    kTurntable,  // exits every `angle` degrees on a circle of `radius`
};
enum Flags { kBridge = 1, kPair = 2, kRamp = 4 };

struct End {
    double x, y, heading;
};

struct Row {
    const char* article;
    const char* name;
    TrackSystem system;
    PieceKind kind;
    Geometry geometry;
    double length, radius, angle;  // curves: length 0 (the arc length is worked out)
    int flags;
    std::vector<End> ends = {};  // explicit rows only
};

// Every record in catalog order.
const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // C-Track
        {"24188", "24188 - 188.3mm", kC, PieceKind::Straight, kStraight, 188.3, 0, 0, 0},
        {"24172", "24172 - 171.7mm", kC, PieceKind::Straight, kStraight, 171.7, 0, 0, 0},
        {"24360", "24360 - 360mm", kC, PieceKind::Straight, kStraight, 360, 0, 0, 0},
        {"74636", "74636 Arch Bridge 360mm", kC, PieceKind::Straight, kStraight, 360, 0, 0,
         kBridge},
        {"74620", "74620 Truss Bridge 180mm", kC, PieceKind::Straight, kStraight, 188.3, 0, 0,
         kBridge},
        {"74623", "74623 Curved Ramp R2 30deg", kC, PieceKind::Curve, kCurve, 0, 437.5, 30,
         kBridge | kRamp},
        {"74613", "74613 Curved Ramp R1 30deg", kC, PieceKind::Curve, kCurve, 0, 360, 30,
         kBridge | kRamp},
        {"74618", "74618 Straight Ramp 180mm (pair)", kC, PieceKind::Straight, kStraight, 180, 0, 0,
         kBridge | kPair | kRamp},
        {"24229", "24229 - 229mm", kC, PieceKind::Straight, kStraight, 229, 0, 0, 0},
        {"24236", "24236 - 236mm", kC, PieceKind::Straight, kStraight, 236, 0, 0, 0},
        {"24094", "24094 - 94.2mm", kC, PieceKind::Straight, kStraight, 94.2, 0, 0, 0},
        {"24077", "24077 - 77.5mm", kC, PieceKind::Straight, kStraight, 77.5, 0, 0, 0},
        {"24071", "24071 - 71mm", kC, PieceKind::Straight, kStraight, 71, 0, 0, 0},
        {"24064", "24064 - 64mm", kC, PieceKind::Straight, kStraight, 64, 0, 0, 0},
        {"24130", "24130 (30\u00b0) R1 - 360mm (14-3/16)", kC, PieceKind::Curve, kCurve, 0, 360, 30,
         0},
        {"24230", "24230 (30\u00b0) R2 - 437.5mm (17-1/4)", kC, PieceKind::Curve, kCurve, 0, 437.5,
         30, 0},
        {"24330", "24330 (30\u00b0) R3 - 515mm (20-1/4)", kC, PieceKind::Curve, kCurve, 0, 515, 30,
         0},
        {"24315", "24315 (15\u00b0) R3 - 515mm (20-1/4)", kC, PieceKind::Curve, kCurve, 0, 515, 15,
         0},
        {"24430", "24430 (30\u00b0) R4 - 579.3mm (22-13/16)", kC, PieceKind::Curve, kCurve, 0,
         579.3, 30, 0},
        {"24530", "24530 (30\u00b0) R5 - 643.6mm (25-11/32)", kC, PieceKind::Curve, kCurve, 0,
         643.6, 30, 0},
        {"24115", "24115 (15\u00b0) R1 - 360mm (14-3/16)", kC, PieceKind::Curve, kCurve, 0, 360, 15,
         0},
        {"24107", "24107 (7.5\u00b0) R1 - 360mm (14-3/16)", kC, PieceKind::Curve, kCurve, 0, 360,
         7.5, 0},
        {"24224", "24224 (24.3\u00b0) R2 - 437.5mm (17-1/4)", kC, PieceKind::Curve, kCurve, 0,
         437.5, 24.3, 0},
        {"24206", "24206 (5.7\u00b0) R2 - 437.5mm (17-1/4)", kC, PieceKind::Curve, kCurve, 0, 437.5,
         5.7, 0},
        {"24207", "24207 (7.5\u00b0) R2 - 437.5mm (17-1/4)", kC, PieceKind::Curve, kCurve, 0, 437.5,
         7.5, 0},
        {"24294", "24294 (15\u00b0) R2 - 437.5mm (17-1/4) Circuit", kC, PieceKind::Curve, kCurve, 0,
         437.5, 15, 0},
        {"24994", "24994 - 94.2mm Circuit", kC, PieceKind::Straight, kStraight, 94.2, 0, 0, 0},
        {"24215", "24215 (15\u00b0) R2 - 437.5mm (17-1/4)", kC, PieceKind::Curve, kCurve, 0, 437.5,
         15, 0},
        {"24912", "24912 (12.1\u00b0) R9 - 1114.6mm (43-7/8)", kC, PieceKind::Curve, kCurve, 0,
         1114.6, 12.1, 0},
        {"24611",
         "24611 Left Turnout R2=437.5mm 24.3\u00b0",
         kC,
         PieceKind::LeftTurnout,
         kExplicit,
         188.3,
         437.5,
         -24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {180.04, -38.76, 335.7}}},
        {"24612",
         "24612 Right Turnout R2=437.5mm 24.3\u00b0",
         kC,
         PieceKind::RightTurnout,
         kExplicit,
         188.3,
         437.5,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {180.04, 38.76, 24.3}}},
        {"24630",
         "24630 Three-Way Turnout 2x24.3\u00b0",
         kC,
         PieceKind::LeftTurnout,
         kExplicit,
         188.3,
         437.5,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {180.04, 38.76, 24.3}, {180.04, -38.76, 335.7}}},
        {"24671",
         "24671 Left Curved Turnout (R360)",
         kC,
         PieceKind::CurvedTurnout,
         kExplicit,
         257.5,
         360,
         -30,
         0,
         {{0, 0, 180}, {180, -48.2, 330}, {257.5, -48.2, 330}}},
        {"24672",
         "24672 Right Curved Turnout (R360)",
         kC,
         PieceKind::CurvedTurnout,
         kExplicit,
         257.5,
         360,
         30,
         0,
         {{0, 0, 180}, {180, 48.2, 30}, {257.5, 48.2, 30}}},
        {"24740",
         "24740 Wide-Angle Crossing 12.1\u00b0 236.1mm",
         kC,
         PieceKind::Crossing,
         kExplicit,
         236.1,
         0,
         12.1,
         0,
         {{0, 0, 180}, {236.1, 0, 0}, {2.62, -24.75, 192.1}, {233.48, 24.75, 12.1}}},
        {"24649",
         "24649 Crossing 48.6\u00b0 103.3mm",
         kC,
         PieceKind::Crossing,
         kExplicit,
         103.3,
         0,
         48.6,
         0,
         {{0, 0, 180}, {103.3, 0, 0}, {17.49, -38.74, 228.6}, {85.81, 38.74, 48.6}}},
        {"24640",
         "24640 Crossing 24.3\u00b0 188.3mm",
         kC,
         PieceKind::Crossing,
         kExplicit,
         188.3,
         0,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {8.34, -38.74, 204.3}, {179.96, 38.74, 24.3}}},
        {"24624",
         "24624 Double Slip Switch 24.3\u00b0",
         kC,
         PieceKind::DoubleSlip,
         kExplicit,
         188.3,
         437.4,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {8.34, -38.74, 204.3}, {179.96, 38.74, 24.3}}},
        {"24720",
         "24720 Double Slip Switch slim 12.1\u00b0",
         kC,
         PieceKind::DoubleSlip,
         kExplicit,
         236.1,
         1114.6,
         12.1,
         0,
         {{0, 0, 180}, {236.1, 0, 0}, {2.62, -24.75, 192.1}, {233.48, 24.75, 12.1}}},
        {"24711",
         "24711 Slim Left Turnout (R1114.6)",
         kC,
         PieceKind::LeftTurnout,
         kExplicit,
         231.74,
         1114.6,
         -12,
         0,
         {{0, 0, 180}, {231.74, 0, 0}, {231.74, -24.36, 348}}},
        {"24712",
         "24712 Slim Right Turnout (R1114.6)",
         kC,
         PieceKind::RightTurnout,
         kExplicit,
         231.74,
         1114.6,
         12,
         0,
         {{0, 0, 180}, {231.74, 0, 0}, {231.74, 24.36, 12}}},
        {"24771",
         "24771 Slim Left Curved Turnout (R515)",
         kC,
         PieceKind::CurvedTurnout,
         kExplicit,
         321.5,
         515,
         -30,
         0,
         {{0, 0, 180}, {257.5, -69, 330}, {321.5, -69, 330}}},
        {"24772",
         "24772 Slim Right Curved Turnout (R515)",
         kC,
         PieceKind::CurvedTurnout,
         kExplicit,
         321.5,
         515,
         30,
         0,
         {{0, 0, 180}, {257.5, 69, 30}, {321.5, 69, 30}}},
        {"24977",
         "24977 Bumper Stop",
         kC,
         PieceKind::Bumper,
         kExplicit,
         48.3,
         0,
         0,
         0,
         {{0, 0, 180}}},
        {"24978",
         "24978 Bumper Stop with Light",
         kC,
         PieceKind::Bumper,
         kExplicit,
         48.3,
         0,
         0,
         0,
         {{0, 0, 180}}},
        {"24997", "24997 Uncoupler 94.2mm", kC, PieceKind::Straight, kStraight, 94.2, 0, 0, 0},
        {"24922", "24922 Adapter C-Track to K-Track 180mm", kC, PieceKind::Straight, kStraight, 180,
         0, 0, 0},
        {"74862", "74862 Turntable (pit 278mm)", kC, PieceKind::Turntable, kTurntable, 378, 139, 12,
         0},
        // TRIX C-Track
        {"62064", "62064 Straight 64.3mm / 2-9/16\"", kTrix, PieceKind::Straight, kStraight, 64.3,
         0, 0, 0},
        {"62071", "62071 Straight 70.8mm / 2-13/16\"", kTrix, PieceKind::Straight, kStraight, 70.8,
         0, 0, 0},
        {"62077", "62077 Straight 77.5mm / 3-1/16\"", kTrix, PieceKind::Straight, kStraight, 77.5,
         0, 0, 0},
        {"62094", "62094 Straight 94.2mm / 3-3/4\"", kTrix, PieceKind::Straight, kStraight, 94.2, 0,
         0, 0},
        {"62172", "62172 Straight 171.7mm / 6-3/4\"", kTrix, PieceKind::Straight, kStraight, 171.7,
         0, 0, 0},
        {"62188", "62188 Straight 188.3mm / 7-3/8\"", kTrix, PieceKind::Straight, kStraight, 188.3,
         0, 0, 0},
        {"62229", "62229 Straight 229.3mm / 9\"", kTrix, PieceKind::Straight, kStraight, 229.3, 0,
         0, 0},
        {"62236", "62236 Straight 236.1mm / 9-5/16\"", kTrix, PieceKind::Straight, kStraight, 236.1,
         0, 0, 0},
        {"62360", "62360 Straight 360mm / 14-3/16\"", kTrix, PieceKind::Straight, kStraight, 360, 0,
         0, 0},
        {"62107", "62107 (7.5deg) R1 - 360mm", kTrix, PieceKind::Curve, kCurve, 0, 360, 7.5, 0},
        {"62115", "62115 (15deg) R1 - 360mm", kTrix, PieceKind::Curve, kCurve, 0, 360, 15, 0},
        {"62130", "62130 (30deg) R1 - 360mm", kTrix, PieceKind::Curve, kCurve, 0, 360, 30, 0},
        {"62206", "62206 (5.7deg) R2 - 437.5mm", kTrix, PieceKind::Curve, kCurve, 0, 437.5, 5.7, 0},
        {"62207", "62207 (7.5deg) R2 - 437.5mm", kTrix, PieceKind::Curve, kCurve, 0, 437.5, 7.5, 0},
        {"62215", "62215 (15deg) R2 - 437.5mm", kTrix, PieceKind::Curve, kCurve, 0, 437.5, 15, 0},
        {"62224", "62224 (24.3deg) R2 - 437.5mm", kTrix, PieceKind::Curve, kCurve, 0, 437.5, 24.3,
         0},
        {"62230", "62230 (30deg) R2 - 437.5mm", kTrix, PieceKind::Curve, kCurve, 0, 437.5, 30, 0},
        {"62315", "62315 (15deg) R3 - 515mm", kTrix, PieceKind::Curve, kCurve, 0, 515, 15, 0},
        {"62330", "62330 (30deg) R3 - 515mm", kTrix, PieceKind::Curve, kCurve, 0, 515, 30, 0},
        {"62912", "62912 (12.1deg) R9 - 1114.6mm", kTrix, PieceKind::Curve, kCurve, 0, 1114.6, 12.1,
         0},
        {"62611",
         "62611 Left Turnout R2=437.5mm 24.3deg",
         kTrix,
         PieceKind::LeftTurnout,
         kExplicit,
         188.3,
         437.5,
         -24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {180.04, -38.76, 335.7}}},
        {"62612",
         "62612 Right Turnout R2=437.5mm 24.3deg",
         kTrix,
         PieceKind::RightTurnout,
         kExplicit,
         188.3,
         437.5,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {180.04, 38.76, 24.3}}},
        {"62671",
         "62671 Left Curved Turnout",
         kTrix,
         PieceKind::CurvedTurnout,
         kExplicit,
         257.5,
         437.5,
         -24.3,
         0,
         {{0, 0, 180}, {180, -38.76, 335.7}, {257.5, -38.76, 335.7}}},
        {"62672",
         "62672 Right Curved Turnout",
         kTrix,
         PieceKind::CurvedTurnout,
         kExplicit,
         257.5,
         437.5,
         24.3,
         0,
         {{0, 0, 180}, {180, 38.76, 24.3}, {257.5, 38.76, 24.3}}},
        {"62630",
         "62630 Three-Way Turnout 2x24.3deg",
         kTrix,
         PieceKind::LeftTurnout,
         kExplicit,
         188.3,
         437.5,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {180.04, 38.76, 24.3}, {180.04, -38.76, 335.7}}},
        {"62624",
         "62624 Double Slip Switch 24.3deg",
         kTrix,
         PieceKind::DoubleSlip,
         kExplicit,
         188.3,
         437.4,
         24.3,
         0,
         {{0, 0, 180}, {188.3, 0, 0}, {8.34, -38.74, 204.3}, {179.96, 38.74, 24.3}}},
        {"62977",
         "62977 Track End with Bumper 80.5mm",
         kTrix,
         PieceKind::Bumper,
         kExplicit,
         80.5,
         0,
         0,
         0,
         {{0, 0, 180}}},
        {"62997", "62997 Uncoupler Track 94.2mm", kTrix, PieceKind::Straight, kStraight, 94.2, 0, 0,
         0},
        {"62636", "62636 Arch Bridge 360mm", kTrix, PieceKind::Straight, kStraight, 360, 0, 0,
         kBridge},
        {"62620", "62620 Truss Bridge 188mm", kTrix, PieceKind::Straight, kStraight, 188.3, 0, 0,
         kBridge},
        {"62623", "62623 Curved Ramp R2 30deg", kTrix, PieceKind::Curve, kCurve, 0, 437.5, 30,
         kBridge | kRamp},
        {"62613", "62613 Curved Ramp R1 30deg", kTrix, PieceKind::Curve, kCurve, 0, 360, 30,
         kBridge | kRamp},
        // Z-Track
        {"8500", "8500 Straight 110mm / 4-3/8\"", kZ, PieceKind::Straight, kStraight, 110, 0, 0, 0},
        {"8501", "8501 Straight 55mm / 2-3/16\" (half)", kZ, PieceKind::Straight, kStraight, 55, 0,
         0, 0},
        {"8502", "8502 Straight 27.5mm / 1-1/8\" (qtr)", kZ, PieceKind::Straight, kStraight, 27.5,
         0, 0, 0},
        {"8503", "8503 Straight 55mm / 2-3/16\"", kZ, PieceKind::Straight, kStraight, 55, 0, 0, 0},
        {"8504", "8504 Straight 25mm / 1\"", kZ, PieceKind::Straight, kStraight, 25, 0, 0, 0},
        {"8505", "8505 Straight 220mm / 8-13/16\"", kZ, PieceKind::Straight, kStraight, 220, 0, 0,
         0},
        {"8506", "8506 Straight 112.8mm / 4-7/16\"", kZ, PieceKind::Straight, kStraight, 112.8, 0,
         0, 0},
        {"8507", "8507 Straight 112.8mm / 4-7/16\"", kZ, PieceKind::Straight, kStraight, 112.8, 0,
         0, 0},
        {"8587", "8587 Uncoupler 55mm / 2-3/16\"", kZ, PieceKind::Straight, kStraight, 55, 0, 0, 0},
        {"8588", "8588 Isolating Track 55mm / 2-3/16\"", kZ, PieceKind::Straight, kStraight, 55, 0,
         0, 0},
        {"8590", "8590 Feeder Track 110mm / 4-3/8\"", kZ, PieceKind::Straight, kStraight, 110, 0, 0,
         0},
        {"8598", "8598 Isolating Track 55mm / 2-3/16\"", kZ, PieceKind::Straight, kStraight, 55, 0,
         0, 0},
        {"8510", "8510 Curve R1=145mm 45deg", kZ, PieceKind::Curve, kCurve, 0, 145, 45, 0},
        {"8511", "8511 Curve R1=145mm 30deg", kZ, PieceKind::Curve, kCurve, 0, 145, 30, 0},
        {"8520", "8520 Curve R2=195mm 45deg", kZ, PieceKind::Curve, kCurve, 0, 195, 45, 0},
        {"8521", "8521 Curve R2=195mm 30deg", kZ, PieceKind::Curve, kCurve, 0, 195, 30, 0},
        {"8529", "8529 Circuit Curve R2=195mm 45deg", kZ, PieceKind::Curve, kCurve, 0, 195, 45, 0},
        {"8530", "8530 Curve R3=220mm 45deg", kZ, PieceKind::Curve, kCurve, 0, 220, 45, 0},
        {"8531", "8531 Curve R3=220mm 30deg", kZ, PieceKind::Curve, kCurve, 0, 220, 30, 0},
        {"8539", "8539 Circuit Curve R3=220mm 45deg", kZ, PieceKind::Curve, kCurve, 0, 220, 45, 0},
        {"8591", "8591 Turnout Branch Curve R4=490mm 13deg", kZ, PieceKind::Curve, kCurve, 0, 490,
         13, 0},
        {"8562", "8562 Electric Left Turnout 110mm 13deg", kZ, PieceKind::LeftTurnout, kRule, 110,
         490, 13, 0},
        {"8563", "8563 Electric Right Turnout 110mm 13deg", kZ, PieceKind::RightTurnout, kRule, 110,
         490, 13, 0},
        {"8565", "8565 Manual Left Turnout 110mm 13deg", kZ, PieceKind::LeftTurnout, kRule, 110,
         490, 13, 0},
        {"8566", "8566 Manual Right Turnout 110mm 13deg", kZ, PieceKind::RightTurnout, kRule, 110,
         490, 13, 0},
        {"8568",
         "8568 Electric Left Curved Turnout R=195mm 30deg",
         kZ,
         PieceKind::CurvedTurnoutK,
         kExplicit,
         25,
         195,
         -30,
         0,
         {{0, 0, 180}, {97.5, -26.13, 330}, {122.5, -26.13, 330}}},
        {"8569",
         "8569 Electric Right Curved Turnout R=195mm 30deg",
         kZ,
         PieceKind::CurvedTurnoutK,
         kExplicit,
         25,
         195,
         30,
         0,
         {{0, 0, 180}, {97.5, 26.13, 30}, {122.5, 26.13, 30}}},
        {"8559",
         "8559 Crossing 112.8mm 13deg",
         kZ,
         PieceKind::Crossing,
         kExplicit,
         112.8,
         0,
         13,
         0,
         {{0, 0, 180},
          {112.8, 0, 0},
          {56.4 * (1 - CosDeg(13)), -56.4 * SinDeg(13), 193},
          {56.4 * (1 + CosDeg(13)), 56.4 * SinDeg(13), 13}}},
        {"8560",
         "8560 Double Slip Switch 13\u00b0",
         kZ,
         PieceKind::DoubleSlip,
         kExplicit,
         112.8,
         501.4424,
         13,
         0,
         {{0, 0, 180}, {112.8, 0, 0}, {0, -12.8519, 193}, {112.8, 12.8519, 13}}},
        {"8991",
         "8991 Track Bumper 15mm",
         kZ,
         PieceKind::Bumper,
         kExplicit,
         15,
         0,
         0,
         0,
         {{0, 0, 180}}},
        {"8975", "8975 Arch Bridge 220mm", kZ, PieceKind::Straight, kStraight, 220, 0, 0, kBridge},
        {"89759", "89759 Girder Bridge 110mm", kZ, PieceKind::Straight, kStraight, 110, 0, 0,
         kBridge},
        {"8976", "8976 Straight Ramp 110mm", kZ, PieceKind::Straight, kStraight, 110, 0, 0,
         kBridge | kRamp},
        {"8977", "8977 Curved Ramp R1=145mm 45deg", kZ, PieceKind::Curve, kCurve, 0, 145, 45,
         kBridge | kRamp},
        // K-Track
        {"2200", "2200 Straight Track Length 180 mm / 7-3/32\"", kK, PieceKind::Straight, kStraight,
         180, 0, 0, 0},
        {"2201", "2201 Straight Track Length 90 mm / 3-9/16\"", kK, PieceKind::Straight, kStraight,
         90, 0, 0, 0},
        {"2202", "2202 Straight Track Length 45 mm / 1-3/4\"", kK, PieceKind::Straight, kStraight,
         45, 0, 0, 0},
        {"2203", "2203 Straight Track Length 30 mm / 1-3/16\"", kK, PieceKind::Straight, kStraight,
         30, 0, 0, 0},
        {"2204", "2204 Straight Track Length 22.5 mm / 7/8\"", kK, PieceKind::Straight, kStraight,
         22.5, 0, 0, 0},
        {"2205", "2205 Flex Track Length 900 mm / 35-7/16\"", kK, PieceKind::Straight, kStraight,
         900, 0, 0, 0},
        {"2206", "2206 Straight Track Length 168.9 mm / 6-5/8\"", kK, PieceKind::Straight,
         kStraight, 168.9, 0, 0, 0},
        {"2207", "2207 Straight Track Length 156 mm / 6-1/8\"", kK, PieceKind::Straight, kStraight,
         156, 0, 0, 0},
        {"2208", "2208 Straight Track Length 35.1 mm / 1-3/8\"", kK, PieceKind::Straight, kStraight,
         35.1, 0, 0, 0},
        {"2209", "2209 Straight Track Length 217.9 mm / 8-9/16\"", kK, PieceKind::Straight,
         kStraight, 217.9, 0, 0, 0},
        {"2293", "2293 Straight Track Length 41.3 mm / 1-5/8\"", kK, PieceKind::Straight, kStraight,
         41.3, 0, 0, 0},
        {"2290", "2290 Straight Feeder Track Length 180 mm / 7-3/32\"", kK, PieceKind::Straight,
         kStraight, 180, 0, 0, 0},
        {"2291", "2291 Adapter Track for M Track Length 180 mm / 7-3/32\"", kK, PieceKind::Straight,
         kStraight, 180, 0, 0, 0},
        {"2292", "2292 Straight Feeder Track Length 180 mm / 7-3/32\"", kK, PieceKind::Straight,
         kStraight, 180, 0, 0, 0},
        {"2295", "2295 Contact Track Set Length 2 x 90 mm / 3-9/16\"", kK, PieceKind::Straight,
         kStraight, 90, 0, 0, 0},
        {"2297", "2297 Straight Uncoupler Track Length 90 mm / 3-9/16\"", kK, PieceKind::Straight,
         kStraight, 90, 0, 0, 0},
        {"2299", "2299 Straight Circuit Track Length 90 mm / 3-9/16\"", kK, PieceKind::Straight,
         kStraight, 90, 0, 0, 0},
        {"2210", "2210 Curved Track R0=295.4mm 45deg", kK, PieceKind::Curve, kCurve, 0, 295.4, 45,
         0},
        {"2229", "2229 Curved Circuit Track Radius 360 mm", kK, PieceKind::Curve, kCurve, 0, 360,
         45, 0},
        {"2221", "2221 Curved Track R1=360mm 30deg", kK, PieceKind::Curve, kCurve, 0, 360, 30, 0},
        {"2223", "2223 Curved Track Radius 15\u00b0 (R2=424.6 mm / 16-3/4\")", kK, PieceKind::Curve,
         kCurve, 0, 424.6, 15, 0},
        {"2224", "2224 Curved Track Radius 7\u00b0 (R2=424.6 mm / 16-3/4\")", kK, PieceKind::Curve,
         kCurve, 0, 424.6, 7.5, 0},
        {"2239", "2239 Curved Circuit Track Radius 424.6 mm / 16-3/4\"", kK, PieceKind::Curve,
         kCurve, 0, 424.6, 30, 0},
        {"2231", "2231 Curved Track R2=424.6mm 30deg", kK, PieceKind::Curve, kCurve, 0, 424.6, 30,
         0},
        {"2232", "2232 Curved Track R2=424.6mm 22.5deg", kK, PieceKind::Curve, kCurve, 0, 424.6,
         22.5, 0},
        {"2233", "2233 Curved Track Radius 15\u00b0 (R3=515 mm)", kK, PieceKind::Curve, kCurve, 0,
         515, 15, 0},
        {"2234", "2234 Curved Track Radius 7\u00b0 (R3=515 mm)", kK, PieceKind::Curve, kCurve, 0,
         515, 7.5, 0},
        {"2235", "2235 Curved Track Radius 3\u00b0 (R3=515 mm)", kK, PieceKind::Curve, kCurve, 0,
         515, 3, 0},
        {"2241", "2241 Curved Track Radius 30\u00b0 (R4=573.6 mm)", kK, PieceKind::Curve, kCurve, 0,
         573.6, 30, 0},
        {"2251", "2251 Curved Track Radius 30\u00b0 (R4=573.6 mm)", kK, PieceKind::Curve, kCurve, 0,
         573.6, 30, 0},
        {"2274", "2274 Curved Track Radius 14\u00b0 (R5=636 mm)", kK, PieceKind::Curve, kCurve, 0,
         636, 14, 0},
        {"2257",
         "2257 Crossing Length 225 mm / 8-7/8\"",
         kK,
         PieceKind::Crossing,
         kExplicit,
         225,
         0,
         22.5,
         0,
         {{0, 0, 180}, {225, 0, 0}, {8.56, -43.05, 202.5}, {216.44, 43.05, 22.5}}},
        {"2258",
         "2258 Crossing Length 90 mm / 3-9/16\"",
         kK,
         PieceKind::Crossing,
         kExplicit,
         90,
         0,
         45,
         0,
         {{0, 0, 180}, {90, 0, 0}, {13.18, -31.82, 225}, {76.82, 31.82, 45}}},
        {"2259",
         "2259 Crossing Length 168.9 mm / 6-5/8\"",
         kK,
         PieceKind::Crossing,
         kExplicit,
         168.9,
         0,
         22.5,
         0,
         {{0, 0, 180}, {168.9, 0, 0}, {6.43, -32.32, 202.5}, {162.47, 32.32, 22.5}}},
        {"2262", "2262 Left Turnout Length 168.9 mm / 6-5/8\"", kK, PieceKind::LeftTurnout, kRule,
         168.9, 424.6, 22.5, 0},
        {"2263", "2263 Right Turnout Length 168.9 mm / 6-5/8\"", kK, PieceKind::RightTurnout, kRule,
         168.9, 424.6, 22.5, 0},
        {"2265", "2265 Left Turnout Length 168.9 mm / 6-5/8\" (manual)", kK, PieceKind::LeftTurnout,
         kRule, 168.9, 424.6, 22.5, 0},
        {"2266", "2266 Right Turnout Length 168.9 mm / 6-5/8\" (manual)", kK,
         PieceKind::RightTurnout, kRule, 168.9, 424.6, 22.5, 0},
        {"2268",
         "2268 Left Curved Turnout Outer Curve 30\u00b0 Spacing 64.6 mm / 2-1/2\"",
         kK,
         PieceKind::CurvedTurnoutK,
         kExplicit,
         64.6,
         360,
         30,
         0,
         {{0, 0, 180}, {180, 48.23, 30}, {244.6, 48.23, 30}}},
        {"2269",
         "2269 Right Curved Turnout Outer Curve 30\u00b0 Spacing 64.6 mm / 2-1/2\"",
         kK,
         PieceKind::CurvedTurnoutK,
         kExplicit,
         64.6,
         360,
         -30,
         0,
         {{0, 0, 180}, {180, -48.23, 330}, {244.6, -48.23, 330}}},
        {"2270",
         "2270 Symmetrical Three-Way Turnout Length 168.9 mm / Radius 424.6 mm / 16-3/4\"",
         kK,
         PieceKind::LeftTurnout,
         kExplicit,
         168.9,
         424.6,
         22.5,
         0,
         {{0, 0, 180}, {168.9, 0, 0}, {162.49, 32.32, 22.5}, {162.49, -32.32, 337.5}}},
        {"22715", "22715 Left Turnout Length 225 mm / 8-7/8\" / Radius 902.4 mm / 35-1/2\"", kK,
         PieceKind::LeftTurnout, kRule, 225, 902.4, 14.3, 0},
        {"22716", "22716 Right Turnout Length 225 mm / 8-7/8\" / Radius 902.4 mm / 35-1/2\"", kK,
         PieceKind::RightTurnout, kRule, 225, 902.4, 14.3, 0},
        {"2260",
         "2260 Double Slip Switch Length 168.9 mm / 6-5/8\"",
         kK,
         PieceKind::DoubleSlip,
         kExplicit,
         168.9,
         424.6,
         22.5,
         0,
         {{0, 0, 180}, {168.9, 0, 0}, {6.41, -32.32, 202.5}, {162.49, 32.32, 22.5}}},
        {"2275",
         "2275 Double Slip Switch Length 225 mm / 8-7/8\" / Radius 902.4 mm / 35-1/2\"",
         kK,
         PieceKind::DoubleSlip,
         kExplicit,
         225,
         902.4,
         14.3,
         0,
         {{0, 0, 180}, {225, 0, 0}, {3.49, -27.79, 194.3}, {221.51, 27.79, 14.3}}},
        {"7389", "7389 Track Bumper", kK, PieceKind::Bumper, kBumperRow, 60, 0, 0, 0},
        {"7391", "7391 Track Bumper", kK, PieceKind::Bumper, kBumperRow, 40, 0, 0, 0},
        {"7263", "7263 Arch Bridge 360mm", kK, PieceKind::Straight, kStraight, 360, 0, 0, kBridge},
        {"7262", "7262 Truss Bridge 180mm", kK, PieceKind::Straight, kStraight, 180, 0, 0, kBridge},
        {"7569", "7569 Curved Ramp R2 30deg", kK, PieceKind::Curve, kCurve, 0, 424.6, 30,
         kBridge | kRamp},
        {"7267", "7267 Curved Ramp R1 45deg", kK, PieceKind::Curve, kCurve, 0, 360, 45,
         kBridge | kRamp},
    };
    return rows;
}

// Branch end of a turnout built by the rule: on the arc of radius r leaving the origin along +x,
// followed for `angle` degrees unless that would pass the straight end at x = length, where the
// arc is cut off instead.
End RuleBranch(double length, double radius, double angle, bool left) {
    End e{radius * SinDeg(angle), radius * (1 - CosDeg(angle)), angle};
    if (e.x > length) {
        e.x = length;
        e.y = radius - std::sqrt(radius * radius - length * length);
        e.heading = std::atan2(length, radius - e.y) * 180 / kPi;
    }
    if (left) {
        e.y = -e.y;
        e.heading = 360 - e.heading;
    }
    return e;
}

struct ExpectedGeometry {
    double length, radius, angle;
    std::vector<End> ends;
};

ExpectedGeometry Expect(const Row& row) {
    const End entry{0, 0, 180};
    switch (row.geometry) {
        case kStraight:
            return {row.length, 0, 0, {entry, {row.length, 0, 0}}};
        case kCurve:
            return {row.radius * row.angle / 180 * kPi,
                    row.radius,
                    row.angle,
                    {entry,
                     {row.radius * SinDeg(row.angle), row.radius - row.radius * CosDeg(row.angle),
                      row.angle}}};
        case kBumperRow:
            return {row.length, 0, 0, {entry}};
        case kRule: {
            const bool left = row.kind == PieceKind::LeftTurnout;
            return {
                row.length,
                row.radius,
                left ? -row.angle : row.angle,
                {entry, {row.length, 0, 0}, RuleBranch(row.length, row.radius, row.angle, left)}};
        }
        case kExplicit:
            return {row.length, row.radius, row.angle, row.ends};
        case kTurntable: {
            ExpectedGeometry g{row.length, row.radius, row.angle, {}};
            for (int i = 0; i * row.angle < 360; ++i) {
                const double h = i * row.angle;
                g.ends.push_back({row.radius * CosDeg(h), row.radius * SinDeg(h), h});
            }
            return g;
        }
    }
    return {};
}

// Records whose ends belong to different track systems.
std::vector<TrackSystem> ExpectedConnectorSystems(const std::string& article) {
    if (article == "24922") return {kC, kK};
    return {};
}

TEST(TrackTables, HoldsAllRecordsInSystemBlocks) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    ASSERT_EQ(catalog.Count(), 165);
    ASSERT_EQ(Rows().size(), 165u);
    EXPECT_TRUE(catalog.filled);
    // Blocks in order: C-Track 48, TRIX 32, Z 34, K 51.
    const struct {
        TrackSystem system;
        int count;
    } blocks[] = {{kC, 48}, {kTrix, 32}, {kZ, 34}, {kK, 51}};
    int index = 0;
    for (const auto& block : blocks) {
        for (int i = 0; i < block.count; ++i, ++index) {
            EXPECT_EQ(catalog.At(index)->system, block.system) << "record " << index;
        }
    }
    EXPECT_EQ(index, 165);
    EXPECT_EQ(catalog.At(0)->article, "24188");
    EXPECT_EQ(catalog.At(164)->article, "7267");
}

class TrackTableRow : public ::testing::TestWithParam<int> {};

TEST_P(TrackTableRow, MatchesTheTable) {
    const Row& row = Rows()[GetParam()];
    const PieceDef* def = TrackCatalog::Instance().At(GetParam());
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->article, row.article);
    EXPECT_EQ(def->name, row.name);
    EXPECT_EQ(def->system, row.system);
    EXPECT_EQ(def->kind, row.kind);

    const ExpectedGeometry g = Expect(row);
    EXPECT_NEAR(def->length, g.length, kTol);
    EXPECT_NEAR(def->radius, g.radius, kTol);
    EXPECT_NEAR(def->angle, g.angle, kTol);
    ASSERT_EQ(def->connectors.size(), g.ends.size());
    for (size_t i = 0; i < g.ends.size(); ++i) {
        SCOPED_TRACE("connector " + std::to_string(i));
        const Connector& c = def->connectors[i];
        EXPECT_EQ(c.number, i);
        EXPECT_NEAR(c.x, g.ends[i].x, kTol);
        EXPECT_NEAR(c.y, g.ends[i].y, kTol);
        EXPECT_NEAR(c.heading, g.ends[i].heading, kTol);
    }

    EXPECT_EQ(def->isBridge, (row.flags & kBridge) != 0);
    EXPECT_EQ(def->placeAsPair, (row.flags & kPair) != 0);
    EXPECT_EQ(def->isRamp, (row.flags & kRamp) != 0);
    EXPECT_EQ(def->connectorSystems, ExpectedConnectorSystems(row.article));
    for (size_t i = 0; i < def->connectors.size(); ++i) {
        const auto& mixed = ExpectedConnectorSystems(row.article);
        EXPECT_EQ(def->ConnectorSystem(static_cast<int>(i)),
                  i < mixed.size() ? mixed[i] : row.system);
    }
}

INSTANTIATE_TEST_SUITE_P(AllRecords, TrackTableRow, ::testing::Range(0, 165),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::to_string(info.param) + "_" + Rows()[info.param].article;
                         });

TEST(TrackTables, ArticlesAreUniqueAndFoundByLookup) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    std::set<std::string> seen;
    for (int i = 0; i < catalog.Count(); ++i) {
        const PieceDef* def = catalog.At(i);
        EXPECT_TRUE(seen.insert(def->article).second) << "repeated article " << def->article;
        EXPECT_EQ(catalog.Find(def->article), def) << def->article;
    }
    EXPECT_EQ(catalog.byArticle.size(), 165u);
    EXPECT_EQ(catalog.Find(""), nullptr);
    EXPECT_EQ(catalog.Find("24188 "), nullptr);
    EXPECT_EQ(catalog.Find("2418"), nullptr);
    EXPECT_EQ(catalog.Find("99999"), nullptr);
    EXPECT_EQ(catalog.At(-1), nullptr);
    EXPECT_EQ(catalog.At(165), nullptr);
}

// Names are what the palette and the tally show: article first, valid text, no escapes left in.
TEST(TrackTables, NamesBeginWithTheArticle) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const PieceDef& def : catalog.pieces) {
        EXPECT_EQ(def.name.rfind(def.article + " ", 0), 0u) << def.name;
        EXPECT_EQ(def.name.find('\\'), std::string::npos) << def.name;
    }
    // The degree sign is stored as two UTF-8 bytes, the inch sign as one plain quote.
    EXPECT_EQ(catalog.Find("24130")->name, "24130 (30\xC2\xB0) R1 - 360mm (14-3/16)");
    EXPECT_EQ(catalog.Find("8504")->name, std::string("8504 Straight 25mm / 1") + '"');
    EXPECT_EQ(catalog.Find("8504")->name.size(), 23u);
}

// Hand-worked values of a few rule-built and special records.
TEST(TrackTables, WorkedExamples) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    // 490 sin 13 = 110.23 passes the 110 mm straight end, so the branch stops at x = 110.
    const Connector& z = catalog.Find("8562")->connectors.at(2);
    EXPECT_NEAR(z.x, 110, kTol);
    EXPECT_NEAR(z.y, -12.51, kTol);
    EXPECT_NEAR(z.heading, 347.03, kTol);
    const Connector& k = catalog.Find("2262")->connectors.at(2);
    EXPECT_NEAR(k.x, 162.49, kTol);
    EXPECT_NEAR(k.y, -32.32, kTol);
    EXPECT_NEAR(k.heading, 337.5, kTol);
    const Connector& wide = catalog.Find("22716")->connectors.at(2);
    EXPECT_NEAR(wide.x, 222.89, kTol);
    EXPECT_NEAR(wide.y, 27.96, kTol);
    EXPECT_NEAR(wide.heading, 14.3, kTol);
    const Connector& exit15 = catalog.Find("74862")->connectors.at(15);
    EXPECT_NEAR(exit15.x, -139, kTol);
    EXPECT_NEAR(exit15.y, 0, kTol);
    EXPECT_NEAR(exit15.heading, 180, kTol);
    const Connector& crossing = catalog.Find("8559")->connectors.at(2);
    EXPECT_NEAR(crossing.x, 1.45, kTol);
    EXPECT_NEAR(crossing.y, -12.69, kTol);
    const Connector& curved = catalog.Find("8568")->connectors.at(2);
    EXPECT_NEAR(curved.x, 122.5, kTol);
    EXPECT_NEAR(curved.y, -26.12, kTol);
}

TEST(TrackTables, TrixSlipCopiesTheCTrackSlip) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const auto& [trix, c] : std::map<std::string, std::string>{
             {"62624", "24624"}, {"62611", "24611"}, {"62612", "24612"}, {"62630", "24630"}}) {
        SCOPED_TRACE(trix);
        const PieceDef* t = catalog.Find(trix);
        const PieceDef* m = catalog.Find(c);
        ASSERT_TRUE(t && m);
        EXPECT_EQ(t->system, kTrix);
        EXPECT_EQ(t->kind, m->kind);
        EXPECT_EQ(t->length, m->length);
        EXPECT_EQ(t->radius, m->radius);
        EXPECT_EQ(t->angle, m->angle);
        ASSERT_EQ(t->connectors.size(), m->connectors.size());
        for (size_t i = 0; i < t->connectors.size(); ++i) {
            EXPECT_EQ(t->connectors[i].x, m->connectors[i].x);
            EXPECT_EQ(t->connectors[i].y, m->connectors[i].y);
            EXPECT_EQ(t->connectors[i].heading, m->connectors[i].heading);
        }
    }
}

// Checks of the records against each other and against their own numbers; these catch a
// mistyped digit that the row-by-row comparison would share with the table.
class TrackTableConsistency : public ::testing::Test {
protected:
    const TrackCatalog& catalog = TrackCatalog::Instance();
};

TEST_F(TrackTableConsistency, EveryPieceButTheTurntableStartsAtTheOrigin) {
    for (const PieceDef& def : catalog.pieces) {
        if (def.kind == PieceKind::Turntable) continue;
        SCOPED_TRACE(def.article);
        ASSERT_FALSE(def.connectors.empty());
        EXPECT_EQ(def.connectors[0].x, 0);
        EXPECT_EQ(def.connectors[0].y, 0);
        EXPECT_EQ(def.connectors[0].heading, 180);
        EXPECT_GT(def.length, 0);
        for (const Connector& c : def.connectors) {
            EXPECT_GE(c.heading, 0);
            EXPECT_LT(c.heading, 360);
        }
    }
}

TEST_F(TrackTableConsistency, CurvesTurnRightAndMeasureTheirArc) {
    for (const PieceDef& def : catalog.pieces) {
        if (def.kind != PieceKind::Curve) continue;
        SCOPED_TRACE(def.article);
        const Connector& end = def.connectors.at(1);
        EXPECT_GT(end.y, 0);
        EXPECT_DOUBLE_EQ(end.heading, def.angle);
        // The chord of an arc is 2 R sin(A / 2).
        EXPECT_NEAR(std::hypot(end.x, end.y), 2 * def.radius * SinDeg(def.angle / 2), kTol);
        EXPECT_NEAR(def.length, def.radius * def.angle * kPi / 180, kTol);
    }
}

TEST_F(TrackTableConsistency, TurnoutsRunStraightToTheirLengthAndBranchOnTheirArc) {
    for (const PieceDef& def : catalog.pieces) {
        if (def.kind != PieceKind::LeftTurnout && def.kind != PieceKind::RightTurnout) continue;
        SCOPED_TRACE(def.article);
        ASSERT_GE(def.connectors.size(), 3u);
        EXPECT_NEAR(def.connectors[1].x, def.length, 1e-9);
        EXPECT_EQ(def.connectors[1].y, 0);
        EXPECT_EQ(def.connectors[1].heading, 0);
        for (size_t i = 2; i < def.connectors.size(); ++i) {
            const Connector& b = def.connectors[i];
            // A branch end lies where an arc of the turnout's radius leaving the origin along
            // +x reaches the branch heading: x = R sin h, |y| = R (1 - cos h).
            const double h = b.y < 0 ? 360 - b.heading : b.heading;
            EXPECT_LE(b.x, def.length + 1e-9);
            EXPECT_NEAR(b.x, def.radius * SinDeg(h), kTol);
            EXPECT_NEAR(std::abs(b.y), def.radius * (1 - CosDeg(h)), kTol);
        }
        if (def.connectors.size() == 4) {
            // Three-way: the two branches mirror each other.
            EXPECT_EQ(def.connectors[2].x, def.connectors[3].x);
            EXPECT_EQ(def.connectors[2].y, -def.connectors[3].y);
            EXPECT_GT(def.angle, 0);
        } else if (def.kind == PieceKind::LeftTurnout) {
            EXPECT_LT(def.connectors[2].y, 0);
            EXPECT_LT(def.angle, 0);
        } else {
            EXPECT_GT(def.connectors[2].y, 0);
            EXPECT_GT(def.angle, 0);
        }
    }
}

TEST_F(TrackTableConsistency, CrossingsAndSlipsAreSymmetricAboutTheirMiddle) {
    int count = 0;
    for (const PieceDef& def : catalog.pieces) {
        if (def.kind != PieceKind::Crossing && def.kind != PieceKind::DoubleSlip) continue;
        ++count;
        SCOPED_TRACE(def.article);
        ASSERT_EQ(def.connectors.size(), 4u);
        const Connector& c1 = def.connectors[1];
        const Connector& c2 = def.connectors[2];
        const Connector& c3 = def.connectors[3];
        EXPECT_NEAR(c1.x, def.length, 1e-9);
        EXPECT_EQ(c1.heading, 0);
        EXPECT_NEAR(HeadingDiffDeg(c2.heading, c3.heading), 180, kTol);
        EXPECT_NEAR(c3.heading, def.angle, kTol);
        EXPECT_NEAR(c2.x + c3.x, def.length, kTol);
        EXPECT_NEAR(c2.y, -c3.y, kTol);
        EXPECT_LT(c2.y, 0);
        if (def.kind == PieceKind::Crossing) {
            // The second route crosses the first in its middle at the crossing angle.
            EXPECT_NEAR(std::atan2(c3.y, c3.x - def.length / 2) * 180 / kPi, def.angle, 0.05);
        }
    }
    EXPECT_EQ(count, 13);
}

TEST_F(TrackTableConsistency, CurvedTurnoutsShareOffsetAndHeadingOfTheirEnds) {
    int count = 0;
    for (const PieceDef& def : catalog.pieces) {
        if (def.kind != PieceKind::CurvedTurnout && def.kind != PieceKind::CurvedTurnoutK) continue;
        ++count;
        SCOPED_TRACE(def.article);
        ASSERT_EQ(def.connectors.size(), 3u);
        const Connector& inner = def.connectors[1];
        const Connector& outer = def.connectors[2];
        EXPECT_EQ(inner.y, outer.y);
        EXPECT_EQ(inner.heading, outer.heading);
        EXPECT_GT(outer.x, inner.x);
        EXPECT_NEAR(inner.heading, NormalizeDeg(def.angle), 1e-9);
        EXPECT_EQ(inner.y < 0, def.angle < 0);
        // The inner end lies on the arc of the turnout's radius; the tables round it to 0.05 mm.
        const double a = std::abs(def.angle);
        EXPECT_NEAR(inner.x, def.radius * SinDeg(a), 0.05);
        EXPECT_NEAR(std::abs(inner.y), def.radius * (1 - CosDeg(a)), 0.05);
        // C-Track records give the outer end's x as length, the others the spacing.
        if (def.kind == PieceKind::CurvedTurnout) {
            EXPECT_NEAR(outer.x, def.length, 1e-9);
        } else {
            EXPECT_NEAR(outer.x - inner.x, def.length, 1e-9);
        }
    }
    EXPECT_EQ(count, 10);
}

TEST_F(TrackTableConsistency, OnlyStructuresCarryBridgeAndRampFlags) {
    int bridges = 0, ramps = 0, pairs = 0;
    for (const PieceDef& def : catalog.pieces) {
        SCOPED_TRACE(def.article);
        bridges += def.isBridge;
        ramps += def.isRamp;
        pairs += def.placeAsPair;
        EXPECT_TRUE(!def.isRamp || def.isBridge);
        EXPECT_TRUE(!def.placeAsPair || def.isRamp);
        const bool structure = def.name.find("Bridge") != std::string::npos ||
                               def.name.find("Ramp") != std::string::npos;
        EXPECT_EQ(def.isBridge, structure);
        EXPECT_EQ(def.isRamp, def.name.find("Ramp") != std::string::npos);
    }
    EXPECT_EQ(bridges, 17);
    EXPECT_EQ(ramps, 9);
    EXPECT_EQ(pairs, 1);
}

}  // namespace
