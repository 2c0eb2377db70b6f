// Layouts built in code for the drawing tests, the screenshot and the drawing benchmark.
#include "SampleLayouts.h"

#include <tuple>

#include "catalog/TrackCatalog.h"
#include "model/Helices.h"

uint32_t AppendJoined(LayoutDocument& doc, const std::string& article, uint32_t target, int conn,
                      double x, double y, double heading) {
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    PlacedPiece p;
    std::tie(p.article, p.x, p.y, p.heading) = std::tuple(article, x, y, heading);
    p.level = static_cast<int32_t>(doc.activeLevel);
    p.joints.resize(def ? def->connectors.size() : 2);
    p.id = doc.TakeId();
    if (target != kNoId) {
        // Chains grow at their newest piece: looking there first keeps big samples quick.
        PlacedPiece* t = !doc.pieces.empty() && doc.pieces.back().id == target
                             ? &doc.pieces.back()
                             : doc.FindPiece(target);
        const ConnectorPose pose =
            GetConnectorPose(*t, *TrackCatalog::Instance().Find(t->article), conn);
        std::tie(p.x, p.y, p.heading, p.elevation, p.level) =
            std::tuple(pose.x, pose.y, pose.heading, t->elevation, t->level);
        p.joints[0] = {target, static_cast<uint32_t>(conn)};
        t->joints[conn] = {p.id, 0};
    }
    doc.pieces.push_back(p);
    return p.id;
}

namespace {

SceneryItem Item(LayoutDocument& doc, const char* what, double x, double y, double heading = 0) {
    return {doc.TakeId(), what, x, y, heading};
}

// The upper level of the samples: 80 mm up, its track in its own colour.
Level Upper(std::vector<PointMm> outline = {}) {
    return {2, "Level 2", true, 80, true, {220, 180, 180}, std::move(outline)};
}

}  // namespace

LayoutDocument SampleShowcase() {
    LayoutDocument doc;
    doc.levels = {DefaultLevel()};
    doc.levels.push_back(Upper({{1500, 700}, {2300, 700}, {2300, 1150}, {1500, 1150}}));
    doc.baseboard = {{0, 0}, {2400, 0}, {2400, 1200}, {0, 1200}};

    // Main line along the top: straight, turnouts, crossing, slip, circuit track.
    uint32_t a = AppendJoined(doc, "24188", kNoId, 0, 150, 150, 0);
    uint32_t b = AppendJoined(doc, "24612", a, 1);
    uint32_t c = AppendJoined(doc, "24611", b, 1);
    uint32_t d = AppendJoined(doc, "24640", c, 1);
    uint32_t e = AppendJoined(doc, "24624", d, 1);
    uint32_t f = AppendJoined(doc, "24994", e, 1);
    uint32_t g = AppendJoined(doc, "24630", f, 1);
    AppendJoined(doc, "24977", g, 1);
    // Curves and curved turnouts down the left.
    uint32_t h = AppendJoined(doc, "24130", kNoId, 0, 150, 400, 0);
    uint32_t i = AppendJoined(doc, "24294", h, 1);
    uint32_t j = AppendJoined(doc, "24672", i, 1);
    AppendJoined(doc, "24130", j, 1);
    AppendJoined(doc, "24671", kNoId, 0, 150, 700, 0);
    // A tunnel over three straights.
    uint32_t t1 = AppendJoined(doc, "24188", kNoId, 0, 700, 450, 0);
    uint32_t t2 = AppendJoined(doc, "24188", t1, 1);
    uint32_t t3 = AppendJoined(doc, "24188", t2, 1);
    // Tunnel portals and record, as the tunnel tool makes them.
    const PieceDef* straight = TrackCatalog::Instance().Find("24188");
    for (const ConnectorPose& end : {GetConnectorPose(*doc.FindPiece(t1), *straight, 0),
                                     GetConnectorPose(*doc.FindPiece(t3), *straight, 1)})
        doc.scenery.push_back(Item(doc, "tunnel_portal_single", end.x, end.y, end.heading));
    const uint32_t portalA = doc.scenery[0].id, portalB = doc.scenery[1].id;
    doc.tunnels.push_back({doc.TakeId(), portalA, portalB, t1, t3, {t1, t2, t3}});
    // A bridge, K-Track and Z pieces, a turntable.
    uint32_t br = AppendJoined(doc, "74636", kNoId, 0, 700, 650, 0);
    doc.FindPiece(br)->elevation = 60;
    AppendJoined(doc, "2200", kNoId, 0, 700, 800, 0);
    AppendJoined(doc, "2268", kNoId, 0, 900, 800, 0);
    AppendJoined(doc, "8500", kNoId, 0, 700, 1000, 0);
    AppendJoined(doc, "8520", kNoId, 0, 830, 1000, 0);
    AppendJoined(doc, "74862", kNoId, 0, 1300, 900, 0);
    // A climbing run with a grade arrow.
    uint32_t r1 = AppendJoined(doc, "24188", kNoId, 0, 1350, 450, 0);
    uint32_t r2 = AppendJoined(doc, "24188", r1, 1);
    doc.FindPiece(r1)->grade = 2;
    doc.FindPiece(r2)->grade = 2;
    doc.FindPiece(r2)->elevation = 6.6;
    doc.gradeRuns.push_back({2.0, static_cast<int32_t>(r2), 1});
    // Upper level: a coloured deck with a raised pair and a selected piece.
    doc.activeLevel = 2;
    uint32_t u1 = AppendJoined(doc, "24188", kNoId, 0, 1600, 800, 0);
    uint32_t u2 = AppendJoined(doc, "24188", u1, 1);
    AppendJoined(doc, "24130", u2, 1);
    doc.FindPiece(u2)->selected = true;
    doc.activeLevel = 1;
    // A helix at the right end.
    PlaceHelix(doc, 1950, 380, 0, "proses_2_5_r1r2");
    doc.undoStack.clear();
    // Scenery, a label and a measurement.
    doc.scenery.push_back(Item(doc, "platform", 650, 300));
    doc.scenery.push_back(Item(doc, "station_small", 450, 1050));
    doc.scenery.push_back(Item(doc, "tree_lg_dec", 1100, 1100));
    SceneryItem sel = Item(doc, "platform_island", 1250, 620, 15);
    sel.selected = true;
    doc.scenery.push_back(sel);
    doc.labels.push_back({doc.TakeId(), "Showcase station", 300, 900});
    doc.measurements.push_back({doc.TakeId(), 150, 1150, 1150, 1150});
    return doc;
}

LayoutDocument SampleMixed(int count) {
    static const char* const kArticles[] = {
        "24188", "24130", "24612", "24611", "24630", "24672", "24671", "24640", "24624", "24977",
        "2200",  "2268",  "8500",  "24994", "74636", "24294", "24188", "24130", "24172", "24230"};
    LayoutDocument doc;
    doc.levels = {DefaultLevel()};
    doc.levels.push_back(Upper());
    const int perRow = 40;
    const int rows = (count + perRow - 1) / perRow;
    doc.baseboard = {
        {-100, -100}, {perRow * 300.0, -100}, {perRow * 300.0, rows * 300.0}, {-100, rows * 300.0}};
    doc.levels[1].outline = {
        {0, 0}, {perRow * 150.0, 0}, {perRow * 150.0, rows * 150.0}, {0, rows * 150.0}};
    uint32_t previous = kNoId;
    for (int n = 0; n < count; ++n) {
        const int row = n / perRow, col = n % perRow;
        const char* article = kArticles[n % 20];
        uint32_t id;
        const PieceDef* prevDef =
            previous == kNoId ? nullptr
                              : TrackCatalog::Instance().Find(doc.FindPiece(previous)->article);
        if (n % 4 != 0 && prevDef && prevDef->connectors.size() >= 2 && n % perRow != 0) {
            id = AppendJoined(doc, article, previous, 1);
        } else {
            id = AppendJoined(doc, article, kNoId, 0, col * 300.0, row * 300.0, (n * 7) % 360);
        }
        PlacedPiece* p = doc.FindPiece(id);
        p->level = (row % 2) + 1;
        p->elevation = (n % 5) * 30.0;
        p->selected = n % 17 == 0;
        previous = id;
        if (n % 50 == 25) doc.tunnels.push_back({doc.TakeId(), kNoId, kNoId, kNoId, kNoId, {id}});
    }
    static const char* const kScenery[] = {"platform", "tree_lg_dec", "station_small", "car",
                                           "signal_box"};
    for (int n = 0; n < count / 20; ++n) {
        doc.scenery.push_back(
            Item(doc, kScenery[n % 5], (n % 40) * 300.0 + 150, (n / 40) * 300.0 + 150, n * 13.0));
    }
    for (int n = 0; n < count / 100; ++n) {
        doc.labels.push_back({doc.TakeId(), "Label " + std::to_string(n), n * 500.0, 50});
        doc.measurements.push_back({doc.TakeId(), n * 500.0, 200, n * 500.0 + 400, 260});
        doc.gradeRuns.push_back(
            {1.5, static_cast<int32_t>(doc.pieces[n * 97 % doc.pieces.size()].id), 1});
    }
    for (int n = 0; n < count / 500; ++n) {
        PlaceHelix(doc, 2000.0 + n * 3000, rows * 300.0 + 600, 0, "proses_2_5_r1r2");
    }
    doc.undoStack.clear();
    return doc;
}

LayoutDocument SampleJoinedTrack(int count) {
    // Rings of twelve R1 curves with a straight between each pair, every end joined.
    constexpr int kPerRing = 24;
    constexpr double kRingPitchMm = 1600;
    LayoutDocument doc;
    doc.levels = {DefaultLevel()};
    const int rings = (count + kPerRing - 1) / kPerRing;
    int perRow = 1;
    while (perRow * perRow < rings) ++perRow;
    for (int ring = 0, placed = 0; placed < count; ++ring) {
        const double x = (ring % perRow) * kRingPitchMm, y = (ring / perRow) * kRingPitchMm;
        const size_t firstIndex = doc.pieces.size();
        const uint32_t first = AppendJoined(doc, "24188", kNoId, 0, x, y, 0);
        uint32_t last = first;
        ++placed;
        for (int k = 1; k < kPerRing && placed < count; ++k, ++placed)
            last = AppendJoined(doc, k % 2 ? "24130" : "24188", last, 1);
        if (doc.pieces.back().article == "24130" && last != first) {
            doc.pieces.back().joints[1] = {first, 0};
            doc.pieces[firstIndex].joints[0] = {last, 1};
        }
    }
    return doc;
}
