// The built-in track tables: every piece of the six track systems, in catalog order.
#include <cmath>
#include <initializer_list>
#include <utility>

#include "catalog/TrackCatalog.h"

namespace {

// Appends the rows of one track system; every row names its article and display name.
class TableBlock {
public:
    TableBlock(TrackCatalog& catalog, TrackSystem system) : catalog(catalog), system(system) {}

    void Straight(const char* article, const char* name, double length) {
        catalog.Add(MakeStraight(system, article, name, length));
    }
    void FlexStraight(const char* article, const char* name, double length) {
        PieceDef d = MakeStraight(system, article, name, length);
        d.isFlex = true;
        catalog.Add(std::move(d));
    }
    void Curve(const char* article, const char* name, double radius, double angleDeg) {
        catalog.Add(MakeCurve(system, article, name, radius, angleDeg));
    }
    void Bumper(const char* article, const char* name, double length) {
        catalog.Add(MakeBumper(system, article, name, length));
    }
    void Turnout(const char* article, const char* name, PieceKind kind, double length,
                 double radius, double angleDeg) {
        catalog.Add(MakeTurnoutByRule(system, article, name, kind, length, radius, angleDeg));
    }
    void Explicit(const char* article, const char* name, PieceKind kind, double length,
                  double radius, double angleDeg, std::initializer_list<ConnectorSpec> ends) {
        catalog.Add(MakeExplicit(system, article, name, kind, length, radius, angleDeg, ends));
    }

    // Straight bridges are raised track; a straight ramp also climbs.
    void StraightBridge(const char* article, const char* name, double length, bool ramp = false,
                        bool pair = false) {
        PieceDef d = MakeStraight(system, article, name, length);
        d.isBridge = true;
        d.isRamp = ramp;
        d.placeAsPair = pair;
        catalog.Add(std::move(d));
    }
    void CurvedRamp(const char* article, const char* name, double radius, double angleDeg) {
        PieceDef d = MakeCurve(system, article, name, radius, angleDeg);
        d.isBridge = true;
        d.isRamp = true;
        catalog.Add(std::move(d));
    }

    // A turnout whose branch leaves after a straight lead, runs one arc and ends in a straight
    // extension; the branch end sits where that path puts it.
    void LeadTurnout(const char* article, const char* name, PieceKind kind, double length,
                     double lead, double radius, double angleDeg, double extension) {
        const double x = lead + radius * SinDeg(angleDeg) + extension * CosDeg(angleDeg);
        const double y = radius * (1 - CosDeg(angleDeg)) + extension * SinDeg(angleDeg);
        const bool left = kind == PieceKind::LeftTurnout;
        Explicit(
            article, name, kind, length, radius, left ? -angleDeg : angleDeg,
            {{0, 0, 180}, {length, 0, 0}, {x, left ? -y : y, left ? 360 - angleDeg : angleDeg}});
    }
    // A crossing or slip whose second route crosses the first in its middle at `angleDeg`;
    // a negative angle mirrors it.
    void MidCrossing(const char* article, const char* name, PieceKind kind, double length,
                     double radius, double angleDeg) {
        const double half = length / 2;
        const double along = half * CosDeg(angleDeg), across = half * SinDeg(angleDeg);
        Explicit(article, name, kind, length, radius, angleDeg,
                 {{0, 0, 180},
                  {length, 0, 0},
                  {half - along, -across, NormalizeDeg(180 + angleDeg)},
                  {half + along, across, NormalizeDeg(angleDeg)}});
    }
    // Two parallel tracks `spacing` apart in one piece, the second on the +y side: the
    // crossing's four ends with its second route beside the first. A crossover also links
    // the two tracks, and takes the double slip's ends in the same order.
    void DoubleTrack(const char* article, const char* name, PieceKind kind, double length,
                     double spacing, bool bridge = false, double angleDeg = 0) {
        PieceDef d =
            MakeExplicit(system, article, name, kind, length, 0, angleDeg,
                         {{0, 0, 180}, {length, 0, 0}, {0, spacing, 180}, {length, spacing, 0}});
        d.isBridge = bridge;
        catalog.Add(std::move(d));
    }
    void CurvedBridge(const char* article, const char* name, double radius, double angleDeg) {
        PieceDef d = MakeCurve(system, article, name, radius, angleDeg);
        d.isBridge = true;
        catalog.Add(std::move(d));
    }

    // The same geometry as an earlier record (possibly of another system) under a new article.
    void CopyOf(const char* source, const char* article, const char* name) {
        PieceDef d = *catalog.Find(source);
        d.article = article;
        d.name = name;
        d.system = system;
        catalog.Add(std::move(d));
    }

private:
    TrackCatalog& catalog;
    TrackSystem system;
};

constexpr auto kLeft = PieceKind::LeftTurnout;
constexpr auto kRight = PieceKind::RightTurnout;
constexpr auto kCurvedC = PieceKind::CurvedTurnout;
constexpr auto kCurvedK = PieceKind::CurvedTurnoutK;
constexpr auto kSlip = PieceKind::DoubleSlip;
constexpr auto kCrossing = PieceKind::Crossing;
constexpr auto kBumper = PieceKind::Bumper;

void AddMarklinC(TrackCatalog& catalog) {
    TableBlock t(catalog, TrackSystem::MarklinC);
    // Straights, curves and structures.
    t.Straight("24188", "24188 - 188.3mm", 188.3);
    t.Straight("24172", "24172 - 171.7mm", 171.7);
    t.Straight("24360", "24360 - 360mm", 360);
    t.StraightBridge("74636", "74636 Arch Bridge 360mm", 360);
    t.StraightBridge("74620", "74620 Truss Bridge 180mm", 188.3);
    t.CurvedRamp("74623", "74623 Curved Ramp R2 30deg", 437.5, 30);
    t.CurvedRamp("74613", "74613 Curved Ramp R1 30deg", 360, 30);
    t.StraightBridge("74618", "74618 Straight Ramp 180mm (pair)", 180, true, true);
    t.Straight("24229", "24229 - 229mm", 229);
    t.Straight("24236", "24236 - 236mm", 236);
    t.Straight("24094", "24094 - 94.2mm", 94.2);
    t.Straight("24077", "24077 - 77.5mm", 77.5);
    t.Straight("24071", "24071 - 71mm", 71);
    t.Straight("24064", "24064 - 64mm", 64);
    t.Curve("24130", "24130 (30\u00b0) R1 - 360mm (14-3/16)", 360, 30);
    t.Curve("24230", "24230 (30\u00b0) R2 - 437.5mm (17-1/4)", 437.5, 30);
    t.Curve("24330", "24330 (30\u00b0) R3 - 515mm (20-1/4)", 515, 30);
    t.Curve("24315", "24315 (15\u00b0) R3 - 515mm (20-1/4)", 515, 15);
    t.Curve("24430", "24430 (30\u00b0) R4 - 579.3mm (22-13/16)", 579.3, 30);
    t.Curve("24530", "24530 (30\u00b0) R5 - 643.6mm (25-11/32)", 643.6, 30);
    t.Curve("24115", "24115 (15\u00b0) R1 - 360mm (14-3/16)", 360, 15);
    t.Curve("24107", "24107 (7.5\u00b0) R1 - 360mm (14-3/16)", 360, 7.5);
    t.Curve("24224", "24224 (24.3\u00b0) R2 - 437.5mm (17-1/4)", 437.5, 24.3);
    t.Curve("24206", "24206 (5.7\u00b0) R2 - 437.5mm (17-1/4)", 437.5, 5.7);
    t.Curve("24207", "24207 (7.5\u00b0) R2 - 437.5mm (17-1/4)", 437.5, 7.5);
    t.Curve("24294", "24294 (15\u00b0) R2 - 437.5mm (17-1/4) Circuit", 437.5, 15);
    t.Straight("24994", "24994 - 94.2mm Circuit", 94.2);
    t.Curve("24215", "24215 (15\u00b0) R2 - 437.5mm (17-1/4)", 437.5, 15);
    t.Curve("24912", "24912 (12.1\u00b0) R9 - 1114.6mm (43-7/8)", 1114.6, 12.1);

    // Turnouts, crossings, slips and bumpers with their ends written out (x, y, heading).
    t.Explicit("24611", "24611 Left Turnout R2=437.5mm 24.3\u00b0", kLeft, 188.3, 437.5, -24.3,
               {{0, 0, 180}, {188.3, 0, 0}, {180.04, -38.76, 335.7}});
    t.Explicit("24612", "24612 Right Turnout R2=437.5mm 24.3\u00b0", kRight, 188.3, 437.5, 24.3,
               {{0, 0, 180}, {188.3, 0, 0}, {180.04, 38.76, 24.3}});
    t.Explicit("24630", "24630 Three-Way Turnout 2x24.3\u00b0", kLeft, 188.3, 437.5, 24.3,
               {{0, 0, 180}, {188.3, 0, 0}, {180.04, 38.76, 24.3}, {180.04, -38.76, 335.7}});
    t.Explicit("24671", "24671 Left Curved Turnout (R360)", kCurvedC, 257.5, 360, -30,
               {{0, 0, 180}, {180, -48.2, 330}, {257.5, -48.2, 330}});
    t.Explicit("24672", "24672 Right Curved Turnout (R360)", kCurvedC, 257.5, 360, 30,
               {{0, 0, 180}, {180, 48.2, 30}, {257.5, 48.2, 30}});
    t.Explicit("24740", "24740 Wide-Angle Crossing 12.1\u00b0 236.1mm", kCrossing, 236.1, 0, 12.1,
               {{0, 0, 180}, {236.1, 0, 0}, {2.62, -24.75, 192.1}, {233.48, 24.75, 12.1}});
    t.Explicit("24649", "24649 Crossing 48.6\u00b0 103.3mm", kCrossing, 103.3, 0, 48.6,
               {{0, 0, 180}, {103.3, 0, 0}, {17.49, -38.74, 228.6}, {85.81, 38.74, 48.6}});
    t.Explicit("24640", "24640 Crossing 24.3\u00b0 188.3mm", kCrossing, 188.3, 0, 24.3,
               {{0, 0, 180}, {188.3, 0, 0}, {8.34, -38.74, 204.3}, {179.96, 38.74, 24.3}});
    t.Explicit("24624", "24624 Double Slip Switch 24.3\u00b0", kSlip, 188.3, 437.4, 24.3,
               {{0, 0, 180}, {188.3, 0, 0}, {8.34, -38.74, 204.3}, {179.96, 38.74, 24.3}});
    t.Explicit("24720", "24720 Double Slip Switch slim 12.1\u00b0", kSlip, 236.1, 1114.6, 12.1,
               {{0, 0, 180}, {236.1, 0, 0}, {2.62, -24.75, 192.1}, {233.48, 24.75, 12.1}});
    t.Explicit("24711", "24711 Slim Left Turnout (R1114.6)", kLeft, 231.74, 1114.6, -12,
               {{0, 0, 180}, {231.74, 0, 0}, {231.74, -24.36, 348}});
    t.Explicit("24712", "24712 Slim Right Turnout (R1114.6)", kRight, 231.74, 1114.6, 12,
               {{0, 0, 180}, {231.74, 0, 0}, {231.74, 24.36, 12}});
    t.Explicit("24771", "24771 Slim Left Curved Turnout (R515)", kCurvedC, 321.5, 515, -30,
               {{0, 0, 180}, {257.5, -69, 330}, {321.5, -69, 330}});
    t.Explicit("24772", "24772 Slim Right Curved Turnout (R515)", kCurvedC, 321.5, 515, 30,
               {{0, 0, 180}, {257.5, 69, 30}, {321.5, 69, 30}});
    t.Explicit("24977", "24977 Bumper Stop", kBumper, 48.3, 0, 0, {{0, 0, 180}});
    t.Explicit("24978", "24978 Bumper Stop with Light", kBumper, 48.3, 0, 0, {{0, 0, 180}});

    // Uncoupler, the adapter to K-Track and the turntable.
    t.Straight("24997", "24997 Uncoupler 94.2mm", 94.2);
    PieceDef adapter =
        MakeStraight(TrackSystem::MarklinC, "24922", "24922 Adapter C-Track to K-Track 180mm", 180);
    adapter.connectorSystems = {TrackSystem::MarklinC, TrackSystem::MarklinK};
    catalog.Add(std::move(adapter));

    // The turntable is centred on its origin; its 30 track exits sit every 12 degrees on the
    // pit rim and point outwards.
    PieceDef turntable = MakeExplicit(TrackSystem::MarklinC, "74862", "74862 Turntable (pit 278mm)",
                                      PieceKind::Turntable, 378, 139, 12, {});
    for (uint32_t i = 0; i < 30; ++i) {
        const double heading = 12.0 * i;
        turntable.connectors.push_back({139 * CosDeg(heading), 139 * SinDeg(heading), heading, i});
    }
    catalog.Add(std::move(turntable));
}

void AddTrixC(TrackCatalog& catalog) {
    TableBlock t(catalog, TrackSystem::TrixC);
    t.Straight("62064", "62064 Straight 64.3mm / 2-9/16\"", 64.3);
    t.Straight("62071", "62071 Straight 70.8mm / 2-13/16\"", 70.8);
    t.Straight("62077", "62077 Straight 77.5mm / 3-1/16\"", 77.5);
    t.Straight("62094", "62094 Straight 94.2mm / 3-3/4\"", 94.2);
    t.Straight("62172", "62172 Straight 171.7mm / 6-3/4\"", 171.7);
    t.Straight("62188", "62188 Straight 188.3mm / 7-3/8\"", 188.3);
    t.Straight("62229", "62229 Straight 229.3mm / 9\"", 229.3);
    t.Straight("62236", "62236 Straight 236.1mm / 9-5/16\"", 236.1);
    t.Straight("62360", "62360 Straight 360mm / 14-3/16\"", 360);
    t.Curve("62107", "62107 (7.5deg) R1 - 360mm", 360, 7.5);
    t.Curve("62115", "62115 (15deg) R1 - 360mm", 360, 15);
    t.Curve("62130", "62130 (30deg) R1 - 360mm", 360, 30);
    t.Curve("62206", "62206 (5.7deg) R2 - 437.5mm", 437.5, 5.7);
    t.Curve("62207", "62207 (7.5deg) R2 - 437.5mm", 437.5, 7.5);
    t.Curve("62215", "62215 (15deg) R2 - 437.5mm", 437.5, 15);
    t.Curve("62224", "62224 (24.3deg) R2 - 437.5mm", 437.5, 24.3);
    t.Curve("62230", "62230 (30deg) R2 - 437.5mm", 437.5, 30);
    t.Curve("62315", "62315 (15deg) R3 - 515mm", 515, 15);
    t.Curve("62330", "62330 (30deg) R3 - 515mm", 515, 30);
    t.Curve("62912", "62912 (12.1deg) R9 - 1114.6mm", 1114.6, 12.1);
    // The TRIX turnouts and the slip share their geometry with the C-Track ones.
    t.CopyOf("24611", "62611", "62611 Left Turnout R2=437.5mm 24.3deg");
    t.CopyOf("24612", "62612", "62612 Right Turnout R2=437.5mm 24.3deg");
    t.Explicit("62671", "62671 Left Curved Turnout", kCurvedC, 257.5, 437.5, -24.3,
               {{0, 0, 180}, {180, -38.76, 335.7}, {257.5, -38.76, 335.7}});
    t.Explicit("62672", "62672 Right Curved Turnout", kCurvedC, 257.5, 437.5, 24.3,
               {{0, 0, 180}, {180, 38.76, 24.3}, {257.5, 38.76, 24.3}});
    t.CopyOf("24630", "62630", "62630 Three-Way Turnout 2x24.3deg");
    t.CopyOf("24624", "62624", "62624 Double Slip Switch 24.3deg");
    t.Explicit("62977", "62977 Track End with Bumper 80.5mm", kBumper, 80.5, 0, 0, {{0, 0, 180}});
    t.Straight("62997", "62997 Uncoupler Track 94.2mm", 94.2);
    t.StraightBridge("62636", "62636 Arch Bridge 360mm", 360);
    t.StraightBridge("62620", "62620 Truss Bridge 188mm", 188.3);
    t.CurvedRamp("62623", "62623 Curved Ramp R2 30deg", 437.5, 30);
    t.CurvedRamp("62613", "62613 Curved Ramp R1 30deg", 360, 30);
}

void AddMarklinZ(TrackCatalog& catalog) {
    TableBlock t(catalog, TrackSystem::MarklinZ);
    t.Straight("8500", "8500 Straight 110mm / 4-3/8\"", 110);
    t.Straight("8501", "8501 Straight 55mm / 2-3/16\" (half)", 55);
    t.Straight("8502", "8502 Straight 27.5mm / 1-1/8\" (qtr)", 27.5);
    t.Straight("8503", "8503 Straight 55mm / 2-3/16\"", 55);
    t.Straight("8504", "8504 Straight 25mm / 1\"", 25);
    t.Straight("8505", "8505 Straight 220mm / 8-13/16\"", 220);
    t.Straight("8506", "8506 Straight 112.8mm / 4-7/16\"", 112.8);
    t.Straight("8507", "8507 Straight 112.8mm / 4-7/16\"", 112.8);
    t.Straight("8587", "8587 Uncoupler 55mm / 2-3/16\"", 55);
    t.Straight("8588", "8588 Isolating Track 55mm / 2-3/16\"", 55);
    t.Straight("8590", "8590 Feeder Track 110mm / 4-3/8\"", 110);
    t.Straight("8598", "8598 Isolating Track 55mm / 2-3/16\"", 55);
    t.Curve("8510", "8510 Curve R1=145mm 45deg", 145, 45);
    t.Curve("8511", "8511 Curve R1=145mm 30deg", 145, 30);
    t.Curve("8520", "8520 Curve R2=195mm 45deg", 195, 45);
    t.Curve("8521", "8521 Curve R2=195mm 30deg", 195, 30);
    t.Curve("8529", "8529 Circuit Curve R2=195mm 45deg", 195, 45);
    t.Curve("8530", "8530 Curve R3=220mm 45deg", 220, 45);
    t.Curve("8531", "8531 Curve R3=220mm 30deg", 220, 30);
    t.Curve("8539", "8539 Circuit Curve R3=220mm 45deg", 220, 45);
    t.Curve("8591", "8591 Turnout Branch Curve R4=490mm 13deg", 490, 13);
    // 490 sin 13 is a little longer than the 110 mm straight route, so the rule clips the branch.
    t.Turnout("8562", "8562 Electric Left Turnout 110mm 13deg", kLeft, 110, 490, 13);
    t.Turnout("8563", "8563 Electric Right Turnout 110mm 13deg", kRight, 110, 490, 13);
    t.Turnout("8565", "8565 Manual Left Turnout 110mm 13deg", kLeft, 110, 490, 13);
    t.Turnout("8566", "8566 Manual Right Turnout 110mm 13deg", kRight, 110, 490, 13);

    // The curved turnouts end their inner route on a 195 mm, 30 degree arc; the outer route
    // ends 25 mm further along x with the same offset and heading.
    const double innerX = 195 * SinDeg(30);
    const double innerY = 195 - 195 * CosDeg(30);
    t.Explicit("8568", "8568 Electric Left Curved Turnout R=195mm 30deg", kCurvedK, 25, 195, -30,
               {{0, 0, 180}, {innerX, -innerY, 330}, {innerX + 25, -innerY, 330}});
    t.Explicit("8569", "8569 Electric Right Curved Turnout R=195mm 30deg", kCurvedK, 25, 195, 30,
               {{0, 0, 180}, {innerX, innerY, 30}, {innerX + 25, innerY, 30}});

    // The crossing's second route passes through the middle of the first at 13 degrees.
    const double half = 56.4;
    const double alongX = half * CosDeg(13);
    const double acrossY = half * SinDeg(13);
    t.Explicit(
        "8559", "8559 Crossing 112.8mm 13deg", kCrossing, 112.8, 0, 13,
        {{0, 0, 180}, {112.8, 0, 0}, {half - alongX, -acrossY, 193}, {half + alongX, acrossY, 13}});
    t.Explicit("8560", "8560 Double Slip Switch 13\u00b0", kSlip, 112.8, 501.4424, 13,
               {{0, 0, 180}, {112.8, 0, 0}, {0, -12.8519, 193}, {112.8, 12.8519, 13}});
    t.Explicit("8991", "8991 Track Bumper 15mm", kBumper, 15, 0, 0, {{0, 0, 180}});
    t.StraightBridge("8975", "8975 Arch Bridge 220mm", 220);
    t.StraightBridge("89759", "89759 Girder Bridge 110mm", 110);
    t.StraightBridge("8976", "8976 Straight Ramp 110mm", 110, true);
    t.CurvedRamp("8977", "8977 Curved Ramp R1=145mm 45deg", 145, 45);
}

void AddMarklinK(TrackCatalog& catalog) {
    TableBlock t(catalog, TrackSystem::MarklinK);
    t.Straight("2200", "2200 Straight Track Length 180 mm / 7-3/32\"", 180);
    t.Straight("2201", "2201 Straight Track Length 90 mm / 3-9/16\"", 90);
    t.Straight("2202", "2202 Straight Track Length 45 mm / 1-3/4\"", 45);
    t.Straight("2203", "2203 Straight Track Length 30 mm / 1-3/16\"", 30);
    t.Straight("2204", "2204 Straight Track Length 22.5 mm / 7/8\"", 22.5);
    t.FlexStraight("2205", "2205 Flex Track Length 900 mm / 35-7/16\"", 900);
    t.Straight("2206", "2206 Straight Track Length 168.9 mm / 6-5/8\"", 168.9);
    t.Straight("2207", "2207 Straight Track Length 156 mm / 6-1/8\"", 156);
    t.Straight("2208", "2208 Straight Track Length 35.1 mm / 1-3/8\"", 35.1);
    t.Straight("2209", "2209 Straight Track Length 217.9 mm / 8-9/16\"", 217.9);
    t.Straight("2293", "2293 Straight Track Length 41.3 mm / 1-5/8\"", 41.3);
    t.Straight("2290", "2290 Straight Feeder Track Length 180 mm / 7-3/32\"", 180);
    t.Straight("2291", "2291 Adapter Track for M Track Length 180 mm / 7-3/32\"", 180);
    t.Straight("2292", "2292 Straight Feeder Track Length 180 mm / 7-3/32\"", 180);
    t.Straight("2295", "2295 Contact Track Set Length 2 x 90 mm / 3-9/16\"", 90);
    t.Straight("2297", "2297 Straight Uncoupler Track Length 90 mm / 3-9/16\"", 90);
    t.Straight("2299", "2299 Straight Circuit Track Length 90 mm / 3-9/16\"", 90);
    t.Curve("2210", "2210 Curved Track R0=295.4mm 45deg", 295.4, 45);
    t.Curve("2229", "2229 Curved Circuit Track Radius 360 mm", 360, 45);
    t.Curve("2221", "2221 Curved Track R1=360mm 30deg", 360, 30);
    t.Curve("2223", "2223 Curved Track Radius 15\u00b0 (R2=424.6 mm / 16-3/4\")", 424.6, 15);
    t.Curve("2224", "2224 Curved Track Radius 7\u00b0 (R2=424.6 mm / 16-3/4\")", 424.6, 7.5);
    t.Curve("2239", "2239 Curved Circuit Track Radius 424.6 mm / 16-3/4\"", 424.6, 30);
    t.Curve("2231", "2231 Curved Track R2=424.6mm 30deg", 424.6, 30);
    t.Curve("2232", "2232 Curved Track R2=424.6mm 22.5deg", 424.6, 22.5);
    t.Curve("2233", "2233 Curved Track Radius 15\u00b0 (R3=515 mm)", 515, 15);
    t.Curve("2234", "2234 Curved Track Radius 7\u00b0 (R3=515 mm)", 515, 7.5);
    t.Curve("2235", "2235 Curved Track Radius 3\u00b0 (R3=515 mm)", 515, 3);
    t.Curve("2241", "2241 Curved Track Radius 30\u00b0 (R4=573.6 mm)", 573.6, 30);
    t.Curve("2251", "2251 Curved Track Radius 30\u00b0 (R4=573.6 mm)", 573.6, 30);
    t.Curve("2274", "2274 Curved Track Radius 14\u00b0 (R5=636 mm)", 636, 14);

    t.Explicit("2257", "2257 Crossing Length 225 mm / 8-7/8\"", kCrossing, 225, 0, 22.5,
               {{0, 0, 180}, {225, 0, 0}, {8.56, -43.05, 202.5}, {216.44, 43.05, 22.5}});
    t.Explicit("2258", "2258 Crossing Length 90 mm / 3-9/16\"", kCrossing, 90, 0, 45,
               {{0, 0, 180}, {90, 0, 0}, {13.18, -31.82, 225}, {76.82, 31.82, 45}});
    t.Explicit("2259", "2259 Crossing Length 168.9 mm / 6-5/8\"", kCrossing, 168.9, 0, 22.5,
               {{0, 0, 180}, {168.9, 0, 0}, {6.43, -32.32, 202.5}, {162.47, 32.32, 22.5}});
    t.Turnout("2262", "2262 Left Turnout Length 168.9 mm / 6-5/8\"", kLeft, 168.9, 424.6, 22.5);
    t.Turnout("2263", "2263 Right Turnout Length 168.9 mm / 6-5/8\"", kRight, 168.9, 424.6, 22.5);
    t.Turnout("2265", "2265 Left Turnout Length 168.9 mm / 6-5/8\" (manual)", kLeft, 168.9, 424.6,
              22.5);
    t.Turnout("2266", "2266 Right Turnout Length 168.9 mm / 6-5/8\" (manual)", kRight, 168.9, 424.6,
              22.5);
    // Unlike the C-Track pair, the K-Track "left" curved turnout bends towards +y.
    t.Explicit("2268", "2268 Left Curved Turnout Outer Curve 30\u00b0 Spacing 64.6 mm / 2-1/2\"",
               kCurvedK, 64.6, 360, 30, {{0, 0, 180}, {180, 48.23, 30}, {244.6, 48.23, 30}});
    t.Explicit("2269", "2269 Right Curved Turnout Outer Curve 30\u00b0 Spacing 64.6 mm / 2-1/2\"",
               kCurvedK, 64.6, 360, -30, {{0, 0, 180}, {180, -48.23, 330}, {244.6, -48.23, 330}});
    t.Explicit("2270",
               "2270 Symmetrical Three-Way Turnout Length 168.9 mm / Radius 424.6 mm / 16-3/4\"",
               kLeft, 168.9, 424.6, 22.5,
               {{0, 0, 180}, {168.9, 0, 0}, {162.49, 32.32, 22.5}, {162.49, -32.32, 337.5}});
    t.Turnout("22715", "22715 Left Turnout Length 225 mm / 8-7/8\" / Radius 902.4 mm / 35-1/2\"",
              kLeft, 225, 902.4, 14.3);
    t.Turnout("22716", "22716 Right Turnout Length 225 mm / 8-7/8\" / Radius 902.4 mm / 35-1/2\"",
              kRight, 225, 902.4, 14.3);
    t.Explicit("2260", "2260 Double Slip Switch Length 168.9 mm / 6-5/8\"", kSlip, 168.9, 424.6,
               22.5, {{0, 0, 180}, {168.9, 0, 0}, {6.41, -32.32, 202.5}, {162.49, 32.32, 22.5}});
    t.Explicit("2275",
               "2275 Double Slip Switch Length 225 mm / 8-7/8\" / Radius 902.4 mm / 35-1/2\"",
               kSlip, 225, 902.4, 14.3,
               {{0, 0, 180}, {225, 0, 0}, {3.49, -27.79, 194.3}, {221.51, 27.79, 14.3}});
    t.Bumper("7389", "7389 Track Bumper", 60);
    t.Bumper("7391", "7391 Track Bumper", 40);
    t.StraightBridge("7263", "7263 Arch Bridge 360mm", 360);
    t.StraightBridge("7262", "7262 Truss Bridge 180mm", 180);
    t.CurvedRamp("7569", "7569 Curved Ramp R2 30deg", 424.6, 30);
    t.CurvedRamp("7267", "7267 Curved Ramp R1 45deg", 360, 45);
}
// Kato Unitrack N: 33 mm track centres. Numbers of the form "20-091A" name the single pieces
// of a set; "S60L", "S60R" and "S45.5" are the maker's names of pieces supplied with
// turnouts and crossings.
void AddKatoN(TrackCatalog& catalog) {
    TableBlock t(catalog, TrackSystem::KatoN);
    t.Straight("20-000", "20-000 Straight 248mm", 248);
    t.Straight("20-010", "20-010 Straight 186mm", 186);
    t.Straight("20-020", "20-020 Straight 124mm", 124);
    t.Straight("20-030", "20-030 Straight 64mm", 64);
    t.Straight("20-040", "20-040 Straight 62mm", 62);
    t.Straight("20-041", "20-041 Feeder Track 62mm", 62);
    t.Straight("20-045", "20-045 Conversion Track 62mm", 62);
    t.Straight("20-021", "20-021 Road Crossing 124mm", 124);
    t.Straight("20-032", "20-032 Uncoupler 64mm", 64);
    t.Straight("20-050", "20-050 Adjustable Track 78-108mm", 78);
    t.Straight("20-091A", "20-091A Straight 45.5mm", 45.5);
    t.Straight("20-091B", "20-091B Straight 29mm", 29);
    t.Straight("20-092A", "20-092A Straight 33mm", 33);
    t.Straight("20-092B", "20-092B Straight 38mm", 38);
    t.Straight("S60L", "S60L Straight 60mm", 60);
    t.Straight("S60R", "S60R Straight 60mm", 60);
    t.Straight("S45.5", "S45.5 Straight 45.5mm", 45.5);
    t.Straight("20-015", "20-015 Ash Pit 186mm", 186);
    t.Straight("20-016", "20-016 Open Pit 186mm", 186);
    t.Straight("20-875", "20-875 Concrete Tie Straight 248mm", 248);
    t.Straight("20-605-1", "20-605-1 Signal Track 124mm", 124);
    t.Straight("20-285", "20-285 Turntable Track 139.5mm", 139.5);

    t.Curve("20-176", "20-176 Curve R117mm 45\u00b0", 117, 45);
    t.Curve("20-174", "20-174 Curve R150mm 45\u00b0", 150, 45);
    t.Curve("20-172", "20-172 Curve R183mm 45\u00b0", 183, 45);
    t.Curve("20-170", "20-170 Curve R216mm 45\u00b0", 216, 45);
    t.Curve("20-171", "20-171 Curve R216mm 15\u00b0", 216, 15);
    t.Curve("20-100", "20-100 Curve R249mm 45\u00b0", 249, 45);
    t.Curve("20-101", "20-101 Curve R249mm 15\u00b0", 249, 15);
    t.Curve("20-110", "20-110 Curve R282mm 45\u00b0", 282, 45);
    t.Curve("20-111", "20-111 Curve R282mm 15\u00b0", 282, 15);
    t.Curve("20-120", "20-120 Curve R315mm 45\u00b0", 315, 45);
    t.Curve("20-121", "20-121 Curve R315mm 15\u00b0", 315, 15);
    t.Curve("20-130", "20-130 Curve R348mm 30\u00b0", 348, 30);
    t.Curve("20-132", "20-132 Curve R348mm 45\u00b0", 348, 45);
    t.Curve("20-140", "20-140 Curve R381mm 30\u00b0", 381, 30);
    t.Curve("20-141", "20-141 Curve R381mm 10\u00b0", 381, 10);
    t.Curve("20-160", "20-160 Curve R481mm 15\u00b0", 481, 15);
    t.Curve("20-150", "20-150 Curve R718mm 15\u00b0", 718, 15);

    // Turnouts are pure arcs from the points: #6 on R718, #4 on R481 with a 126 mm straight
    // route (the branch ends at x = 124.5), the compact ones on R150. Kato numbers the left
    // hand even and the right hand odd.
    t.Turnout("20-202", "20-202 Left Turnout #6 R718mm 15\u00b0", kLeft, 186, 718, 15);
    t.Turnout("20-203", "20-203 Right Turnout #6 R718mm 15\u00b0", kRight, 186, 718, 15);
    t.Turnout("20-220", "20-220 Left Turnout #4 R481mm 15\u00b0", kLeft, 126, 481, 15);
    t.Turnout("20-221", "20-221 Right Turnout #4 R481mm 15\u00b0", kRight, 126, 481, 15);
    t.Turnout("20-240", "20-240 Compact Left Turnout R150mm 45\u00b0", kLeft, 124, 150, 45);
    t.Turnout("20-241", "20-241 Compact Right Turnout R150mm 45\u00b0", kRight, 124, 150, 45);
    // The wye has no straight route: connector 1 ends the right arc, connector 2 the left.
    const double wyeX = 481 * SinDeg(15), wyeY = 481 * (1 - CosDeg(15));
    t.Explicit("20-222", "20-222 Wye Turnout #2 R481mm 15\u00b0", kLeft, 124, 481, -15,
               {{0, 0, 180}, {wyeX, wyeY, 15}, {wyeX, -wyeY, 345}});
    // The crossovers link two tracks 33 mm apart, the second on the +y side: the double one
    // both ways, the right one from track 1 across to the right, the left one from track 2
    // across to the left (the angle of the crossing move, signed as the turnouts').
    t.DoubleTrack("20-210", "20-210 Double Crossover 310mm", kSlip, 310, 33);
    t.DoubleTrack("20-230", "20-230 Left Crossover 248mm", kSlip, 248, 33, false, -16.01);
    t.DoubleTrack("20-231", "20-231 Right Crossover 248mm", kSlip, 248, 33, false, 16.01);

    // The 15 degree crossings cross the 186 mm line from one #6 branch end to the other.
    t.Explicit("20-300", "20-300 Left Crossing 15\u00b0 186mm", kCrossing, 186, 0, 15,
               {{0, 0, 180}, {186, 0, 0}, {0, -24.5, 195}, {186, 24.5, 15}});
    t.Explicit("20-301", "20-301 Right Crossing 15\u00b0 186mm", kCrossing, 186, 0, -15,
               {{0, 0, 180}, {186, 0, 0}, {0, 24.5, 165}, {186, -24.5, 345}});
    t.MidCrossing("20-320", "20-320 Crossing 90\u00b0 124mm", kCrossing, 124, 0, 90);

    t.Bumper("20-060", "20-060 Bumper Stop 35mm", 35);
    t.Bumper("20-063", "20-063 Bumper Stop with Light 66mm", 66);
    t.Bumper("20-064", "20-064 Bumper Stop with Light 66mm", 66);

    t.DoubleTrack("20-004", "20-004 Double Track 248mm", kCrossing, 248, 33);
    t.DoubleTrack("20-012", "20-012 Double Track 186mm", kCrossing, 186, 33);
    t.DoubleTrack("20-023", "20-023 Double Track 124mm", kCrossing, 124, 33);
    t.DoubleTrack("20-042", "20-042 Double Track 62mm", kCrossing, 62, 33);
    t.DoubleTrack("20-043", "20-043 Double Track Feeder 62mm", kCrossing, 62, 33);

    t.StraightBridge("20-400", "20-400 Viaduct Bridge 248mm", 248);
    t.StraightBridge("20-410", "20-410 Viaduct Bridge 186mm", 186);
    t.StraightBridge("20-420", "20-420 Viaduct Bridge 124mm", 124);
    t.StraightBridge("20-421", "20-421 Platform Viaduct Bridge 124mm", 124);
    t.StraightBridge("20-440", "20-440 Viaduct Bridge 62mm", 62);
    t.CurvedBridge("20-505", "20-505 Curved Viaduct Bridge R249mm 45\u00b0", 249, 45);
    t.CurvedBridge("20-510", "20-510 Curved Viaduct Bridge R282mm 45\u00b0", 282, 45);
    t.CurvedBridge("20-520", "20-520 Curved Viaduct Bridge R315mm 45\u00b0", 315, 45);
    t.CurvedBridge("20-530", "20-530 Curved Viaduct Bridge R348mm 45\u00b0", 348, 45);
    t.CurvedBridge("20-531", "20-531 Curved Viaduct Bridge R348mm 30\u00b0", 348, 30);
    t.CurvedBridge("20-540", "20-540 Curved Viaduct Bridge R381mm 30\u00b0", 381, 30);
    t.DoubleTrack("20-401", "20-401 Double Viaduct Bridge 248mm", kCrossing, 248, 33, true);
    t.DoubleTrack("20-411", "20-411 Double Viaduct Bridge 186mm", kCrossing, 186, 33, true);
    t.DoubleTrack("20-422", "20-422 Double Viaduct Bridge 124mm", kCrossing, 124, 33, true);
}

// Minitrix N, Code 80: 33.6 mm track spacing; the radii R1 to R6 step by it.
void AddMinitrixN(TrackCatalog& catalog) {
    TableBlock t(catalog, TrackSystem::MinitrixN);
    t.FlexStraight("14901", "14901 Flex Track 730mm", 730);
    t.Straight("14902", "14902 Straight 312.6mm", 312.6);
    t.Straight("14903", "14903 Straight 17.2mm", 17.2);
    t.Straight("14904", "14904 Straight 104.2mm", 104.2);
    t.Straight("14905", "14905 Straight 76.3mm", 76.3);
    t.Straight("14906", "14906 Straight 54.2mm", 54.2);
    t.Straight("14907", "14907 Straight 50mm", 50);
    t.Straight("14908", "14908 Straight 27.9mm", 27.9);
    t.Straight("14909", "14909 Straight 33.6mm", 33.6);
    t.Straight("14979", "14979 Contact Track 50mm", 50);
    t.Straight("14980", "14980 Contact Track 50mm", 50);
    t.Straight("14969", "14969 Uncoupler 76.3mm", 76.3);
    t.Straight("14974", "14974 Road Crossing 104.2mm", 104.2);
    t.Straight("14975", "14975 Adjustable Track 86.5-120mm", 86.5);

    t.Curve("14912", "14912 Curve R1=194.6mm 30\u00b0", 194.6, 30);
    t.Curve("14914", "14914 Curve R1=194.6mm 24\u00b0", 194.6, 24);
    t.Curve("14916", "14916 Curve R1=194.6mm 6\u00b0", 194.6, 6);
    t.Curve("14972", "14972 Connection Curve R1=194.6mm 30\u00b0", 194.6, 30);
    t.Curve("14922", "14922 Curve R2=228.2mm 30\u00b0", 228.2, 30);
    t.Curve("14924", "14924 Curve R2=228.2mm 24\u00b0", 228.2, 24);
    t.Curve("14926", "14926 Curve R2=228.2mm 6\u00b0", 228.2, 6);
    t.Curve("14917", "14917 Curve R3=329mm 15\u00b0", 329, 15);
    t.Curve("14927", "14927 Curve R4=362.6mm 15\u00b0", 362.6, 15);
    t.Curve("14918", "14918 Curve R5=492.6mm 15\u00b0", 492.6, 15);
    t.Curve("14928", "14928 Curve R6=526.2mm 15\u00b0", 526.2, 15);

    // The branches start and end in short straights: the R1 turnouts end where an R1 24 degree
    // curve does, the R4 ones 33.6 mm beside the straight after a 15 degree curve.
    t.LeadTurnout("14961", "14961 Left Turnout R1 24\u00b0 104.2mm", kLeft, 104.2, 8.97, 152.4, 24,
                  8.97);
    t.LeadTurnout("14963", "14963 Right Turnout R1 24\u00b0 104.2mm", kRight, 104.2, 8.97, 152.4,
                  24, 8.97);
    t.LeadTurnout("14936", "14936 Left Turnout R4 15\u00b0 112.6mm", kLeft, 112.6, 8.97, 294.5, 15,
                  26.17);
    t.LeadTurnout("14937", "14937 Right Turnout R4 15\u00b0 112.6mm", kRight, 112.6, 8.97, 294.5,
                  15, 26.17);
    const PieceDef& right = *catalog.Find("14937");
    const Connector& branch = right.connectors[2];
    t.Explicit("14940", "14940 Three-Way Turnout R4 15\u00b0 112.6mm", kLeft, 112.6, 294.5, 15,
               {{0, 0, 180}, {112.6, 0, 0}, {branch.x, branch.y, 15}, {branch.x, -branch.y, 345}});

    // Curved turnouts: connector 1 ends the inner route, connector 2 the outer one. The R1/R2
    // pair ends where R1 and R2 42 degree curves from the points do.
    const double in1x = 194.6 * SinDeg(42), in1y = 194.6 * (1 - CosDeg(42));
    const double out2x = 228.2 * SinDeg(42), out2y = 228.2 * (1 - CosDeg(42));
    t.Explicit("14966", "14966 Left Curved Turnout R1/R2 42\u00b0", kCurvedC, out2x, 194.6, -42,
               {{0, 0, 180}, {in1x, -in1y, 318}, {out2x, -out2y, 318}});
    t.Explicit("14967", "14967 Right Curved Turnout R1/R2 42\u00b0", kCurvedC, out2x, 194.6, 42,
               {{0, 0, 180}, {in1x, in1y, 42}, {out2x, out2y, 42}});
    t.Explicit("14970", "14970 Left Curved Turnout R3/R4 30\u00b0", kCurvedC, 181.3, 329, -30,
               {{0, 0, 180}, {164.5, -44.08, 330}, {181.3, -43.7, 330}});
    t.Explicit("14971", "14971 Right Curved Turnout R3/R4 30\u00b0", kCurvedC, 181.3, 329, 30,
               {{0, 0, 180}, {164.5, 44.08, 30}, {181.3, 43.7, 30}});

    t.MidCrossing("14958", "14958 Crossing 30\u00b0 104.2mm", kCrossing, 104.2, 0, 30);
    t.MidCrossing("14973", "14973 Crossing 15\u00b0 129.8mm", kCrossing, 129.8, 0, 15);
    t.MidCrossing("14968", "14968 Double Slip Switch 30\u00b0", kSlip, 104.2, 127.5, 30);
    t.MidCrossing("14960", "14960 Double Slip Switch 15\u00b0", kSlip, 129.8, 356.7, 15);

    t.Bumper("14991", "14991 Track Bumper 50mm", 50);
    t.Bumper("14976", "14976 Track Bumper 24mm", 24);
}
}  // namespace

void TrackCatalog::FillBuiltInTables() {
    pieces.clear();
    byArticle.clear();
    AddMarklinC(*this);
    AddTrixC(*this);
    AddMarklinZ(*this);
    AddMarklinK(*this);
    AddKatoN(*this);
    AddMinitrixN(*this);
    filled = true;
}
