// The properties panel inside the real main window: views, edits, the tally list and Buy Track.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/hyperlink.h>
#include <wx/listctrl.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/MainFrame.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "panels/PropertiesPanel.h"
#include "panels/StoreTable.h"
#include "support/GuiTestSupport.h"

namespace {

// Logs and other per-user files of the frame go to a temporary HOME for the whole program.
TempDir& TestHome() {
    static TempDir home;
    return home;
}

class PropertiesPanelTest : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("HOME", TestHome().Path().c_str(), 1); }

    void SetUp() override {
        frame = new MainFrame();
        frame->Document().EnsureDefaultLevel();
        panel = frame->Properties();
        ASSERT_NE(panel, nullptr);
        panel->SetBrowserOpener([this](const wxString& url) {
            opened.push_back(url);
            return true;
        });
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        PumpEvents();
    }

    LayoutDocument& Doc() { return frame->Document(); }

    uint32_t Place(const std::string& article, double heading = 0, bool selected = true) {
        PlacedPiece piece;
        piece.id = Doc().TakeId();
        piece.article = article;
        piece.heading = heading;
        piece.selected = selected;
        piece.joints.resize(2);
        Doc().pieces.push_back(piece);
        return piece.id;
    }
    void Join(uint32_t a, uint32_t connA, uint32_t b, uint32_t connB) {
        Doc().FindPiece(a)->joints[connA] = Joint{b, connB};
        Doc().FindPiece(b)->joints[connB] = Joint{a, connA};
    }

    template <typename T>
    T* Find(const wxString& name) {
        auto* window = dynamic_cast<T*>(panel->FindWindow(name));
        EXPECT_NE(window, nullptr) << name;
        return window;
    }
    template <typename T>
    T* FindId(int id) {
        auto* window = dynamic_cast<T*>(panel->FindWindow(id));
        EXPECT_NE(window, nullptr) << id;
        return window;
    }
    wxString Label(const wxString& name) { return Find<wxStaticText>(name)->GetLabel(); }

    // Sends a command event as the control itself would.
    void Send(wxWindow* control, wxEventType type) {
        wxCommandEvent event(type, control->GetId());
        event.SetEventObject(control);
        if (type == wxEVT_CHOICE) event.SetInt(static_cast<wxChoice*>(control)->GetSelection());
        control->GetEventHandler()->ProcessEvent(event);
    }
    void Press(int id) { Send(FindId<wxButton>(id), wxEVT_BUTTON); }
    void TypeHeight(const wxString& text) {
        auto* field = FindId<wxTextCtrl>(PropertiesPanel::kIdHeight);
        field->ChangeValue(text);
        Send(field, wxEVT_TEXT_ENTER);
    }

    std::vector<std::pair<wxString, wxString>> TallyRows() {
        auto* list = Find<wxListCtrl>("pieceCount");
        std::vector<std::pair<wxString, wxString>> rows;
        for (long i = 0; i < list->GetItemCount(); ++i) {
            rows.emplace_back(list->GetItemText(i, 0), list->GetItemText(i, 1));
        }
        return rows;
    }
    static wxString Name(const char* article) {
        return wxString::FromUTF8(TrackCatalog::Instance().Find(article)->name);
    }
    static wxString Cart(const std::string& items) {
        return wxString::FromUTF8(StoreTable::BuiltIn().CartAddress() + items);
    }
    static std::string Id(const char* article) {
        return *StoreTable::BuiltIn().FindVariantId(article);
    }

    MainFrame* frame = nullptr;
    PropertiesPanel* panel = nullptr;
    std::vector<wxString> opened;
};

TEST_F(PropertiesPanelTest, DownhillPieceShowsGradeDirectionAndAngle) {
    const uint32_t id = Place("24188");
    Doc().FindPiece(id)->grade = -2.5;
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownPieceId(), id);
    EXPECT_EQ(Label("header"), "24188 - 188.3mm");
    EXPECT_EQ(Label("gradeValue"), "-2.50 deg (4.4%)");
    EXPECT_TRUE(Find<wxRadioButton>("gradeDown")->GetValue());
    EXPECT_FALSE(Find<wxRadioButton>("gradeUp")->GetValue());
    EXPECT_DOUBLE_EQ(Find<wxSpinCtrlDouble>("gradeSpin")->GetValue(), 2.5);
    EXPECT_TRUE(FindId<wxTextCtrl>(PropertiesPanel::kIdHeight)->IsShown());
    EXPECT_TRUE(FindId<wxChoice>(PropertiesPanel::kIdLevel)->IsShown());
    EXPECT_FALSE(FindId<wxButton>(PropertiesPanel::kIdEndGrade)->IsShown());
}

TEST_F(PropertiesPanelTest, SteepGradeIsWarnedInRedAndSixDegreesIsNot) {
    const uint32_t id = Place("24188");
    Doc().FindPiece(id)->grade = 7.0;
    panel->RefreshSelection();
    EXPECT_EQ(Label("gradeWarning"), "WARNING: Grade 7.0 deg exceeds 6 deg max!");
    EXPECT_EQ(Find<wxStaticText>("gradeValue")->GetForegroundColour(), wxColour(200, 40, 40));

    Doc().FindPiece(id)->grade = 6.0;
    panel->RefreshSelection();
    EXPECT_EQ(Label("gradeWarning"), "");
    EXPECT_EQ(Label("gradeValue"), "+6.00 deg (10.5%)");
    EXPECT_NE(Find<wxStaticText>("gradeValue")->GetForegroundColour(), wxColour(200, 40, 40));
}

TEST_F(PropertiesPanelTest, HeightIsShownAndTypedInInches) {
    Doc().units = 2;
    const uint32_t id = Place("24188");
    const uint32_t neighbour = Place("24188", 0, false);
    Join(id, 1, neighbour, 0);
    Doc().FindPiece(id)->elevation = 254;
    panel->RefreshSelection();
    EXPECT_EQ(Label("heightLabel"), "Height (in):");
    EXPECT_EQ(FindId<wxTextCtrl>(PropertiesPanel::kIdHeight)->GetValue(), "10.000");

    TypeHeight("2");
    EXPECT_NEAR(Doc().FindPiece(id)->elevation, 50.8, 1e-9);
    EXPECT_EQ(Doc().FindPiece(neighbour)->elevation, 0) << "nothing propagates";
    EXPECT_EQ(Doc().undoStack.size(), 1u);
    EXPECT_TRUE(frame->IsModified());
    EXPECT_EQ(FindId<wxTextCtrl>(PropertiesPanel::kIdHeight)->GetValue(), "2.000");
}

TEST_F(PropertiesPanelTest, HeightThatDoesNotParseChangesNothing) {
    const uint32_t id = Place("24188");
    Doc().FindPiece(id)->elevation = 30;
    panel->RefreshSelection();
    TypeHeight("abc");
    EXPECT_EQ(Doc().FindPiece(id)->elevation, 30);
    EXPECT_TRUE(Doc().undoStack.empty());
    EXPECT_FALSE(frame->IsModified());
}

TEST_F(PropertiesPanelTest, StraightRunAndItsFallBack) {
    const uint32_t a = Place("24188");
    const uint32_t b = Place("24172");
    const uint32_t c = Place("24188");
    Join(a, 1, b, 0);
    Join(b, 1, c, 0);
    panel->RefreshSelection();
    EXPECT_EQ(Label("header"), "24188 + 24172 + 24188");
    EXPECT_EQ(Label("info"), "3 pieces  |  548.3 mm");  // 188.3 + 171.7 + 188.3
    EXPECT_EQ(panel->ShownPieceId(), kNoId);
    EXPECT_FALSE(FindId<wxTextCtrl>(PropertiesPanel::kIdHeight)->IsShown());

    Doc().FindPiece(b)->heading = 90;
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownPieceId(), c);
    EXPECT_EQ(Label("header"), "24188 - 188.3mm");
}

TEST_F(PropertiesPanelTest, HelixAndSceneryViewsAndTheEmptyView) {
    // A helix record with its four end pieces, all selected.
    Helix helix;
    helix.id = Doc().TakeId();
    helix.variant = "proses_3_5_r1r2";
    uint32_t* ends[] = {&helix.bottomR1, &helix.bottomR2, &helix.topR1, &helix.topR2};
    for (uint32_t* end : ends) {
        *end = Place("24188");
        Doc().FindPiece(*end)->helixId = helix.id;
    }
    Doc().helices.push_back(helix);
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownHelixId(), helix.id);
    EXPECT_EQ(Label("header"), "Proses 3.5 R1&R2 34cm/13.4\"");
    EXPECT_EQ(Label("heightLabel"), "Base height (mm):");
    EXPECT_FALSE(FindId<wxButton>(PropertiesPanel::kIdStartGrade)->IsShown());

    Doc().ClearSelection();
    Doc().scenery.push_back(SceneryItem{Doc().TakeId(), "bridge_truss", 0, 0, 0, true, 1, 1, 1});
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownSceneryId(), Doc().scenery[0].id);
    EXPECT_EQ(Label("info"), "Scenery  |  188 x 80 mm");
    EXPECT_TRUE(FindId<wxChoice>(PropertiesPanel::kIdLevel)->IsShown());

    Doc().ClearSelection();
    panel->RefreshSelection();
    EXPECT_EQ(Label("header"), "No selection");
    EXPECT_EQ(panel->ShownSceneryId(), kNoId);
    EXPECT_FALSE(FindId<wxChoice>(PropertiesPanel::kIdLevel)->IsShown());
}

TEST_F(PropertiesPanelTest, LevelChoiceMovesTheConnectedTrack) {
    Level upper;
    upper.id = 2;
    upper.name = "Upper";
    upper.height = 80;
    Doc().levels.push_back(upper);
    const uint32_t a = Place("24188");
    const uint32_t b = Place("24188", 0, false);
    Join(a, 1, b, 0);
    panel->RefreshSelection();
    auto* choice = FindId<wxChoice>(PropertiesPanel::kIdLevel);
    ASSERT_EQ(choice->GetCount(), 2u);
    EXPECT_EQ(choice->GetString(1), "Upper");
    EXPECT_EQ(choice->GetSelection(), 0);
    choice->SetSelection(1);
    Send(choice, wxEVT_CHOICE);
    EXPECT_EQ(Doc().FindPiece(a)->level, 2);
    EXPECT_EQ(Doc().FindPiece(b)->level, 2);
    EXPECT_EQ(Doc().FindPiece(b)->elevation, 80);
    EXPECT_EQ(Doc().activeLevel, 2u);
    EXPECT_TRUE(frame->IsModified());
    PumpUntil([&] { return FindId<wxTextCtrl>(PropertiesPanel::kIdHeight)->GetValue() == "80.0"; });
    EXPECT_EQ(FindId<wxTextCtrl>(PropertiesPanel::kIdHeight)->GetValue(), "80.0");
}

TEST_F(PropertiesPanelTest, GradeButtonsStartAndEndARun) {
    const uint32_t id = Place("24188");
    panel->RefreshSelection();
    Find<wxRadioButton>("gradeDown")->SetValue(true);
    Find<wxSpinCtrlDouble>("gradeSpin")->SetValue(2.5);
    Press(PropertiesPanel::kIdStartGrade);
    EXPECT_EQ(Doc().FindPiece(id)->grade, -2.5);
    ASSERT_EQ(Doc().gradeRuns.size(), 1u);
    EXPECT_EQ(Doc().gradeRuns[0].anchorPiece, static_cast<int32_t>(id));
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0), "Elevation: DOWN 2.5 deg");
    EXPECT_TRUE(FindId<wxButton>(PropertiesPanel::kIdEndGrade)->IsShown());
    EXPECT_EQ(Label("gradeValue"), "-2.50 deg (4.4%)");

    Press(PropertiesPanel::kIdEndGrade);
    EXPECT_EQ(Doc().FindPiece(id)->grade, 0);
    EXPECT_TRUE(Doc().gradeRuns.empty());
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(0),
              "Grade ended - subsequent pieces will be flat");
    EXPECT_FALSE(FindId<wxButton>(PropertiesPanel::kIdEndGrade)->IsShown());
}

TEST_F(PropertiesPanelTest, RecalcLiftsTheFlatPiecesAfterIt) {
    const uint32_t a = Place("24188");
    const uint32_t b = Place("24188", 0, false);
    Join(a, 1, b, 0);
    Doc().FindPiece(a)->elevation = 12;
    panel->RefreshSelection();
    Press(PropertiesPanel::kIdRecalc);
    EXPECT_EQ(Doc().FindPiece(b)->elevation, 12);
    EXPECT_EQ(Doc().undoStack.size(), 1u);
}

TEST_F(PropertiesPanelTest, ApplyColoursTheSelectionAndClearsIt) {
    const uint32_t a = Place("24188");
    panel->RefreshSelection();
    FindId<wxChoice>(PropertiesPanel::kIdColour)->SetSelection(5);
    Press(PropertiesPanel::kIdApply);
    EXPECT_TRUE(Doc().FindPiece(a)->hasColour);
    EXPECT_EQ(Doc().FindPiece(a)->colour, (Rgb{60, 100, 200}));
    EXPECT_FALSE(Doc().HasSelection());
    EXPECT_EQ(Label("header"), "No selection");
    EXPECT_TRUE(frame->IsModified());

    Doc().FindPiece(a)->selected = true;
    FindId<wxChoice>(PropertiesPanel::kIdColour)->SetSelection(0);
    Press(PropertiesPanel::kIdApply);
    EXPECT_FALSE(Doc().FindPiece(a)->hasColour);
    EXPECT_FALSE(Doc().HasSelection());
}

TEST_F(PropertiesPanelTest, LabelFieldAddsTextAndIgnoresBlanks) {
    auto* field = FindId<wxTextCtrl>(PropertiesPanel::kIdLabelText);
    EXPECT_FALSE(field->IsShown());
    Press(PropertiesPanel::kIdLabelOk);  // nothing pending: nothing happens
    EXPECT_TRUE(Doc().labels.empty());

    panel->BeginLabel(120, 45);
    EXPECT_TRUE(field->IsShown());
    EXPECT_TRUE(FindId<wxButton>(PropertiesPanel::kIdLabelOk)->IsShown());
    field->ChangeValue("   ");
    Send(field, wxEVT_TEXT_ENTER);
    EXPECT_TRUE(Doc().labels.empty());
    EXPECT_TRUE(field->IsShown());
    EXPECT_TRUE(panel->LabelPending());
    EXPECT_TRUE(Doc().undoStack.empty());

    field->ChangeValue("Harbour  ");
    Press(PropertiesPanel::kIdLabelOk);
    ASSERT_EQ(Doc().labels.size(), 1u);
    EXPECT_EQ(Doc().labels[0].text, "Harbour");
    EXPECT_EQ(Doc().labels[0].x, 120);
    EXPECT_EQ(Doc().labels[0].y, 45);
    EXPECT_FALSE(field->IsShown());
    EXPECT_EQ(field->GetValue(), "");
    EXPECT_FALSE(panel->LabelPending());
    EXPECT_TRUE(frame->IsModified());
}

TEST_F(PropertiesPanelTest, TallyListsPiecesDecksHelixCurvesAndAccessories) {
    panel->RefreshTally();
    EXPECT_TRUE(TallyRows().empty());

    Place("74636", 0, false);  // arch bridge, carries a 24360
    Place("24630", 0, false);  // three-way turnouts: two motors and one decoder each
    Place("24630", 0, false);
    Helix helix;
    helix.id = Doc().TakeId();
    helix.variant = "proses_2_5_r1r2";  // 2.5 turns: 30 curves of each radius
    Doc().helices.push_back(helix);
    Place("99999", 0, false);  // not in the catalog: listed by its number
    panel->RefreshTally();

    const std::vector<std::pair<wxString, wxString>> expected = {
        {Name("24130"), "30"}, {Name("24230"), "30"},        {Name("24360"), "1"},
        {Name("24630"), "2"},  {Name("74636"), "1"},         {"99999", "1"},
        {"We Recommend", ""},  {"74491 Turnout Motor", "4"}, {"74462 Decoder", "2"},
    };
    EXPECT_EQ(TallyRows(), expected);
    EXPECT_EQ(panel->LastTally().at("24130"), 30);
    auto* list = Find<wxListCtrl>("pieceCount");
    EXPECT_EQ(list->GetItemTextColour(6), wxColour(60, 60, 160));
    EXPECT_EQ(list->GetItemFont(6).GetWeight(), wxFONTWEIGHT_BOLD);

    // The frame refreshes the list when the layout changes.
    Doc().pieces.clear();
    frame->MarkModified();
    EXPECT_EQ(TallyRows(), (std::vector<std::pair<wxString, wxString>>{{Name("24130"), "30"},
                                                                       {Name("24230"), "30"}}));
}

TEST_F(PropertiesPanelTest, BuyTrackOpensTheCartOfABridge) {
    Place("74636", 0, false);
    ModalAnswerer answers(wxID_OK);
    Send(Find<wxButton>("buyTrack"), wxEVT_BUTTON);
    EXPECT_EQ(answers.Count(), 0);
    EXPECT_EQ(opened, std::vector<wxString>{Cart(Id("74636") + ":1")});
}

TEST_F(PropertiesPanelTest, BuyTrackAddsMotorSetsAndDecodersForThreeWayTurnouts) {
    Place("24630", 0, false);
    Place("24630", 0, false);
    panel->BuyTrack();
    EXPECT_EQ(opened, std::vector<wxString>{
                          Cart(Id("24630") + ":2," + Id("74492") + ":4," + Id("74462") + ":2")});
}

TEST_F(PropertiesPanelTest, BuyTrackWarnsOfTrixTurnoutsThenOpensTheAccessories) {
    Place("62611", 0, false);
    Place("62611", 0, false);
    Place("24188", 0, false);
    int openedWhenWarned = -1;
    ModalAnswerer answers([&](wxDialog*) {
        openedWhenWarned = static_cast<int>(opened.size());
        return wxID_OK;
    });
    panel->BuyTrack();
    ASSERT_EQ(answers.Count(), 1);
    EXPECT_EQ(answers.Dialogs()[0].title, "Some pieces not available");
    EXPECT_EQ(answers.Dialogs()[0].message,
              "The following pieces are not available in the store and will be skipped:\n"
              "  62611\n");
    EXPECT_EQ(openedWhenWarned, 0) << "the warning comes before the browser";
    EXPECT_EQ(opened, std::vector<wxString>{
                          Cart(Id("24188") + ":1," + Id("74492") + ":2," + Id("74462") + ":2")});
}

TEST_F(PropertiesPanelTest, BuyTrackOnAnEmptyLayoutOnlyExplains) {
    ModalAnswerer answers(wxID_OK);
    panel->BuyTrack();
    ASSERT_EQ(answers.Count(), 1);
    EXPECT_EQ(answers.Dialogs()[0].title, "Buy Track");
    EXPECT_EQ(answers.Dialogs()[0].message, "No purchasable track pieces found in your layout.");
    EXPECT_TRUE(opened.empty());
}

TEST_F(PropertiesPanelTest, HelpDialogNamesTheStoreAndClosesWithGotIt) {
    wxString title;
    wxString linkLabel;
    wxString linkUrl;
    bool hasGotIt = false;
    ModalAnswerer answers([&](wxDialog* dialog) {
        title = dialog->GetTitle();
        EXPECT_EQ(dialog->GetSize(), wxSize(480, 840));
        EXPECT_TRUE(dialog->HasFlag(wxSTAY_ON_TOP));
        for (wxWindow* child : dialog->GetChildren()) {
            if (auto* link = dynamic_cast<wxHyperlinkCtrl*>(child)) {
                linkLabel = link->GetLabel();
                linkUrl = link->GetURL();
            }
            if (auto* button = dynamic_cast<wxButton*>(child)) {
                hasGotIt = button->GetId() == wxID_OK && button->GetLabel() == "Got it!";
            }
        }
        return wxID_OK;
    });
    Send(Find<wxButton>("buyTrackHelp"), wxEVT_BUTTON);
    EXPECT_EQ(title, "Buy Track - How it works");
    EXPECT_EQ(linkLabel, wxString::FromUTF8(StoreTable::BuiltIn().host));
    EXPECT_EQ(linkUrl, wxString::FromUTF8(StoreTable::BuiltIn().HomePage()));
    EXPECT_TRUE(hasGotIt);
    EXPECT_EQ(Find<wxButton>("buyTrackHelp")->GetToolTipText(), "About Buy Track");
}

// The real opener: a browser that cannot be started is not reported (the test log turns any
// logged error into a failure). With a stub xdg-open first on PATH the address reaches it.
TEST(DefaultBrowserOpener, FailsQuietlyThenReachesTheSystemOpener) {
    TempDir bin;
    const std::string record = bin.File("opened.txt");
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    setenv("PATH", bin.Path().c_str(), 1);
    EXPECT_FALSE(PropertiesPanel::OpenInDefaultBrowser("https://store.invalid/cart/1:1"));

    {
        std::ofstream stub(bin.File("xdg-open"));
        stub << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record << "'\n";
    }
    std::filesystem::permissions(bin.File("xdg-open"), std::filesystem::perms::owner_all);
    const bool started = PropertiesPanel::OpenInDefaultBrowser("https://store.invalid/cart/2:3");
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(started) << "the stub xdg-open is first on PATH";
    PumpUntil([&] { return !ReadFileBytes(record).empty(); }, 5000);
    EXPECT_EQ(ReadFileBytes(record), "https://store.invalid/cart/2:3");
}

}  // namespace
