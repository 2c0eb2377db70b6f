// The built-in track tables: every piece of the four track systems, in catalog order.
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
}  // namespace

void TrackCatalog::FillBuiltInTables() {
    pieces.clear();
    byArticle.clear();
    AddMarklinC(*this);
    AddTrixC(*this);
    AddMarklinZ(*this);
    AddMarklinK(*this);
    filled = true;
}
