// The shared piece list under undo: snapshots that later edits cannot reach, exact undo and redo,
// random edit sequences against a replay on plain vectors, and how little an edit of one piece
// copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "model/LayoutDocument.h"

namespace {

using Pieces = std::vector<PlacedPiece>;

PlacedPiece Piece(uint32_t id, double x) {
    PlacedPiece p;
    p.id = id;
    p.article = id % 3 ? "24188" : "24130";
    p.x = x;
    p.y = id * 0.5;
    p.joints.resize(2);
    return p;
}

LayoutDocument Chain(int count) {
    LayoutDocument doc;
    doc.EnsureDefaultLevel();
    for (int i = 0; i < count; ++i) {
        PlacedPiece p = Piece(doc.TakeId(), i * 10.0);
        if (i > 0) {
            p.joints[0] = {p.id - 1, 1};
            doc.pieces.back().joints[1] = {p.id, 0};
        }
        doc.pieces.push_back(std::move(p));
    }
    return doc;
}

TEST(PieceList, BehavesAsTheVectorItReplaces) {
    Pieces model;
    PieceList list;
    const auto both = [&](const auto& edit) {
        edit(model);
        edit(list);
        ASSERT_EQ(list, model);
    };
    for (uint32_t id = 1; id <= 700; ++id) both([&](auto& v) { v.push_back(Piece(id, id)); });
    both([](auto& v) { v.erase(v.begin() + 5, v.begin() + 300); });
    EXPECT_EQ(list.EraseIf([](const PlacedPiece& p) { return p.id % 7 == 0; }),
              static_cast<size_t>(std::erase_if(model, [](auto& p) { return p.id % 7 == 0; })));
    both([](auto& v) {
        v.pop_back();
        v.resize(v.size() + 3);
    });
    for (size_t i = 0; i < model.size(); i += 37)
        EXPECT_EQ(list.IndexOf(&std::as_const(list)[i]), i);
    EXPECT_EQ(Pieces(list), model);
    // A braced list replaces the whole content, as it would in a vector.
    both([](auto& v) { v = {Piece(901, 1), Piece(902, 2)}; });
}

TEST(PieceList, FindsPiecesByIdInAnyOrder) {
    PieceList list;
    for (uint32_t id : {5u, 9u, 2u, 40u, 7u}) list.push_back(Piece(id, 0));
    EXPECT_EQ(list.FindIndex(2), 2u);
    EXPECT_EQ(list.FindIndex(40), 3u);
    EXPECT_EQ(list.FindIndex(6), PieceList::npos);
    EXPECT_EQ(list.HighestId(), 40u);
    list[3].id = 3;  // written through a reference: the remembered highest id must not lie
    EXPECT_EQ(list.HighestId(), 9u);
}

TEST(PieceList, AnEditOfOnePieceCopiesOneChunk) {
    LayoutDocument doc = Chain(20000);
    const size_t chunks = doc.pieces.ChunkCount();
    doc.FindPiece(1)->selected = true;  // a piece picked before the edit, as the canvas does
    doc.PushUndo();  // the chunks written while building get their duplicates here, once
    for (int step = 0; step < 10; ++step) {
        doc.PushUndo();
        doc.FindPiece(1234 + step * 1000)->x += 5;
        // This edit's chunk, and the last edit's, which this snapshot took a duplicate of.
        EXPECT_GE(doc.pieces.SharedChunks(), chunks - 2) << "step " << step;
    }
    // Deleting one piece writes it and its two neighbours.
    doc.ClearSelection();
    doc.FindPiece(7000)->selected = true;
    doc.PushUndo();  // settles the chunks the selection wrote
    doc.DeleteSelected();
    EXPECT_GE(doc.pieces.SharedChunks(), chunks - 3);
}

// Random edits, undos and redos on the document against the same steps replayed on plain
// vectors with whole copies as the undo history.
class RandomEdits : public testing::TestWithParam<unsigned> {};

TEST_P(RandomEdits, EqualAReplayOnPlainVectors) {
    std::mt19937 rng(GetParam());
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    LayoutDocument doc = Chain(900);
    Pieces live = doc.pieces;
    std::vector<Pieces> undo, redo;
    auto push = [&] {
        undo.push_back(live);
        if (undo.size() > LayoutDocument::kUndoLimit) undo.erase(undo.begin());
        redo.clear();
    };
    for (int step = 0; step < 400; ++step) {
        const int what = pick(8);
        if (what == 0 && !live.empty()) {  // move one piece: "check, snapshot, change"
            const size_t i = static_cast<size_t>(pick(static_cast<int>(live.size())));
            PlacedPiece* p = doc.FindPiece(live[i].id);
            ASSERT_NE(p, nullptr);
            doc.PushUndo();
            push();
            p->x += 7;
            live[i].x += 7;
        } else if (what == 1) {  // add a piece
            push();
            const uint32_t id = doc.AddPiece(Piece(0, step));
            PlacedPiece added = Piece(0, step);
            added.id = id;
            live.push_back(added);
        } else if (what == 2 && !live.empty()) {  // delete a few selected pieces
            for (int k = 0; k < 3; ++k) {
                const size_t i = static_cast<size_t>(pick(static_cast<int>(live.size())));
                doc.FindPiece(live[i].id)->selected = true;
                live[i].selected = true;
            }
            push();
            doc.DeleteSelected();
            std::vector<uint32_t> doomed;
            for (const PlacedPiece& p : live)
                if (p.selected) doomed.push_back(p.id);
            for (PlacedPiece& p : live)
                for (Joint& j : p.joints)
                    if (std::count(doomed.begin(), doomed.end(), j.target)) j = Joint{};
            std::erase_if(live, [](const PlacedPiece& p) { return p.selected; });
        } else if (what == 3) {
            doc.Undo();
            if (!undo.empty()) {
                redo.push_back(live);
                live = undo.back();
                undo.pop_back();
            }
        } else if (what == 4) {
            doc.Redo();
            if (!redo.empty()) {
                undo.push_back(live);
                live = redo.back();
                redo.pop_back();
            }
        } else if (what == 5 && !live.empty()) {  // select one, no undo step
            const size_t i = static_cast<size_t>(pick(static_cast<int>(live.size())));
            doc.ClearSelection();
            for (PlacedPiece& p : live) p.selected = false;
            doc.pieces[i].selected = true;
            live[i].selected = true;
        } else if (what == 6 &&
                   !live.empty()) {  // a gesture's snapshot taken first, pushed after the change
            UndoSnapshot before = doc.Snapshot();
            const size_t i = static_cast<size_t>(pick(static_cast<int>(live.size())));
            PlacedPiece& p = doc.pieces[i];
            push();
            p.heading += 15;
            live[i].heading += 15;
            doc.PushUndo(std::move(before));
        } else {  // a redo after an edit is gone
            doc.PushUndo();
            push();
        }
        ASSERT_EQ(doc.pieces, live) << "step " << step << " kind " << what;
        ASSERT_EQ(doc.undoStack.size(), undo.size());
        ASSERT_EQ(doc.redoStack.size(), redo.size());
    }
    // Every snapshot on the stacks is still the state it recorded.
    for (size_t k = 0; k < undo.size(); ++k) EXPECT_EQ(doc.undoStack[k].pieces, undo[k]);
    for (size_t k = 0; k < redo.size(); ++k) EXPECT_EQ(doc.redoStack[k].pieces, redo[k]);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEdits, testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

}  // namespace
