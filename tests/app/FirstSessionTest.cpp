// What a first session in the real main window runs into: zoom and clipboard keys on the canvas,
// typed scenery sizes, ampersands in names, loops closed by double-clicks, and a whole session
// that leaves nothing on stderr.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/listctrl.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textdlg.h>

#include <cstdio>
#include <memory>

#include "app/CommandIds.h"
#include "app/gui/OpenLayoutDialog.h"
#include "canvas/Autofill.h"
#include "canvas/gui/AutofillDialog.h"
#include "canvas/gui/SceneryResizeDialog.h"
#include "catalog/SceneryCatalog.h"
#include "model/GradeRuns.h"
#include "model/Helices.h"
#include "panels/PropertiesLogic.h"
#include "panels/gui/PalettePanel.h"
#include "panels/gui/PiecePreviewPopup.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

class FirstSession : public FrameTest {
protected:
    void SetUp() override {
        capture = std::make_unique<StderrCapture>();  // from the first window on
        OpenFrame();
        frame->SetProgramFolder(wxString::FromUTF8(program.Path()));
        frame->Show();
        palette = frame->Palette();
        canvas->SetTransform(ViewTransform{1.0, 0.0, 0.0});
        PumpEvents(30);
    }
    void TearDown() override {
        CloseFrame();
        // No toolkit warning anywhere: building, showing, laying out and closing the windows.
        EXPECT_EQ(capture->Text(), "");
    }

    void DoubleClickTrackRow(const std::string& article) {
        const auto& keys = palette->TrackKeys();
        const int row =
            static_cast<int>(std::find(keys.begin(), keys.end(), article) - keys.begin());
        ASSERT_LT(row, static_cast<int>(keys.size()));
        palette->TrackList()->SetSelection(row);
        wxCommandEvent event(wxEVT_LISTBOX_DCLICK, palette->TrackList()->GetId());
        event.SetEventObject(palette->TrackList());
        event.SetInt(row);
        palette->TrackList()->GetEventHandler()->ProcessEvent(event);
    }
    // A key pressed while the canvas has the focus; true when some handler took it.
    bool CanvasKey(int code, bool ctrl = false) {
        wxKeyEvent e(wxEVT_KEY_DOWN);
        e.SetEventObject(canvas);
        e.m_keyCode = code;
        e.m_uniChar = code < 128 ? code : 0;
        e.SetControlDown(ctrl);
        e.SetRawControlDown(ctrl);
        return canvas->GetEventHandler()->ProcessEvent(e);
    }
    void Button(int id) {
        wxCommandEvent e(wxEVT_BUTTON, id);
        e.SetEventObject(frame->Properties());
        frame->Properties()->GetEventHandler()->ProcessEvent(e);
    }
    wxWindow* Named(const char* name) const { return wxWindow::FindWindowByName(name, frame); }
    int OpenEnds() const {
        int open = 0;
        for (const PlacedPiece& p : frame->Document().pieces)
            for (const Joint& j : p.joints) open += j.IsOpen();
        return open;
    }

    TempDir program;
    std::unique_ptr<StderrCapture> capture;
    PalettePanel* palette = nullptr;
};

// Plus and minus zoom while the canvas has the focus, Ctrl held they do not; Ctrl+C and
// Ctrl+V copy and paste there.
TEST_F(FirstSession, ZoomAndClipboardKeysOnTheCanvas) {
    const struct {
        int key;
        double factor;
    } keys[] = {
        {'+', 1.25}, {'-', 0.8}, {'=', 1.25}, {WXK_NUMPAD_ADD, 1.25}, {WXK_NUMPAD_SUBTRACT, 0.8}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.key);
        const double before = canvas->Zoom();
        EXPECT_TRUE(CanvasKey(k.key));
        EXPECT_NEAR(canvas->Zoom(), before * k.factor, 1e-9);
    }
    const double before = canvas->Zoom();
    CanvasKey('+', true);  // Ctrl held: not the zoom key
    EXPECT_EQ(canvas->Zoom(), before);

    // Ctrl+C and Ctrl+V copy and paste.
    Doc().FindPiece(LayPiece(Doc(), 100, 100))->selected = true;
    EXPECT_TRUE(CanvasKey('C', true));
    EXPECT_EQ(Doc().pieces.size(), 1u);
    EXPECT_TRUE(CanvasKey('V', true));
    ASSERT_EQ(Doc().pieces.size(), 2u);
    EXPECT_TRUE(Doc().pieces[1].selected && !Doc().pieces[0].selected);
    EXPECT_TRUE(frame->IsModified());
    EXPECT_TRUE(CanvasKey('V', true)) << "the buffer stays for another paste";
    EXPECT_EQ(Doc().pieces.size(), 3u);
    Command(kCmdUndo);
    EXPECT_EQ(Doc().pieces.size(), 2u) << "each paste is one undo step";
}

// The scenery resize takes typed sizes, the fill choices on a long gap show whole, the Open
// dialog starts with nothing chosen.
TEST_F(FirstSession, DialogsTakeTypedSizesAndShowTheirChoicesWhole) {
    {
        const SceneryDef* def = SceneryCatalog::Instance().Find("platform");
        ASSERT_NE(def, nullptr);
        auto* dialog = new SceneryResizeDialog(frame, *def, 1.0, 1.0);
        dialog->Show();
        PumpEvents();
        // Typing puts text into the field, which the toolkit reports as text events only.
        dialog->WidthControl()->SetValue("3");
        wxCommandEvent typed(wxEVT_TEXT, dialog->WidthControl()->GetId());
        typed.SetEventObject(dialog->WidthControl());
        typed.SetString("3");
        dialog->WidthControl()->GetEventHandler()->ProcessEvent(typed);
        EXPECT_DOUBLE_EQ(dialog->DepthControl()->GetValue(), 3.0);
        wxString labels;
        for (wxWindow* child : dialog->GetChildren())
            if (auto* text = dynamic_cast<wxStaticText*>(child)) labels += text->GetLabel() + "|";
        EXPECT_NE(labels.Find(wxString::Format("(= %.0f mm)", def->width * 3)), wxNOT_FOUND)
            << labels;
        EXPECT_NE(labels.Find(wxString::Format("(= %.0f mm)", def->depth * 3)), wxNOT_FOUND)
            << labels;

        // OK right after typing, before any event: the result keeps the ratio all the same.
        dialog->WidthControl()->SetValue("2");
        EXPECT_DOUBLE_EQ(dialog->WidthScale(), 2.0);
        EXPECT_DOUBLE_EQ(dialog->DepthScale(), 2.0);
        dialog->LockControl()->SetValue(false);
        dialog->DepthControl()->SetValue("1.5");
        EXPECT_DOUBLE_EQ(dialog->DepthScale(), 1.5) << "unlocked, the depth is its own";
        dialog->Destroy();
    }
    {
        std::vector<std::string> lines;
        for (const FillSolution& fill : SearchStraightFill(TrackSystem::MarklinC, 2500))
            lines.push_back(FillSolutionLine(fill));
        ASSERT_GE(lines.size(), 2u);
        auto* dialog = new AutofillDialog(frame, "Gap: 2500.0 mm", lines);
        dialog->Show();
        PumpEvents(50);
        int widest = 0;
        for (const std::string& line : lines)
            widest = std::max(widest, dialog->List()->GetTextExtent(wxString::FromUTF8(line)).x);
        EXPECT_GT(widest, 380) << "a line the old fixed width would cut";
        EXPECT_GE(dialog->List()->GetClientSize().x, widest);
        EXPECT_LE(dialog->GetSize().x, wxGetDisplaySize().x);
        dialog->Destroy();

        auto* shortLines = new AutofillDialog(frame, "Gap: 188.3 mm", {"24188 (188.3 mm)"});
        EXPECT_EQ(shortLines->GetSize().x, 380) << "short fills keep the usual width";
        shortLines->Destroy();
    }
    auto* dialog = new OpenLayoutDialog(frame, {"Alpha", "Beta"});
    dialog->Show();
    PumpEvents(50);
    EXPECT_TRUE(dialog->SelectedName().empty());
    EXPECT_FALSE(dialog->FindWindow(wxID_OK)->IsEnabled());
    ASSERT_TRUE(dialog->SelectName("Beta"));
    EXPECT_TRUE(dialog->FindWindow(wxID_OK)->IsEnabled());
    dialog->Destroy();
}

// The empty view names the unit of the layout; a helix's name keeps its ampersand.
TEST_F(FirstSession, PropertiesHeaderAndUnitLabels) {
    auto* label = dynamic_cast<wxStaticText*>(Named("heightLabel"));
    ASSERT_NE(label, nullptr);
    const struct {
        int command;
        const char* text;
    } units[] = {{kCmdUnitsCm, "Height (cm):"},
                 {kCmdUnitsInch, "Height (in):"},
                 {kCmdUnitsMm, "Height (mm):"}};
    for (const auto& u : units) {
        wxCommandEvent e(wxEVT_MENU, u.command);
        e.SetEventObject(frame);
        e.SetInt(1);
        frame->GetEventHandler()->ProcessEvent(e);
        frame->FlushChanges();
        EXPECT_EQ(label->GetLabelText(), u.text);
    }

    const uint32_t helix = PlaceHelix(Doc(), 500, 500, 0, "proses_2_5_r1r2");
    ASSERT_NE(helix, kNoId);
    for (PlacedPiece& piece : Doc().pieces) piece.selected = piece.helixId == helix;
    frame->NotifyChanged(DocChange::Selection);
    frame->FlushChanges();
    auto* header = dynamic_cast<wxStaticText*>(Named("header"));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->GetLabelText(), "Proses 2.5 R1&R2 26cm/10.2\"");
}

TEST_F(FirstSession, LoopBuiltByDoubleClicksClosesAtItsStart) {
    DoubleClickTrackRow("24130");  // nothing selected: the piece follows the pointer
    ASSERT_TRUE(std::holds_alternative<PieceDragGesture>(canvas->Gestures().Active()));
    Mouse(wxEVT_MOTION, 700, 300, false);
    Click(700, 300);
    ASSERT_EQ(Doc().pieces.size(), 1u);
    for (int i = 0; i < 11; ++i) DoubleClickTrackRow("24130");
    ASSERT_EQ(Doc().pieces.size(), 12u);
    EXPECT_EQ(OpenEnds(), 0) << "the twelfth curve meets the first";
    const PlacedPiece& first = Doc().pieces.front();
    EXPECT_EQ(first.joints[0].target, Doc().pieces.back().id);
}

TEST_F(FirstSession, ScenerySizeInThePanelFollowsAHandleResize) {
    SceneryItem item;
    item.item = "platform";  // 230 x 60 mm
    item.x = 400;
    item.y = 300;
    item.selected = true;
    item.id = Doc().TakeId();
    Doc().scenery.push_back(item);
    frame->NotifyChanged(DocChange::Selection);
    frame->FlushChanges();
    auto* info = dynamic_cast<wxStaticText*>(Named("info"));
    ASSERT_NE(info, nullptr);
    const wxString before = info->GetLabelText();
    // Handle 3, the middle of the right edge, dragged 50 pixels (mm) to the right.
    Mouse(wxEVT_LEFT_DOWN, 515, 300, true);
    Mouse(wxEVT_MOTION, 540, 300, true);
    Mouse(wxEVT_MOTION, 565, 300, true);
    Mouse(wxEVT_LEFT_UP, 565, 300, false);
    frame->FlushChanges();
    ASSERT_GT(Doc().scenery[0].scaleX, 1.0) << "the handle was caught";
    EXPECT_NE(info->GetLabelText(), before);
    EXPECT_EQ(info->GetLabelText(), wxString::FromUTF8(BuildSelectionView(Doc()).info));
}

TEST_F(FirstSession, PalettePreviewStaysBesideTheRowAndGoesWhenTheListScrolls) {
    wxListBox* list = palette->TrackList();
    const auto& keys = palette->TrackKeys();
    const int row = static_cast<int>(std::find(keys.begin(), keys.end(), "24188") - keys.begin());
    list->EnsureVisible(row);
    PumpEvents();
    // Find a point over the row: the list has no row rectangles, only hit tests.
    wxPoint over(-1, -1);
    for (int y = 0; y < list->GetClientSize().y && over.y < 0; ++y)
        if (list->HitTest(wxPoint(20, y)) == row) over = wxPoint(20, y);
    ASSERT_GE(over.y, 0);
    wxMouseEvent motion(wxEVT_MOTION);
    motion.SetEventObject(list);
    motion.SetPosition(over);
    list->GetEventHandler()->ProcessEvent(motion);
    PiecePreviewPopup* preview = palette->Preview();
    ASSERT_TRUE(preview->IsShown());
    EXPECT_GE(preview->GetScreenPosition().x, list->GetScreenRect().GetRight())
        << "the row's text stays uncovered";

    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetEventObject(list);
    wheel.SetPosition(over);
    wheel.m_wheelRotation = -120;
    wheel.m_wheelDelta = 120;
    list->GetEventHandler()->ProcessEvent(wheel);
    EXPECT_FALSE(preview->IsShown());
    EXPECT_EQ(palette->HoveredRow(), -1) << "the next motion shows the row then under the pointer";
}

TEST_F(FirstSession, PropertiesTextsFitThePanelsWidth) {
    // Pieces with long names, one of them too steep.
    for (const char* article : {"24611", "24624", "24130", "24977", "74636"})
        LayPiece(Doc(), 0, 0, 1, article);
    Doc().pieces[2].selected = true;
    Doc().pieces[2].grade = 7.5;
    frame->NotifyChanged(DocChange::Pieces | DocChange::Selection);
    frame->FlushChanges();
    PumpEvents(50);
    PropertiesPanel* panel = frame->Properties();
    const int width = panel->GetClientSize().x;
    ASSERT_GT(width, 100);
    for (const char* name : {"header", "info", "gradeWarning"}) {
        auto* text = dynamic_cast<wxStaticText*>(Named(name));
        ASSERT_NE(text, nullptr) << name;
        EXPECT_LE(text->GetRect().GetRight(), width) << name << ": " << text->GetLabel();
    }
    auto* warning = dynamic_cast<wxStaticText*>(Named("gradeWarning"));
    wxString shown = warning->GetLabelText();
    shown.Replace("\n", " ");
    EXPECT_EQ(shown, "WARNING: Grade 7.5 deg exceeds 6 deg max!") << "wrapped, not cut";
    auto* tally = dynamic_cast<wxListCtrl*>(Named("pieceCount"));
    ASSERT_NE(tally, nullptr);
    // The piece column takes what the count columns (needed, owned, to buy) and a scroll bar
    // leave, or more for a name wider than that.
    int countWidths = 0;
    for (int column = 1; column < tally->GetColumnCount(); ++column)
        countWidths += tally->GetColumnWidth(column);
    EXPECT_EQ(tally->GetColumnCount(), 4);
    EXPECT_GE(tally->GetColumnWidth(0) + countWidths,
              tally->GetClientSize().x - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, tally))
        << "the piece column takes the free width, with room for a scroll bar";
    EXPECT_GT(tally->GetColumnWidth(0), 40);

    for (const char* name : {"Apply", "Recalc", "Start Grade", "End Grade"}) {
        wxWindow* button = wxWindow::FindWindowByLabel(name, panel);
        if (!button || !button->IsShown()) continue;
        SCOPED_TRACE(name);
        EXPECT_GE(button->GetSize().x, button->GetBestSize().x) << "natural size";
        const wxRect box = button->GetParent()->GetClientRect();
        EXPECT_LE(button->GetRect().GetRight(), box.GetRight()) << "inside its box";
    }
}

// Place, move, rotate, grade, undo, save and reopen, with the panels and the resize dialog
// shown: the toolkit has nothing to complain about (the fixture checks stderr at the end).
TEST_F(FirstSession, NormalSessionPrintsNothingOnStderr) {
    DoubleClickTrackRow("24188");
    Mouse(wxEVT_MOTION, 300, 300, false);
    Click(300, 300);
    for (int i = 0; i < 3; ++i) DoubleClickTrackRow("24188");
    PumpEvents(30);
    ASSERT_EQ(Doc().pieces.size(), 4u);
    const double x0 = Doc().pieces[0].x;
    // Select the first piece alone and drag it away, then turn it with Alt.
    Click(static_cast<int>(x0) + 90, 300);
    Mouse(wxEVT_LEFT_DOWN, static_cast<int>(x0) + 90, 300, true);
    Mouse(wxEVT_MOTION, static_cast<int>(x0) + 90, 340, true);
    Mouse(wxEVT_LEFT_UP, static_cast<int>(x0) + 90, 340, false);
    EXPECT_NE(Doc().pieces[0].y, 0.0);
    const double heading = Doc().pieces[0].heading;
    Mouse(wxEVT_LEFT_DOWN, static_cast<int>(x0) + 200, 340, true, false, true);
    Mouse(wxEVT_MOTION, static_cast<int>(x0) + 150, 420, true, false, true);
    Mouse(wxEVT_LEFT_UP, static_cast<int>(x0) + 150, 420, false, false, true);
    EXPECT_NE(Doc().pieces[0].heading, heading);
    PumpEvents(30);
    // A grade on the last piece of the chain, then undo it.
    Doc().ClearSelection();
    Doc().pieces[3].selected = true;
    frame->NotifyChanged(DocChange::Selection);
    frame->FlushChanges();
    PumpEvents(30);
    static_cast<wxSpinCtrlDouble*>(Named("gradeSpin"))->SetValue(3.0);
    Button(PropertiesPanel::kIdStartGrade);
    EXPECT_FALSE(Doc().gradeRuns.empty());
    PumpEvents(30);
    Command(kCmdUndo);
    EXPECT_TRUE(Doc().gradeRuns.empty());
    // Save under a name, then open the file again.
    {
        ModalAnswerer answer([](wxDialog* dialog) {
            if (auto* entry = dynamic_cast<wxTextEntryDialog*>(dialog)) entry->SetValue("Session");
            return wxID_OK;
        });
        Command(wxID_SAVE);
    }
    {
        ModalAnswerer answer([](wxDialog* dialog) {
            if (auto* open = dynamic_cast<OpenLayoutDialog*>(dialog))
                return open->SelectName("Session") ? wxID_OK : wxID_CANCEL;
            return wxID_NO;
        });
        Command(wxID_OPEN);
    }
    EXPECT_EQ(Doc().pieces.size(), 4u);
    const SceneryDef* def = SceneryCatalog::Instance().Find("platform");
    auto* dialog = new SceneryResizeDialog(frame, *def, 1.0, 1.0);
    dialog->Show();
    PumpEvents(50);
    dialog->Destroy();
    PumpEvents(30);
}

}  // namespace
