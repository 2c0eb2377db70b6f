// The gap closer in the real main window: the menu and context menu entries, the search behind
// the window, the ghost of the selected chain, laying it and undoing it.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/listbox.h>
#include <wx/menu.h>
#include <wx/stattext.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "base/Geometry.h"
#include "canvas/gui/CanvasPanel.h"
#include "catalog/TrackCatalog.h"
#include "gapclose/GapText.h"
#include "gapclose/gui/CloseGapDialog.h"
#include "support/GuiTestSupport.h"
#include "support/Screenshot.h"
#include "trackgeometry/PieceGeometry.h"

namespace {

class CloseGapWindow : public testing::Test {
protected:
    TempDir home;
    std::string oldHome;
    MainFrame* frame = nullptr;
    CanvasPanel* canvas = nullptr;
    uint32_t inner = 0, outer = 0;
    std::vector<std::vector<wxString>> menus;

    void SetUp() override {
        if (const char* h = std::getenv("HOME")) oldHome = h;
        setenv("HOME", home.Path().c_str(), 1);
        frame = new MainFrame();
        frame->SetSize(1200, 800);
        frame->Show();
        canvas = frame->Canvas();
        LayoutDocument& doc = frame->Document();
        doc.EnsureDefaultLevel();
        // An inner and an outer track: the outer one lies two opposed R2 24.3 degree arcs
        // further on and to the side.
        const double r = 437.5, turn = DegToRad(24.3);
        inner = Add(doc, 100, 300);
        outer = Add(doc, 100 + 188.3 + 2 * r * std::sin(turn), 300 + 2 * r * (1 - std::cos(turn)));
        doc.FindPiece(inner)->selected = doc.FindPiece(outer)->selected = true;
        ViewTransform view;
        view.zoom = 1;
        view.offsetX = 0;
        view.offsetY = 0;
        canvas->SetTransform(view);
        canvas->SetPopupMenuHook([this](wxMenu& menu) {
            std::vector<wxString> labels;
            for (wxMenuItem* item : menu.GetMenuItems()) labels.push_back(item->GetItemLabelText());
            menus.push_back(labels);
        });
        frame->NotifyChanged(DocChange::Pieces | DocChange::Selection);
        PumpEvents();
    }
    void TearDown() override {
        frame->Destroy();
        PumpEvents();
        setenv("HOME", oldHome.c_str(), 1);
    }
    static uint32_t Add(LayoutDocument& doc, double x, double y) {
        PlacedPiece p;
        p.article = "24188";
        p.x = x;
        p.y = y;
        p.joints.resize(2);
        return doc.AddPiece(p);
    }
    void Command(int id) {
        wxCommandEvent e(wxEVT_MENU, id);
        e.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(e);
    }
    void RightClick(wxPoint at) {
        for (wxEventType type : {wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP}) {
            wxMouseEvent e(type);
            e.SetEventObject(canvas);
            e.SetPosition(at);
            canvas->GetEventHandler()->ProcessEvent(e);
        }
    }
    // The ends and the room between them as the gap closer keeps them clear, on the screen.
    wxRect ClearRect() {
        const LayoutBounds clear =
            GapClearArea(frame->Document(), NearestGapEnds(frame->Document(), inner, outer));
        return wxRect(canvas->ClientToScreen(canvas->LayoutToScreen(clear.minX, clear.minY)),
                      canvas->ClientToScreen(canvas->LayoutToScreen(clear.maxX, clear.maxY)));
    }
    // The colour the canvas shows at a layout point.
    wxColour CanvasPixel(double x, double y) {
        const wxSize size = canvas->GetClientSize();
        wxBitmap bitmap(size.x, size.y, 24);
        {
            wxMemoryDC dc(bitmap);
            canvas->PaintTo(dc, size.x, size.y);
        }
        const wxImage image = bitmap.ConvertToImage();
        const wxPoint p = canvas->LayoutToScreen(x, y);
        return wxColour(image.GetRed(p.x, p.y), image.GetGreen(p.x, p.y), image.GetBlue(p.x, p.y));
    }
};

TEST_F(CloseGapWindow, MenuAndContextMenuOfferIt) {
    wxMenuItem* item = frame->GetMenuBar()->FindItem(kCmdCloseGap);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetItemLabel(), "Close &Gap...\tCtrl+J");
    RightClick(canvas->LayoutToScreen(190, 300));
    ASSERT_FALSE(menus.empty());
    EXPECT_NE(std::find(menus.back().begin(), menus.back().end(), "Close Gap..."),
              menus.back().end());
}

TEST_F(CloseGapWindow, ChosenLineIsDrawnLaidAndUndone) {
    LayoutDocument& doc = frame->Document();
    const std::vector<PlacedPiece> before = doc.pieces;
    size_t ghostPieces = 0, lines = 0;
    wxColour ghostColour;
    ModalAnswerer answer([&](wxDialog* d) {
        auto* dialog = dynamic_cast<CloseGapDialog*>(d);
        if (!dialog) return static_cast<int>(wxID_CANCEL);
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
            ghostColour = CanvasPixel(mid.x, mid.y);
        }
        return dialog->Chosen() ? static_cast<int>(wxID_OK) : static_cast<int>(wxID_CANCEL);
    });
    Command(kCmdCloseGap);
    PumpEvents();

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

// The window opened over the gap and hid the ghost.
TEST_F(CloseGapWindow, OpensBesideTheEnds) {
    ViewTransform view = canvas->Transform();
    view.zoom = 0.5;
    canvas->SetTransform(view);
    PumpEvents();
    wxRect placed, clear = ClearRect();
    ModalAnswerer answer([&](wxDialog* d) {
        placed = d->GetScreenRect();
        return static_cast<int>(wxID_CANCEL);
    });
    Command(kCmdCloseGap);
    PumpEvents();
    ASSERT_FALSE(placed.IsEmpty());
    EXPECT_FALSE(placed.Intersects(clear)) << placed.x << "," << placed.y << " " << clear.x << ","
                                           << clear.y << " " << clear.width << "x" << clear.height;
}

TEST_F(CloseGapWindow, ChangedOptionsSearchAgainAndUnclosableGapsSayWhy) {
    LayoutDocument& doc = frame->Document();
    CloseGapDialog dialog(
        frame, doc, NearestGapEnds(doc, inner, outer),
        [this](std::vector<GhostPiece> g) { canvas->SetChainGhost(std::move(g)); });
    dialog.Show();
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 60000));
    ASSERT_GT(dialog.List()->GetCount(), 0u);
    EXPECT_NE(dialog.List()->GetString(0).find("miss "), wxString::npos);
    EXPECT_FALSE(canvas->Overlays().chainGhost.empty());

    dialog.MoveBeside(ClearRect());
    SaveShot(&dialog, "close-gap-dialog.png");
    SaveShot(frame, "close-gap-canvas.png");  // the ghost the window leaves clear

    GapOptions options = dialog.Options();
    options.maxPieces = 1;
    dialog.SetOptions(options);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 60000));
    EXPECT_EQ(dialog.List()->GetCount(), 0u);
    EXPECT_EQ(dialog.Chosen(), nullptr);
    EXPECT_NE(dialog.StatusText().Find("No chain of up to 1 piece"), wxNOT_FOUND)
        << dialog.StatusText();
    EXPECT_TRUE(canvas->Overlays().chainGhost.empty());
    dialog.Hide();
}

// The chain here is two R2 24.3 degree curves: owning one of them is not enough, and the status
// then says so on as many lines as it takes (it was cut off after one).
TEST_F(CloseGapWindow, OnlyPiecesIOwnBuildsFromTheBoxOrSaysNothingClosesOnWrappedLines) {
    LayoutDocument& doc = frame->Document();
    CloseGapDialog dialog(frame, doc, NearestGapEnds(doc, inner, outer), nullptr);
    // Narrow, as a long German message is to the window: the message must take more lines.
    dialog.SetMinSize(wxSize(480, -1));
    dialog.SetSize(480, 460);
    dialog.Show();
    wxWindow* onlyOwned = dialog.FindWindowByLabel("Only pieces I own");
    ASSERT_NE(onlyOwned, nullptr);
    EXPECT_FALSE(onlyOwned->IsEnabled()) << "no box: nothing to limit to";
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
    PumpEvents();
    wxString text = dialog.StatusText();
    text.Replace("\n", " ");
    int width = 0, height = 0;
    dialog.GetTextExtent(text, &width, &height);
    ASSERT_GT(width, dialog.Status()->GetSize().x) << "the message needs more than one line";
    EXPECT_GE(dialog.Status()->GetSize().y, 2 * height) << text;
    EXPECT_LE(dialog.Status()->GetRect().GetBottom(), dialog.GetClientSize().y);

    options.stock = {{"24224", 2}};
    dialog.SetOptions(options);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.Searching(); }, 60000));
    ASSERT_GT(dialog.List()->GetCount(), 0u);
    EXPECT_NE(dialog.List()->GetString(0).find(wxString::FromUTF8("24224 \u00d72")), wxString::npos)
        << dialog.List()->GetString(0);
    dialog.Hide();
}

}  // namespace
