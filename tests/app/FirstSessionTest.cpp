// What a first session in the real main window runs into: zoom and clipboard keys on the canvas,
// typed scenery sizes, ampersands in names, the palette's preview and texts that fit the panel.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include "app/CommandIds.h"
#include "app/gui/OpenLayoutDialog.h"
#include "canvas/Autofill.h"
#include "canvas/gui/AutofillDialog.h"
#include "canvas/gui/SceneryResizeDialog.h"
#include "catalog/SceneryCatalog.h"
#include "model/Helices.h"
#include "panels/gui/PalettePanel.h"
#include "panels/gui/PiecePreviewPopup.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

class FirstSession : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        frame->Show();
        palette = frame->Palette();
        canvas->SetTransform(ViewTransform{1.0, 0.0, 0.0});
        PumpEvents(30);
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
    wxWindow* Named(const char* name) const { return wxWindow::FindWindowByName(name, frame); }

    PalettePanel* palette = nullptr;
};

// The keypad's plus and minus zoom while the canvas has the focus (which key means what is the
// key table's own); Ctrl+C and Ctrl+V copy and paste there.
TEST_F(FirstSession, ZoomAndClipboardKeysOnTheCanvas) {
    for (const auto& [key, factor] :
         {std::pair{WXK_NUMPAD_ADD, 1.25}, {WXK_NUMPAD_SUBTRACT, 0.8}}) {
        const double before = canvas->Zoom();
        EXPECT_TRUE(CanvasKey(key));
        EXPECT_NEAR(canvas->Zoom(), before * factor, 1e-9) << key;
    }
    Doc().FindPiece(LayPiece(Doc(), 100, 100))->selected = true;
    EXPECT_TRUE(CanvasKey('C', true));
    EXPECT_EQ(Doc().pieces.size(), 1u);
    EXPECT_TRUE(CanvasKey('V', true));
    ASSERT_EQ(Doc().pieces.size(), 2u);
    EXPECT_TRUE(Doc().pieces[1].selected && !Doc().pieces[0].selected);
}

// The scenery resize takes typed sizes (how it reads them is the scale parser's own), the fill
// choices on a long gap show whole, the Open dialog starts with nothing chosen.
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
        EXPECT_NE(labels.Find(wxString::Format("(= %.0f mm)", def->depth * 3)), wxNOT_FOUND)
            << labels;
        // OK right after typing, before any event: the result keeps the ratio all the same.
        dialog->WidthControl()->SetValue("2");
        EXPECT_DOUBLE_EQ(dialog->DepthScale(), 2.0);
        dialog->Destroy();
    }
    {
        std::vector<std::string> lines;
        for (const FillSolution& fill : SearchStraightFill(TrackSystem::MarklinC, 2500))
            lines.push_back(FillSolutionLine(fill));
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
    wxCommandEvent inches(wxEVT_MENU, kCmdUnitsInch);
    inches.SetInt(1);
    frame->GetEventHandler()->ProcessEvent(inches);
    frame->FlushChanges();
    EXPECT_EQ(dynamic_cast<wxStaticText*>(Named("heightLabel"))->GetLabelText(), "Height (in):");

    const uint32_t helix = PlaceHelix(Doc(), 500, 500, 0, "proses_2_5_r1r2");
    ASSERT_NE(helix, kNoId);
    for (PlacedPiece& piece : Doc().pieces) piece.selected = piece.helixId == helix;
    frame->NotifyChanged(DocChange::Selection);
    frame->FlushChanges();
    EXPECT_EQ(dynamic_cast<wxStaticText*>(Named("header"))->GetLabelText(),
              "Proses 2.5 R1&R2 26cm/10.2\"");
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

    for (const char* name : {"Apply", "Recalc", "Start Grade", "End Grade"}) {
        wxWindow* button = wxWindow::FindWindowByLabel(name, panel);
        if (!button || !button->IsShown()) continue;
        SCOPED_TRACE(name);
        EXPECT_GE(button->GetSize().x, button->GetBestSize().x) << "natural size";
        const wxRect box = button->GetParent()->GetClientRect();
        EXPECT_LE(button->GetRect().GetRight(), box.GetRight()) << "inside its box";
    }
}

}  // namespace
