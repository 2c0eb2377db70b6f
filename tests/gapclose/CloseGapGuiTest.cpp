// The gap closer in the real main window: the search behind the window, the ghost of the selected
// chain, laying it and undoing it, and what the window says when nothing closes the gap.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/stattext.h>

#include <cmath>
#include <tuple>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "base/Geometry.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/GapText.h"
#include "gapclose/gui/CloseGapDialog.h"
#include "support/FrameFixture.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

class CloseGapWindow : public FrameTest {
protected:
    uint32_t inner = 0, outer = 0;

    void SetUp() override {
        OpenFrame();
        frame->SetSize(1200, 800);
        frame->Show();
        LayoutDocument& doc = frame->Document();
        // An inner and an outer track: the outer one lies two opposed R2 24.3 degree arcs
        // further on and to the side.
        const double r = 437.5, turn = DegToRad(24.3);
        inner = LayPiece(doc, 100, 300);
        outer =
            LayPiece(doc, 100 + 188.3 + 2 * r * std::sin(turn), 300 + 2 * r * (1 - std::cos(turn)));
        doc.FindPiece(inner)->selected = doc.FindPiece(outer)->selected = true;
        canvas->SetTransform(ViewTransform{.zoom = 1, .offsetX = 0, .offsetY = 0});
        frame->NotifyChanged(DocChange::Pieces | DocChange::Selection);
        PumpEvents();
    }
    // The ends and the room between them as the gap closer keeps them clear, on the screen.
    wxRect ClearRect() {
        const LayoutBounds clear =
            GapClearArea(frame->Document(), NearestGapEnds(frame->Document(), inner, outer));
        return wxRect(canvas->ClientToScreen(canvas->LayoutToScreen(clear.minX, clear.minY)),
                      canvas->ClientToScreen(canvas->LayoutToScreen(clear.maxX, clear.maxY)));
    }
};

TEST_F(CloseGapWindow, ItOpensBesideTheEndsDrawsLaysAndUndoesTheChosenLine) {
    ViewTransform view = canvas->Transform();
    view.zoom = 0.5;
    canvas->SetTransform(view);
    PumpEvents();
    LayoutDocument& doc = frame->Document();
    const std::vector<PlacedPiece> before = doc.pieces;
    size_t ghostPieces = 0, lines = 0;
    wxColour ghostColour;
    wxRect placed;
    const wxRect clear = ClearRect();
    ModalAnswerer answer([&](wxDialog* d) {
        auto* dialog = dynamic_cast<CloseGapDialog*>(d);
        if (!dialog) return static_cast<int>(wxID_CANCEL);
        placed = d->GetScreenRect();
        EXPECT_TRUE(PumpUntil([&] { return !dialog->Searching(); }, 60000));
        lines = dialog->List()->GetCount();
        if (lines == 0) return static_cast<int>(wxID_CANCEL);
        dialog->Choose(0);
        const std::vector<GhostPiece> ghost = canvas->Overlays().chainGhost;
        ghostPieces = ghost.size();
        if (!ghost.empty()) {
            PlacedPiece first;
            std::tie(first.x, first.y, first.heading) =
                std::tuple(ghost.front().x, ghost.front().y, ghost.front().heading);
            const PointMm mid =
                PieceMidpoint(first, *TrackCatalog::Instance().Find(ghost.front().article));
            const wxPoint at = canvas->LayoutToScreen(mid.x, mid.y);
            ghostColour = PixelAt(Painted(), at.x, at.y);
        }
        return dialog->Chosen() ? static_cast<int>(wxID_OK) : static_cast<int>(wxID_CANCEL);
    });
    Command(kCmdCloseGap);
    PumpEvents();
    // The window opened over the gap would hide the ghost.
    ASSERT_FALSE(placed.IsEmpty());
    EXPECT_FALSE(placed.Intersects(clear)) << placed.x << "," << placed.y << " " << clear.x << ","
                                           << clear.y << " " << clear.width << "x" << clear.height;
    ASSERT_GT(lines, 0u);
    ASSERT_GT(ghostPieces, 0u);
    EXPECT_EQ(ghostColour, wxColour(kGhostFill.r, kGhostFill.g, kGhostFill.b));
    EXPECT_TRUE(canvas->Overlays().chainGhost.empty()) << "the ghost goes with the window";
    ASSERT_EQ(doc.pieces.size(), before.size() + ghostPieces);
    EXPECT_FALSE(doc.FindPiece(inner)->IsOpen(1));
    EXPECT_FALSE(doc.FindPiece(outer)->IsOpen(0));

    Command(kCmdUndo);
    PumpEvents();
    EXPECT_EQ(doc.pieces.size(), before.size());
    EXPECT_TRUE(doc.FindPiece(inner)->IsOpen(1));
    EXPECT_TRUE(doc.FindPiece(outer)->IsOpen(0));
}

// The chain here is two R2 24.3 degree curves: owning one of them is not enough, and the status
// then says so on as many lines as it takes (it was cut off after one).
TEST_F(CloseGapWindow, ChangedOptionsAndOwnedPiecesSearchAgainAndUnclosableGapsSayWhyInFull) {
    LayoutDocument& doc = frame->Document();
    CloseGapDialog dialog(
        frame, doc, NearestGapEnds(doc, inner, outer),
        [this](std::vector<GhostPiece> g) { canvas->SetChainGhost(std::move(g)); });
    wxWindow* onlyOwned = dialog.FindWindowByLabel("Only pieces I own");
    ASSERT_NE(onlyOwned, nullptr);
    EXPECT_FALSE(onlyOwned->IsEnabled()) << "no box: nothing to limit to";
    dialog.Show();
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 60000));
    ASSERT_GT(dialog.List()->GetCount(), 0u);
    EXPECT_NE(dialog.List()->GetString(0).find("miss "), wxString::npos);
    EXPECT_FALSE(canvas->Overlays().chainGhost.empty());

    // Narrow, as a long German message is to the window: the message must take more lines.
    dialog.SetMinSize(wxSize(480, -1));
    dialog.SetSize(480, 460);
    dialog.SetPiecesAtHand({{"24224", 1}});
    EXPECT_TRUE(onlyOwned->IsEnabled());
    GapOptions options = dialog.Options();
    options.maxPieces = 2;
    options.limitToStock = true;
    options.stock = {{"24224", 1}};
    dialog.SetOptions(options);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 60000));
    EXPECT_TRUE(dialog.Options().limitToStock);
    EXPECT_EQ(dialog.List()->GetCount(), 0u) << "one R2 24.3 degree curve cannot close it";
    EXPECT_EQ(dialog.Chosen(), nullptr);
    EXPECT_TRUE(canvas->Overlays().chainGhost.empty());
    EXPECT_NE(dialog.StatusText().Find("No chain of up to 2 pieces"), wxNOT_FOUND)
        << dialog.StatusText();
    PumpEvents();
    wxString text = dialog.StatusText();
    text.Replace("\n", " ");
    int width = 0, height = 0;
    dialog.GetTextExtent(text, &width, &height);
    ASSERT_GT(width, dialog.Status()->GetSize().x) << "the message needs more than one line";
    EXPECT_GE(dialog.Status()->GetSize().y, 2 * height) << text;
    EXPECT_LE(dialog.Status()->GetRect().GetBottom(), dialog.GetClientSize().y);
    dialog.Hide();
}

}  // namespace
