// The spatial index of pieces and scenery: its queries against a walk over every object, and the
// hit tests, snap searches and band selection that use it against their answers without it, on
// random layouts.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include "canvas/Interaction.h"
#include "canvas/LayoutIndex.h"
#include "canvas/Selection.h"
#include "canvas/Snapping.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

// A random layout: pieces of every catalog article at random poses on two levels (the upper one
// sometimes hidden), some ends joined, some pieces selected, scenery among them.
class RandomLayout : public testing::TestWithParam<unsigned> {
protected:
    std::mt19937 rng{GetParam()};
    LayoutDocument doc;
    LayoutIndex index;
    double span = 3000;

    double Uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    int Int(int a, int b) { return std::uniform_int_distribution<int>(a, b)(rng); }

    void SetUp() override {
        doc.EnsureDefaultLevel();
        doc.levels.push_back(
            {.id = 2, .name = "Upper", .visible = Int(0, 2) != 0, .height = 80, .outline = {}});
        const TrackCatalog& cat = TrackCatalog::Instance();
        for (int n = 0; n < 600; ++n) {
            PlacedPiece p;
            p.id = doc.TakeId();
            p.article = cat.pieces[Int(0, cat.Count() - 1)].article;
            if (Int(0, 30) == 0) p.article = "no-such-article";
            // Braced lists are evaluated in order: the draws come as one field after the other.
            std::tie(p.x, p.y, p.heading, p.level, p.selected) = std::tuple{
                Uniform(-span, span), Uniform(-span, span), Uniform(0, 360), Int(1, 2), !Int(0, 9)};
            const PieceDef* def = cat.Find(p.article);
            p.joints.resize(def ? def->connectors.size() : 0);
            doc.pieces.push_back(p);
        }
        // Join some ends at random so that snaps see both open and joined ends.
        for (int n = 0; n < 150; ++n) {
            PlacedPiece& a = doc.pieces[Int(0, 599)];
            PlacedPiece& b = doc.pieces[Int(0, 599)];
            if (&a == &b || a.joints.empty() || b.joints.empty()) continue;
            const int ca = Int(0, static_cast<int>(a.joints.size()) - 1);
            const int cb = Int(0, static_cast<int>(b.joints.size()) - 1);
            a.joints[ca] = {b.id, static_cast<uint32_t>(cb)};
            b.joints[cb] = {a.id, static_cast<uint32_t>(ca)};
        }
        const SceneryCatalog& scenery = SceneryCatalog::Instance();
        for (int n = 0; n < 120; ++n) {
            doc.scenery.push_back({doc.TakeId(), scenery.At(Int(0, scenery.Count() - 1))->id,
                                   Uniform(-span, span), Uniform(-span, span), Uniform(0, 360),
                                   false, Uniform(0.5, 2), Uniform(0.5, 2), Int(1, 2)});
            doc.scenery.back().selected = !Int(0, 9);
        }
        index.Rebuild(doc);
    }

    BoxMm RandomBox() {
        BoxMm box;
        box.Add(Uniform(-span * 1.2, span * 1.2), Uniform(-span * 1.2, span * 1.2));
        const double size = Int(0, 3) == 0 ? Uniform(0, 4000) : Uniform(0, 300);
        return BoxMm{box.x0, box.y0, box.x0 + size, box.y0 + Uniform(0, size + 1)};
    }
    size_t Pick(size_t count) { return static_cast<size_t>(Int(0, static_cast<int>(count) - 1)); }
    // The objects whose extent meets the box, found by a walk over all; unknown ones are points.
    template <class Objects, class Extent>
    static std::vector<size_t> Meeting(const Objects& objects, const BoxMm& box, Extent extent) {
        std::vector<size_t> out;
        for (size_t i = 0; i < objects.size(); ++i)
            if (extent(objects[i]).Meets(box)) out.push_back(i);
        return out;
    }
    std::vector<size_t> BrutePieces(const BoxMm& box) const {
        return Meeting(doc.pieces, box, [](const PlacedPiece& p) {
            const PieceDef* def = TrackCatalog::Instance().Find(p.article);
            return def ? PieceExtent(p, *def) : BoxMm{p.x, p.y, p.x, p.y};
        });
    }
    std::vector<size_t> BruteScenery(const BoxMm& box) const {
        return Meeting(doc.scenery, box, [](const SceneryItem& s) {
            const SceneryDef* def = SceneryCatalog::Instance().Find(s.item);
            return def ? SceneryExtent(s, *def) : BoxMm{s.x, s.y, s.x, s.y};
        });
    }
    // Queries in `boxes` random boxes answer as the walk does.
    void ExpectQueriesAsTheWalk(int boxes, const std::string& what = "") {
        for (int n = 0; n < boxes; ++n) {
            const BoxMm box = RandomBox();
            EXPECT_EQ(index.PiecesIn(box), BrutePieces(box)) << what;
            EXPECT_EQ(index.SceneryIn(box), BruteScenery(box)) << what;
        }
    }
    // A view that shows the layout at a random zoom and pan.
    ViewTransform RandomView() {
        return ViewTransform{Uniform(0.05, 3), Uniform(-500, 1500), Uniform(-500, 1000)};
    }
    // A window point near something: a random piece's end or middle, or anywhere.
    void NearSomething(const ViewTransform& view, int& px, int& py) {
        const PlacedPiece& p = doc.pieces[Int(0, 599)];
        px = view.ToPixelX(p.x + Uniform(-150, 150));
        py = view.ToPixelY(p.y + Uniform(-150, 150));
    }
    static std::vector<uint32_t> SelectedIds(const LayoutDocument& d) {
        std::vector<uint32_t> ids;
        for (const PlacedPiece& p : d.pieces)
            if (p.selected) ids.push_back(p.id);
        for (const SceneryItem& s : d.scenery)
            if (s.selected) ids.push_back(s.id);
        return ids;
    }
    static void ExpectSameSnap(const SnapResult& a, const SnapResult& b) {
        auto fields = [](const SnapResult& r) {
            return std::tie(r.snapped, r.targetPiece, r.targetConn, r.ownConn, r.x, r.y, r.heading,
                            r.distance);
        };
        EXPECT_EQ(fields(a), fields(b));
    }
};

TEST_P(RandomLayout, QueriesFindExactlyTheExtentsThatMeetTheBox) {
    ExpectQueriesAsTheWalk(300);
    // A box around everything finds every known object.
    const BoxMm all{-1e7, -1e7, 1e7, 1e7};
    EXPECT_EQ(index.PiecesIn(all), BrutePieces(all));
    EXPECT_GT(index.PiecesIn(all).size(), 500u);
}

TEST_P(RandomLayout, UpdatesFollowMovedObjects) {
    for (int n = 0; n < 200; ++n) {
        const size_t i = Pick(doc.pieces.size()), k = Pick(doc.scenery.size());
        doc.pieces[i].x += Uniform(-800, 800);
        doc.pieces[i].heading = Uniform(0, 360);
        index.UpdatePiece(doc, i);
        doc.scenery[k].y += Uniform(-800, 800);
        index.UpdateScenery(doc, k);
    }
    ExpectQueriesAsTheWalk(200);
}

// Rebuild after edits works out only what changed and answers as a build from nothing: moves,
// pieces added and deleted, undo and redo that put pieces back between others, scenery edits.
TEST_P(RandomLayout, RebuildAfterEditsEqualsAFreshBuild) {
    auto expectFresh = [&](const char* what) {
        LayoutIndex fresh;
        fresh.Rebuild(doc);
        ASSERT_TRUE(index.Matches(doc)) << what;
        ASSERT_EQ(index.PieceCount(), fresh.PieceCount()) << what;
        for (size_t i = 0; i < doc.pieces.size(); ++i) {
            const BoxMm a = index.PieceBox(i), b = fresh.PieceBox(i);
            ASSERT_TRUE(a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1)
                << what << " piece " << i;
        }
        ExpectQueriesAsTheWalk(12, what);
    };
    for (int round = 0; round < 8; ++round) {
        const size_t before = index.ExtentsComputed();
        const size_t i = Pick(doc.pieces.size());
        doc.PushUndo();
        doc.pieces[i].x += Uniform(-500, 500);
        index.Rebuild(doc);
        EXPECT_EQ(index.ExtentsComputed() - before, 1u) << "one piece moved, one extent";
        expectFresh("move");

        doc.ClearSelection();
        for (int k = 0; k < 3; ++k) doc.pieces[Pick(doc.pieces.size())].selected = true;
        doc.scenery[Pick(doc.scenery.size())].selected = true;
        doc.DeleteSelected();
        const size_t beforeDelete = index.ExtentsComputed();
        index.Rebuild(doc);
        EXPECT_EQ(index.ExtentsComputed(), beforeDelete) << "nothing left needs a new extent";
        expectFresh("delete");

        PlacedPiece added = doc.pieces[static_cast<size_t>(Int(0, 20))];
        added.x += 50;
        doc.AddPiece(added);
        index.Rebuild(doc);
        expectFresh("add");

        doc.Undo();  // the add
        doc.Undo();  // the delete: its pieces come back between the others
        index.Rebuild(doc);
        expectFresh("undo");
        doc.scenery[Pick(doc.scenery.size())].scaleX *= 1.5;
        doc.pieces[Pick(doc.pieces.size())].article = "no-such-article";
        index.Rebuild(doc);
        expectFresh("scenery and article");
    }
    doc.pieces.pop_back();
    EXPECT_FALSE(index.Matches(doc));
}

TEST_P(RandomLayout, HitTestsGiveTheAnswersOfTheFullWalk) {
    int hits = 0;
    for (int n = 0; n < 1500; ++n) {
        const ViewTransform view = RandomView();
        int px = 0, py = 0;
        NearSomething(view, px, py);
        const uint32_t piece = PieceAt(doc, view, px, py);
        EXPECT_EQ(PieceAt(doc, index, view, px, py), piece);
        EXPECT_EQ(PieceOrHelixAt(doc, index, view, px, py), PieceOrHelixAt(doc, view, px, py));
        EXPECT_EQ(SceneryAt(doc, index, view, px, py), SceneryAt(doc, view, px, py));
        hits += piece != kNoId;
    }
    EXPECT_GT(hits, 100);  // the points did land on track
}

TEST_P(RandomLayout, BandSelectionSelectsWhatTheFullWalkSelects) {
    for (int n = 0; n < 40; ++n) {
        const ViewTransform view = RandomView();
        const int x0 = Int(-50, 1400), y0 = Int(-50, 900);
        const int x1 = x0 + Int(-300, 300), y1 = y0 + Int(-300, 300);
        LayoutDocument brute = doc;
        LayoutDocument indexed = doc;
        EXPECT_EQ(SelectInBand(indexed, index, view, x0, y0, x1, y1),
                  SelectInBand(brute, view, x0, y0, x1, y1));
        EXPECT_EQ(SelectedIds(indexed), SelectedIds(brute));
    }
}

TEST_P(RandomLayout, PaletteSnapsMatchTheFullSearch) {
    const TrackCatalog& cat = TrackCatalog::Instance();
    int snapped = 0;
    for (int n = 0; n < 800; ++n) {
        const std::string& article = cat.pieces[Int(0, cat.Count() - 1)].article;
        // Ghosts near a random piece's connector, so snaps happen.
        const PlacedPiece& p = doc.pieces[Int(0, 599)];
        const PieceDef* def = cat.Find(p.article);
        if (!def || def->connectors.empty()) continue;
        const ConnectorPose c =
            GetConnectorPose(p, *def, Int(0, static_cast<int>(def->connectors.size()) - 1));
        const PiecePose ghost{c.x + Uniform(-30, 30), c.y + Uniform(-30, 30), Uniform(0, 360)};
        const SnapResult full = TrackPaletteDrag(doc, article, ghost);
        ExpectSameSnap(TrackPaletteDrag(doc, index, article, ghost), full);
        snapped += full.snapped;
    }
    EXPECT_GT(snapped, 50);
}

TEST_P(RandomLayout, SelectionMovesSnapAsTheFullSearchAndKeepTheIndexCurrent) {
    LayoutDocument brute = doc;
    const MoveStart start = TakeMoveStart(doc);
    const MoveStart bruteStart = TakeMoveStart(brute);
    int snapped = 0;
    for (int n = 0; n < 60; ++n) {
        const double dx = Uniform(-400, 400), dy = Uniform(-400, 400);
        const GroupSnap a = TrackSelectionMove(doc, index, start, dx, dy);
        const GroupSnap b = TrackSelectionMove(brute, bruteStart, dx, dy);
        EXPECT_EQ(a.movingPiece, b.movingPiece);
        ExpectSameSnap(a.snap, b.snap);
        EXPECT_TRUE(doc.pieces == brute.pieces);
        EXPECT_TRUE(doc.scenery == brute.scenery);
        snapped += b.Snapped();
    }
    EXPECT_GT(snapped, 0);
    ExpectQueriesAsTheWalk(100);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomLayout, testing::Values(1u, 2u, 3u));

// Everything a piece draws, every end and every point that catches a click lies in its extent.
TEST(PieceExtent, HoldsShapesEndsAndClickZonesOfEveryCatalogPiece) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0, 1);
    for (const PieceDef& def : TrackCatalog::Instance().pieces) {
        PlacedPiece p;
        p.article = def.article;
        p.x = 1000 * unit(rng) - 500;
        p.y = 1000 * unit(rng) - 500;
        p.heading = 360 * unit(rng);
        const BoxMm box = PieceExtent(p, def);
        for (const PieceShape& s :
             BuildPieceShapes(def, p.x, p.y, p.heading, kPieceFill, kPieceOutline, false, 1.0, &p))
            for (const PointMm& pt : s.points) EXPECT_TRUE(box.Holds(pt.x, pt.y)) << def.article;
        for (int i = 0; i < static_cast<int>(def.connectors.size()); ++i) {
            const ConnectorPose c = GetConnectorPose(p, def, i);
            EXPECT_TRUE(box.Holds(c.x, c.y)) << def.article;
        }
        const double reach = std::max(def.length, def.radius) * 2 + 100;
        for (int n = 0; n < 4000; ++n) {
            const double x = p.x + reach * (2 * unit(rng) - 1);
            const double y = p.y + reach * (2 * unit(rng) - 1);
            if (PointOnPiece(p, def, x, y)) {
                EXPECT_TRUE(box.Holds(x, y)) << def.article;
            }
        }
    }
}

}  // namespace
