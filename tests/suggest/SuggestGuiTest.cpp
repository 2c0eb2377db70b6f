// New from Suggestion in the real main window: the menu opens the dialog on the layout's board,
// the gallery fills off the window's thread, the first suggestion opens as a new, unsaved layout
// after the unsaved-changes question, and its tally and shopping list show what it needs. With
// QUILLMORE_SHOTS naming a folder, the gallery is saved there as suggest-gallery.png.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "canvas/LayoutGeometry.h"
#include "panels/gui/PropertiesPanel.h"
#include "suggest/gui/SuggestDialog.h"
#include "suggest/gui/SuggestGallery.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"
#include "trackbox/ShoppingList.h"

namespace {

const std::vector<PointMm> kBoard = {{0, 0}, {1800, 0}, {1800, 900}, {0, 900}};

class SuggestWindow : public testing::Test, public FrameFixture {
protected:
    void SetUp() override { OpenFrame(wxSize(1200, 760)); }
    void TearDown() override { CloseFrame(); }
};

// Pixels of the board's colour and of darker track in a thumbnail.
void ExpectBoardAndTrack(const wxBitmap& thumb) {
    const wxImage image = thumb.ConvertToImage();
    int board = 0, ink = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) {
            const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
            if (std::abs(r - kBaseboardFill.r) + std::abs(g - kBaseboardFill.g) +
                    std::abs(b - kBaseboardFill.b) <
                12)
                ++board;
            else if (r + g + b < 450)
                ++ink;
        }
    EXPECT_GT(board, image.GetWidth() * image.GetHeight() / 4);
    EXPECT_GT(ink, 200);
}

TEST_F(SuggestWindow, TheFirstSuggestionOpensAsANewLayoutWithItsTally) {
    TrackBox box;  // a starter set: a circle of R1 and a few straights
    box.Set("24130", 12);
    box.Set("24188", 4);
    frame->SetOwnedTrack(box);
    frame->Document().baseboard = kBoard;
    frame->NotifyChanged(DocChange::All);  // unsaved
    frame->FlushChanges();

    LayoutSuggestion first;
    int galleries = 0;
    ModalAnswerer answers([&](wxDialog* dialog) {
        auto* suggest = dynamic_cast<SuggestDialog*>(dialog);
        if (!suggest) return wxID_NO;  // the unsaved changes are dropped
        ++galleries;
        const SuggestOptions o = suggest->Options();
        EXPECT_EQ(o.widthMm, 1800);
        EXPECT_EQ(o.depthMm, 900);
        EXPECT_TRUE(o.board.empty());  // a rectangle needs no outline
        EXPECT_EQ(o.system, TrackSystem::MarklinC);
        EXPECT_TRUE(PumpUntil([&] { return !suggest->Searching(); }, 30000));
        const SuggestGallery& gallery = *suggest->Gallery();
        EXPECT_GE(gallery.Count(), 4);
        EXPECT_EQ(gallery.Count(), int(suggest->Suggestions().size()));
        if (gallery.Count() == 0) return wxID_CANCEL;
        ExpectBoardAndTrack(gallery.Thumbnail(0));
        // The best first, and its lines say what it takes.
        const LayoutSuggestion& best = suggest->Suggestions().front();
        EXPECT_EQ(gallery.Lines(0), SuggestionLines(best));
        EXPECT_EQ(suggest->Chosen(), &best);
        SaveShot(suggest, "suggest-gallery.png");
        first = best;
        return wxID_OK;
    });
    Command(kCmdNewFromSuggestion);

    ASSERT_EQ(galleries, 1);
    ASSERT_EQ(answers.Count(), 2);
    EXPECT_EQ(answers.Dialogs()[1].title, "Unsaved Changes");
    const LayoutDocument& doc = frame->Document();
    EXPECT_EQ(doc.pieces, first.layout.pieces);
    EXPECT_EQ(doc.baseboard, kBoard);
    EXPECT_TRUE(frame->FilePath().empty());
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(doc.undoStack.empty());
    int needed = 0, toBuy = 0;
    for (const auto& [article, n] : frame->Properties()->LastTally()) needed += n;
    for (const ShoppingRow& row : ShoppingList(frame->Properties()->LastTally(), box))
        toBuy += row.toBuy;
    EXPECT_EQ(needed, first.pieceCount);
    EXPECT_EQ(toBuy, first.piecesToBuy);
    EXPECT_GT(toBuy, 0);
}

// An L-shaped baseboard is kept as it is. The keys move through the gallery row by row and
// Return opens; a board too small for any plan says which board would do instead of showing an
// empty gallery. The lines under a thumbnail give lengths in metres and the pieces to buy.
TEST_F(SuggestWindow,
       KeysWalkTheGalleryATooSmallBoardNamesOneThatWouldDoAndTheLinesSayWhatEachNeeds) {
    const std::vector<PointMm> l = {{0, 0},       {2400, 0},    {2400, 1200},
                                    {1200, 1200}, {1200, 2400}, {0, 2400}};
    frame->Document().baseboard = l;
    SuggestDialog dialog(frame, *frame);
    EXPECT_EQ(dialog.Options().board, l);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 30000));
    dialog.SetBoard(3000, 1500);
    EXPECT_TRUE(dialog.Options().board.empty());
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 30000));
    SuggestGallery& gallery = *dialog.Gallery();
    ASSERT_GE(gallery.Count(), 8);
    int opened = -1;
    gallery.onActivate = [&](int index) { opened = index; };
    auto key = [&](int code) {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.m_keyCode = code;
        e.SetEventObject(&gallery);
        gallery.GetEventHandler()->ProcessEvent(e);
    };
    EXPECT_EQ(gallery.Selection(), 0);  // the best is chosen when the search ends
    key(WXK_RIGHT);
    EXPECT_EQ(gallery.Selection(), 1);
    key(WXK_DOWN);
    EXPECT_GE(gallery.Selection() - 1, 2) << "the dialog's width holds several tiles";
    key(WXK_END);
    EXPECT_EQ(gallery.Selection(), gallery.Count() - 1);
    key(WXK_RETURN);
    EXPECT_EQ(opened, gallery.Count() - 1);
    EXPECT_EQ(dialog.Chosen(), &dialog.Suggestions().back());

    dialog.SetBoard(600, 500);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 30000));
    EXPECT_EQ(gallery.Count(), 0);
    EXPECT_EQ(dialog.Chosen(), nullptr);
    const wxString sentence = wxString::FromUTF8(SmallestBoardSentence(dialog.Options()));
    EXPECT_EQ(gallery.Message(), sentence);
    EXPECT_EQ(dialog.StatusText(), sentence);

    LayoutSuggestion s;
    s.kind = "Oval with station";
    s.trackLengthMm = 5230;
    s.pieceCount = 29;
    s.smallestRadiusMm = 360;
    s.longestStationTrackMm = 560;
    s.piecesToBuy = 1;
    EXPECT_EQ(SuggestionLines(s),
              (std::vector<wxString>{"Oval with station", "5.2 m of track",
                                     "29 pieces, smallest radius 360 mm",
                                     "Longest station track 0.56 m", "1 piece to buy"}));
}

}  // namespace
