// The main frame's one change notification: bursts merge into one update per turn of the event
// loop, each kind of change refreshes what depends on it, and drags do not recount the tally.
#include <gtest/gtest.h>

#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

const wxString kBase = "Quillmore v1.3 by Bramblewick";

class ChangeNotification : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->Show();
        frame->AfterStartup();
        PumpEvents();
        frame->AddChangeListener([this](DocChange what) { updates.push_back(what); });
        // One pixel per millimetre, origin at the window corner.
        canvas->SetTransform(ViewTransform{1.0, 0.0, 0.0});
    }

    // A piece added behind the frame's back: nothing is told until the test notifies.
    uint32_t AddSilently(double x, bool selected = false) {
        const uint32_t id = LayPiece(Doc(), x);
        Doc().FindPiece(id)->selected = selected;
        return id;
    }
    int Recounts() const { return frame->Properties()->TallyRecounts(); }
    wxString PieceStatus() { return Status(1); }

    std::vector<DocChange> updates;
};

// A burst of calls gives one update with the merged flags in the next turn of the event loop.
TEST_F(ChangeNotification, ABurstGivesOneUpdateAndFlushRunsItAtOnce) {
    AddSilently(0);
    frame->NotifyChanged(DocChange::Pieces);
    frame->NotifyChanged(DocChange::Selection);
    frame->NotifyChanged(DocChange::Pieces);
    frame->NotifyChanged(DocChange::View);
    EXPECT_TRUE(frame->IsModified()) << "the flag is set by the call itself";
    EXPECT_TRUE(updates.empty()) << "the windows wait for the event loop";
    EXPECT_EQ(frame->GetTitle(), kBase);

    ASSERT_TRUE(PumpUntil([&] { return !updates.empty(); }));
    PumpEvents(50);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0], DocChange::Pieces | DocChange::Selection | DocChange::View);
    EXPECT_EQ(frame->GetTitle(), kBase + " *");

    // The next burst is a new update; nothing pending means no update at all.
    frame->NotifyChanged(DocChange::Annotations);
    frame->NotifyChanged(DocChange::None);
    PumpEvents(50);
    ASSERT_EQ(updates.size(), 2u);
    EXPECT_EQ(updates[1], DocChange::Annotations);
    frame->NotifyChanged(DocChange::None);
    frame->FlushChanges();
    PumpEvents(50);
    EXPECT_EQ(updates.size(), 2u);

    // Flush runs the pending update at once; the scheduled turn adds nothing to it.
    const int recounts = Recounts();
    AddSilently(200);
    frame->NotifyChanged(DocChange::Pieces);
    frame->FlushChanges();
    ASSERT_EQ(updates.size(), 3u);
    EXPECT_EQ(Recounts(), recounts + 1);

    // A call after the flush but before the turn is still carried by that turn.
    frame->NotifyChanged(DocChange::Selection);
    PumpEvents(50);
    ASSERT_EQ(updates.size(), 4u);
    EXPECT_EQ(updates[3], DocChange::Selection);
    EXPECT_EQ(Recounts(), recounts + 1);

    // A removed listener hears nothing more.
    int calls = 0;
    const int id = frame->AddChangeListener([&](DocChange) { ++calls; });
    frame->NotifyChanged(DocChange::View);
    frame->FlushChanges();
    EXPECT_EQ(calls, 1);
    frame->RemoveChangeListener(id);
    frame->NotifyChanged(DocChange::View);
    frame->FlushChanges();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(updates.size(), 6u) << "the other listener stays";
}

// A palette drag recounts the tally once, at its drop; a rotation drag never.
TEST_F(ChangeNotification, DragsRecountTheTallyOnlyWhenAPieceIsDropped) {
    int recounts = Recounts();
    canvas->BeginPieceDrag("24188");
    for (int i = 0; i < 20; ++i) {
        Mouse(wxEVT_MOTION, 100 + 10 * i, 200, false);
        PumpEvents(5);
    }
    EXPECT_EQ(Recounts(), recounts);
    Mouse(wxEVT_LEFT_DOWN, 300, 200, true);
    Mouse(wxEVT_LEFT_UP, 300, 200, false);
    PumpEvents(50);
    ASSERT_EQ(frame->Document().pieces.size(), 1u);
    EXPECT_EQ(Recounts(), recounts + 1);

    // A rotation drag updates the windows but never recounts.
    Doc().ClearSelection();
    AddSilently(100, true);
    frame->NotifyChanged(DocChange::Pieces);
    frame->FlushChanges();
    recounts = Recounts();
    const size_t before = updates.size();
    const double heading = frame->Document().pieces[1].heading;

    Mouse(wxEVT_LEFT_DOWN, 300, 100, true, false, true);  // Alt press: turn about the selection
    for (int i = 1; i <= 12; ++i) {
        Mouse(wxEVT_MOTION, 300 - 10 * i, 100 + 20 * i, true, false, true);
        PumpEvents(5);
    }
    Mouse(wxEVT_LEFT_UP, 180, 340, false, false, true);
    PumpEvents(50);
    EXPECT_NE(frame->Document().pieces[1].heading, heading);
    EXPECT_GT(updates.size(), before) << "the windows follow the turn";
    for (size_t i = before; i < updates.size(); ++i)
        EXPECT_FALSE(HasAny(updates[i], DocChange::Pieces)) << i;
    EXPECT_EQ(Recounts(), recounts);
}

TEST_F(ChangeNotification, EachKindOfChangeRefreshesWhatDependsOnIt) {
    const struct {
        DocChange what;
        bool modifies, recounts, showsSelection;
    } cases[] = {
        {DocChange::Pieces, true, true, true},
        {DocChange::Placement, true, false, true},
        {DocChange::Scenery, true, false, true},
        {DocChange::Annotations, true, false, false},
        {DocChange::Levels, true, false, true},
        {DocChange::Selection, false, false, true},
        {DocChange::View, false, false, true},
        {DocChange::File, false, true, true},  // a new or opened layout: everything
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.what));
        frame->Document().pieces.clear();
        frame->Document().ClearSelection();
        frame->NotifyChanged(DocChange::File);  // start from windows that match the document
        frame->FlushChanges();
        ASSERT_EQ(PieceStatus(), "Pieces: 0");
        ASSERT_EQ(frame->Properties()->ShownPieceId(), kNoId);
        const bool wasModified = frame->IsModified();
        const int recounts = Recounts();

        const uint32_t id = AddSilently(0, true);
        frame->NotifyChanged(c.what);
        frame->FlushChanges();
        EXPECT_EQ(frame->IsModified(), wasModified || c.modifies);
        EXPECT_EQ(frame->GetTitle().EndsWith(" *"), frame->IsModified());
        EXPECT_EQ(Recounts(), recounts + (c.recounts ? 1 : 0));
        EXPECT_EQ(PieceStatus(), c.recounts ? "Pieces: 1" : "Pieces: 0");
        EXPECT_EQ(frame->Properties()->LastTally().count("24188"), c.recounts ? 1u : 0u);
        EXPECT_EQ(frame->Properties()->ShownPieceId(), c.showsSelection ? id : kNoId);
        EXPECT_EQ(updates.back(), c.what) << "listeners hear the flags";
    }
}

}  // namespace
