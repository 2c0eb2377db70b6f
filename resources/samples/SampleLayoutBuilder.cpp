// The sample layouts, built as a user would: each piece is aligned onto the end it joins.
#include "resources/samples/SampleLayoutBuilder.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/Geometry.h"
#include "canvas/Snapping.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "model/Tunnels.h"
#include "network/TrackGraph.h"
#include "wiring/WiringEdits.h"
#include "wiring/WiringProposals.h"

namespace {

// Lays track into one document.
class TrackLayer {
public:
    explicit TrackLayer(LayoutDocument& doc) : doc(doc) {}

    // A first piece, free on the layout.
    uint32_t Start(std::string_view article, double x, double y, double heading,
                   int32_t level = 1) {
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        return Add(*def, PiecePose{x, y, heading}, level);
    }
    // A piece whose connector `own` joins connector `conn` of `target`, with the target's level
    // and its height and grade carried on.
    uint32_t Attach(std::string_view article, uint32_t target, int conn, int own = 0) {
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        const PlacedPiece* t = doc.FindPiece(target);
        const PieceDef* tDef = TrackCatalog::Instance().Find(t->article);
        const PiecePose pose = AlignToConnector(*def, own, GetConnectorPose(*t, *tDef, conn));
        const uint32_t id = Add(*def, pose, t->level);
        JoinConnectors(doc, id, own, target, conn);
        ContinueGrade(doc, id, own, target, conn);
        return id;
    }
    // A run of pieces, each on connector 1 of the one before; returns the last.
    uint32_t Run(std::string_view article, int count, uint32_t target, int conn) {
        for (int i = 0; i < count; ++i) {
            target = Attach(article, target, conn);
            conn = 1;
        }
        return target;
    }
    // Joins ends the layout brought back together (a closed loop's last joint).
    void CloseLoops() {
        std::vector<uint32_t> ids;
        for (const PlacedPiece& p : doc.pieces) ids.push_back(p.id);
        JoinPlacedEnds(doc, ids);
    }

private:
    uint32_t Add(const PieceDef& def, const PiecePose& pose, int32_t level) {
        PlacedPiece p;
        p.id = doc.TakeId();
        p.article = def.article;
        p.x = pose.x;
        p.y = pose.y;
        p.heading = pose.heading;
        p.level = level;
        p.joints.resize(def.connectors.size());
        doc.pieces.push_back(p);
        return p.id;
    }

    LayoutDocument& doc;
};

// A helix stub's end away from the helix (its end 0 is where the helix winds on).
constexpr int kStubOuterEnd = 1;

void AddScenery(LayoutDocument& doc, const char* item, double x, double y, double heading = 0,
                int32_t level = 1, double scale = 1) {
    SceneryItem s;
    s.id = doc.TakeId();
    s.item = item;
    s.x = x;
    s.y = y;
    s.heading = heading;
    s.level = level;
    s.scaleX = s.scaleY = scale;
    doc.scenery.push_back(s);
}

void AddLabel(LayoutDocument& doc, const char* text, double x, double y) {
    Label l;
    l.id = doc.TakeId();
    l.text = text;
    l.x = x;
    l.y = y;
    doc.labels.push_back(l);
}

// A rectangular board, remembered as the layout shape it was made with, so that the shape
// dialog offers this board and not the default one.
void RectangleBoard(LayoutDocument& doc, double widthMm, double depthMm) {
    doc.baseboard = {{0, 0}, {widthMm, 0}, {widthMm, depthMm}, {0, depthMm}};
    doc.lastShape = 0;
    doc.shapeWidth = widthMm;
    doc.shapeHeight = depthMm;
}

void Finish(LayoutDocument& doc) {
    doc.ClearSelection();
    doc.ClearHistory();
    doc.activeLevel = 1;
}

// An oval of R1 curves with a station on its inner side and two sidings outside it.
LayoutDocument OvalStation() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    RectangleBoard(doc, 2400, 1300);
    TrackLayer t(doc);
    // Top run, left to right: turnout, three straights, turnout, straight.
    const uint32_t first = t.Start("24611", 700, 250, 0);
    uint32_t last = t.Run("24188", 3, first, 1);
    const uint32_t second = t.Attach("24611", last, 1);
    last = t.Run("24188", 1, second, 1);
    // Round the east end, back along the bottom, round the west end to the start.
    last = t.Run("24130", 6, last, 1);
    last = t.Run("24188", 6, last, 1);
    last = t.Run("24130", 6, last, 1);
    t.CloseLoops();
    // A siding behind each turnout, parallel to the main line, ending at a bumper.
    for (const uint32_t turnout : {first, second}) {
        uint32_t s = t.Attach("24224", turnout, 2);
        s = t.Run("24188", 2, s, 1);
        t.Attach("24977", s, 1);
    }
    AddScenery(doc, "platform_island", 1265, 345);
    AddScenery(doc, "station_large", 1265, 500);
    AddScenery(doc, "parking_lot", 1265, 760);
    AddScenery(doc, "signal_box", 640, 330);
    AddScenery(doc, "goods_shed", 1100, 80);
    AddScenery(doc, "tree_group", 250, 1150);
    AddScenery(doc, "tree_lg_dec", 2200, 1150);
    AddScenery(doc, "tree_conifer", 2330, 110);  // clear of the east siding's bumper
    AddLabel(doc, "Station", 1205, 620);
    Finish(doc);
    return doc;
}

// Two decks of K-Track joined by a helix: a tunnel on the lower deck, a bridge on the upper.
LayoutDocument TwoDecks() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    Level upper;
    upper.id = 2;
    upper.name = "Upper deck";
    upper.height = 260;  // the helix's rise
    upper.colourTrack = true;
    upper.colour = {200, 170, 140};
    // The board starts just clear of the helix's turns and leaves a gap for the bridge to span.
    upper.outline = {{785, 1000},  {1345, 1000}, {1345, 1100}, {1670, 1100},
                     {1670, 1000}, {2600, 1000}, {2600, 1400}, {785, 1400}};
    doc.levels.push_back(upper);
    RectangleBoard(doc, 2600, 1400);
    const uint32_t helixId = PlaceHelix(doc, 600, 700, 0, "proses_2_5_r1r2");
    const Helix helix = *doc.FindHelix(helixId);
    TrackLayer t(doc);
    // Lower deck: from the inner bottom stub through the adapter onto K-Track, into a tunnel,
    // then a turnout with two sidings.
    uint32_t lower = t.Attach("24922", helix.bottomR1, kStubOuterEnd);
    const uint32_t tunnelStart = t.Attach("2200", lower, 1);
    lower = t.Run("2200", 2, tunnelStart, 1);
    for (PlacedPiece& p : doc.pieces)
        p.selected = p.id == tunnelStart || p.id == lower || p.id == lower - 1;
    ToggleTunnel(doc);
    doc.ClearSelection();
    const uint32_t turnout = t.Attach("2262", lower, 1);
    uint32_t ahead = t.Run("2200", 3, turnout, 1);
    t.Attach("7389", ahead, 1);
    uint32_t branch = t.Attach("2224", turnout, 2);
    branch = t.Run("2224", 2, branch, 1);
    branch = t.Run("2200", 2, branch, 1);
    t.Attach("7389", branch, 1);
    // Upper deck: from the inner top stub over an arch bridge to a bumper.
    uint32_t upperRun = t.Attach("24922", helix.topR1, kStubOuterEnd);
    upperRun = t.Run("2200", 2, upperRun, 1);
    upperRun = t.Attach("7263", upperRun, 1);
    upperRun = t.Run("2200", 3, upperRun, 1);
    t.Attach("7389", upperRun, 1);
    // The outer stubs end at bumpers.
    for (const uint32_t stub : {helix.bottomR2, helix.topR2})
        t.Attach("24977", stub, kStubOuterEnd);
    for (PlacedPiece& p : doc.pieces)
        if (p.elevation > 1 && p.helixId == kNoId) p.level = 2;
    AddScenery(doc, "tree_group", 1500, 1250, 0, 2);
    AddScenery(doc, "tree_conifer", 1650, 1200, 0, 2);
    AddScenery(doc, "warehouse", 1500, 700);
    AddLabel(doc, "Helix to the upper deck", 380, 1260);
    Finish(doc);
    return doc;
}

// A Z-Track shelf: a run-around with a siding and a few buildings.
LayoutDocument ZShelf() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    doc.units = 1;
    RectangleBoard(doc, 1200, 300);
    TrackLayer t(doc);
    const uint32_t bumper = t.Start("8991", 80, 170, 180);
    uint32_t main = t.Attach("8500", bumper, 0);
    const uint32_t turnout = t.Attach("8562", main, 1);
    main = t.Run("8500", 6, turnout, 1);
    t.Attach("8991", main, 1);
    uint32_t siding = t.Attach("8591", turnout, 2);
    siding = t.Run("8500", 3, siding, 1);
    t.Attach("8991", siding, 1);
    AddScenery(doc, "signal_z_semaphore_stop", 270, 200, 0, 1, 1);
    AddScenery(doc, "platform", 760, 215, 0, 1, 0.6);
    AddScenery(doc, "station_small", 760, 265, 0, 1, 0.5);
    AddScenery(doc, "tree_conifer", 1120, 60);
    AddScenery(doc, "tree_sm_dec", 1160, 100);
    AddScenery(doc, "bush", 40, 60);
    Finish(doc);
    return doc;
}


// The pieces of a figure eight: each loop is three quarter circles of `curve` (each quarter
// `curvesPerQuarter` pieces) with `loopStraight` between them; the diagonals run from the
// crossing straight `crossing`, which passes the crossing `beforeCrossingMm` after its start,
// over `after` to a loop and back over `before`. Both diagonals must be the curve's radius and
// the loop straight long from the crossing to each loop, so that the loops close on themselves.
struct FigureEightTrack {
    const char* crossing;
    double beforeCrossingMm;
    const char* curve;
    int curvesPerQuarter;
    const char* loopStraight;
    std::vector<const char*> after, before;
    double climbDeg;  // the grade of the climb between its easings
};

// Lays the eight's track from the lower crossing straight, which it returns: out over a
// diagonal, round one loop, back over the crossing, round the other loop and home.
uint32_t LayFigureEight(LayoutDocument& doc, const FigureEightTrack& track) {
    TrackLayer t(doc);
    const double kBeforeCrossingMm = track.beforeCrossingMm;
    const uint32_t low = t.Start(track.crossing, -kBeforeCrossingMm * CosDeg(45),
                                 -kBeforeCrossingMm * SinDeg(45), 45);
    uint32_t last = low;
    int exit = 1;
    auto attach = [&](const char* article, bool reversed) {
        last = t.Attach(article, last, exit, reversed ? 1 : 0);
        exit = reversed ? 0 : 1;
    };
    // One loop turns right (its curves laid end first), the other left.
    auto loop = [&](bool right) {
        for (int arc = 0; arc < 3; ++arc) {
            if (arc > 0) attach(track.loopStraight, false);
            for (int i = 0; i < track.curvesPerQuarter; ++i) attach(track.curve, right);
        }
    };
    for (const char* a : track.after) attach(a, false);
    loop(true);
    for (const char* a : track.before) attach(a, false);
    attach(track.crossing, false);  // over the crossing
    for (const char* a : track.after) attach(a, false);
    loop(false);
    for (const char* a : track.before) attach(a, false);
    t.CloseLoops();
    return low;
}

// Heights along the track from the lower crossing: the climb eases in and out at half its
// grade so that no joint bends by a degree, levels out over the crossing and comes down the
// same way on the other loop.
void GradeFigureEight(LayoutDocument& doc, uint32_t low, double climbDeg) {
    std::vector<std::pair<uint32_t, int>> order;  // piece, connector it is entered by
    for (std::pair<uint32_t, int> at{low, 0}; order.size() < doc.pieces.size();) {
        order.push_back(at);
        const PlacedPiece& p = *doc.FindPiece(at.first);
        const Joint& j = p.joints[at.second == 0 ? 1 : 0];
        if (j.IsOpen() || j.target == low) break;
        at = {j.target, static_cast<int>(j.targetConn)};
    }
    const double kClimbDeg = climbDeg;
    const size_t half = order.size() / 2;
    double height = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        const size_t k = i % half;  // 0: a crossing piece, flat
        double deg = k == 0 ? 0 : (k == 1 || k == half - 1 ? kClimbDeg / 2 : kClimbDeg);
        if (i >= half) deg = -deg;
        PlacedPiece& p = *doc.FindPiece(order[i].first);
        const double rise = SinDeg(deg) * RunLength(*TrackCatalog::Instance().Find(p.article));
        const bool reversed = order[i].second != 0;
        p.elevation = reversed ? height + rise : height;
        p.grade = reversed ? -deg : deg;
        height += rise;
        if (std::fabs(height) < 1e-9) height = 0;
    }
}

// Moves all the track clear of the baseboard's corner, on a board just big enough for it.
void BoardAroundTrack(LayoutDocument& doc) {
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef& def = *TrackCatalog::Instance().Find(p.article);
        for (int c = 0; c < static_cast<int>(def.connectors.size()); ++c) {
            const ConnectorPose pose = GetConnectorPose(p, def, c);
            minX = std::min(minX, pose.x);
            minY = std::min(minY, pose.y);
            maxX = std::max(maxX, pose.x);
            maxY = std::max(maxY, pose.y);
        }
    }
    constexpr double kMarginMm = 200;  // covers the loops' bulge beyond their joints
    for (PlacedPiece& p : doc.pieces) {
        p.x += kMarginMm - minX;
        p.y += kMarginMm - minY;
    }
    const double w = std::ceil(maxX - minX + 2 * kMarginMm);
    const double h = std::ceil(maxY - minY + 2 * kMarginMm);
    RectangleBoard(doc, w, h);
}

// What dresses a figure-eight sample: a tree above the middle of the board and the label below
// the crossing, between the two arms that leave it downwards, where the articles on the arms
// stay in sight at every zoom.
struct FigureEightDressing {
    const char* tree;
    double treeY;
    double treeScale;
    double labelAboveBottomMm;
};

// A figure eight whose track climbs over itself where its diagonals cross; the crossing lies
// inside a straight on both levels.
LayoutDocument FigureEight(const FigureEightTrack& track, const FigureEightDressing& dressing) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    GradeFigureEight(doc, LayFigureEight(doc, track), track.climbDeg);
    BoardAroundTrack(doc);
    const double w = doc.shapeWidth, h = doc.shapeHeight;
    AddScenery(doc, dressing.tree, w / 2, dressing.treeY, 0, 1, dressing.treeScale);
    AddLabel(doc, "Over the crossing", w / 2 - 110, h - dressing.labelAboveBottomMm);
    Finish(doc);
    return doc;
}

// The C-Track eight of R1 curves: both diagonals are 548.3 mm (an R1 radius and a 188.3
// straight) from the crossing to each loop.
LayoutDocument FigureEight() {
    const FigureEightTrack track{"24188",
                                 77.5,
                                 "24130",
                                 3,
                                 "24188",
                                 {"24188", "24172", "24077"},
                                 {"24188", "24188", "24094"},
                                 1.5};
    return FigureEight(track, {"tree_group", 150, 1, 250});
}

// The Minitrix eight of R2 curves with 33.6 mm straights between the quarters: 261.8 mm from
// the crossing to each loop. It climbs at 1.7 degrees, just under the recommended 3 %, to clear
// N track by its 40 mm.
LayoutDocument MinitrixFigureEight() {
    const FigureEightTrack track{"14904",
                                 49.2,
                                 "14922",
                                 3,
                                 "14909",
                                 {"14905", "14905", "14906"},
                                 {"14904", "14906", "14906"},
                                 1.7};
    return FigureEight(track, {"tree_conifer", 110, 0.6, 150});
}

// A Kato oval of R315 curves: a passing loop on #4 turnouts outside the north straight (the #4
// branch and an R481 15 degree curve make the 33 mm spacing), and a siding on a #6 turnout
// outside the south straight.
LayoutDocument KatoOvalStation() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    RectangleBoard(doc, 2000, 1100);
    TrackLayer t(doc);
    // North: #4 left turnout, 742 mm of straights, #4 right turnout laid from its straight end.
    const uint32_t west = t.Start("20-220", 500, 250, 0);
    uint32_t last = t.Run("20-000", 2, west, 1);
    last = t.Attach("20-010", last, 1);
    last = t.Attach("S60L", last, 1);
    const uint32_t east = t.Attach("20-221", last, 1, 1);
    // Round the east end, back along the south with the siding's turnout, round the west end.
    last = t.Attach("20-120", east, 0);
    last = t.Run("20-120", 3, last, 1);
    const uint32_t siding = t.Attach("20-202", last, 1);
    last = t.Run("20-000", 3, siding, 1);
    last = t.Attach("20-030", last, 1);
    last = t.Run("20-120", 4, last, 1);
    // The passing loop: out of the west turnout, parallel, and back into the east one.
    uint32_t loop = t.Attach("20-160", west, 2);
    loop = t.Run("20-000", 2, loop, 1);
    t.Attach("20-160", loop, 1);
    // The siding: out of the #6 turnout, parallel after an R718 curve, to a bumper.
    uint32_t spur = t.Attach("20-150", siding, 2);
    spur = t.Run("20-000", 2, spur, 1);
    t.Attach("20-060", spur, 1);
    t.CloseLoops();
    AddScenery(doc, "platform", 1000, 290, 0, 1, 0.55);
    AddScenery(doc, "station_small", 1000, 335, 0, 1, 0.55);
    AddScenery(doc, "tree_group", 1000, 620, 0, 1, 0.6);
    AddScenery(doc, "tree_conifer", 1900, 1020, 0, 1, 0.6);
    AddLabel(doc, "Station", 960, 400);
    Finish(doc);
    return doc;
}

// A TRIX C station track ending in a balloon: trains run out of the station, round the loop and
// come back facing the other way. Being two-rail track, the loop would short its rails; the
// wiring plan gaps a reversing section in it (both rails, both ends, longer than a train), feeds
// every section and gives every stretch between turnouts a detection section.
LayoutDocument TrixReversingLoop() {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    RectangleBoard(doc, 2900, 1150);
    TrackLayer t(doc);
    // The station track, west to east, into the turnout whose legs make the loop.
    const uint32_t bumper = t.Start("62977", 100, 575, 180);
    uint32_t last = t.Run("62188", 4, bumper, 0);
    const uint32_t turnout = t.Attach("62611", last, 1);
    // The straight leg, brought level with the end of the diverging leg and its counter-curve.
    t.Attach("62172", turnout, 1);
    // The bulb: out to the left, then round to the right and back in on the straight leg.
    last = t.Attach("62224", turnout, 2);
    last = t.Attach("62130", last, 1, 1);
    int exit = 0;
    for (const char* a : {"62064", "62188", "62229", "62236"}) {
        last = t.Attach(a, last, exit);
        exit = 1;
    }
    last = t.Run("62330", 8, last, 1);
    for (const char* a : {"62236", "62229", "62188", "62064"}) last = t.Attach(a, last, 1);
    t.Attach("62130", last, 1, 1);
    t.CloseLoops();

    doc.wiring.districts = {{1, "Booster 1", 0x2E7D32, 3.0}};
    const WiringOptions options;
    AddToWiringPlan(doc, {ProposeReversingGaps(doc, BuildTrackGraph(doc), options), {}, {}});
    AddToWiringPlan(doc, ProposeBlocks(doc, BuildTrackGraph(doc)));
    AddToWiringPlan(doc, {{}, ProposeFeeders(doc, BuildTrackGraph(doc), options), {}});
    AddScenery(doc, "platform", 480, 635, 0, 1, 1);
    AddLabel(doc, "Reversing loop", 1900, 575);
    Finish(doc);
    return doc;
}

}  // namespace

std::vector<SampleLayout> BuildSampleLayouts() {
    std::vector<SampleLayout> layouts;
    layouts.push_back({"C-Track Oval Station", OvalStation()});
    layouts.push_back({"K-Track Two Decks", TwoDecks()});
    layouts.push_back({"Z-Track Shelf", ZShelf()});
    layouts.push_back({"C-Track Figure Eight", FigureEight()});
    layouts.push_back({"TRIX C-Track Reversing Loop", TrixReversingLoop()});
    layouts.push_back({"Kato N Oval Station", KatoOvalStation()});
    layouts.push_back({"Minitrix N Figure Eight", MinitrixFigureEight()});
    return layouts;
}
