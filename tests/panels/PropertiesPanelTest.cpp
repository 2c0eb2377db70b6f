// The properties panel inside the real main window: views, edits, the tally list and Buy Track.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listctrl.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/gui/MainFrameDialogs.h"
#include "catalog/TrackCatalog.h"
#include "panels/StoreTable.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"

namespace {

const wxColour kWarningRed(200, 40, 40);

class PropertiesPanelTest : public FrameTest {
protected:
    void SetUp() override {
        OpenFrame();
        panel = frame->Properties();
        panel->SetBrowserOpener([this](const wxString& url) {
            opened.push_back(url);
            return true;
        });
    }
    uint32_t Place(const std::string& article, bool selected = true) {
        const uint32_t id = LayPiece(Doc(), 0, 0, 1, article.c_str());
        Doc().FindPiece(id)->selected = selected;
        Doc().FindPiece(id)->joints.resize(2);
        return id;
    }
    void Join(uint32_t a, uint32_t b) {
        Doc().FindPiece(a)->joints[1] = Joint{b, 0};
        Doc().FindPiece(b)->joints[0] = Joint{a, 1};
    }
    template <typename T>
    T* Find(const wxString& name) {
        auto* window = dynamic_cast<T*>(panel->FindWindow(name));
        EXPECT_NE(window, nullptr) << name;
        return window;
    }
    wxStaticText* Text(const wxString& name) { return Find<wxStaticText>(name); }
    wxTextCtrl* Height() {
        return dynamic_cast<wxTextCtrl*>(panel->FindWindow(PropertiesPanel::kIdHeight));
    }
    // Sends a command event as the control itself would, then runs the frame's update as the
    // next turn of the event loop would.
    void Send(wxWindow* control, wxEventType type) {
        wxCommandEvent event(type, control->GetId());
        event.SetEventObject(control);
        control->GetEventHandler()->ProcessEvent(event);
        frame->FlushChanges();
    }
    void Press(int id) { Send(panel->FindWindow(id), wxEVT_BUTTON); }
    void TypeHeight(const wxString& text) {
        Height()->ChangeValue(text);
        Send(Height(), wxEVT_TEXT_ENTER);
    }
    static wxString Cart(std::initializer_list<std::pair<const char*, int>> items) {
        std::string text;
        for (const auto& [article, n] : items)
            text += (text.empty() ? "" : ",") + *StoreTable::BuiltIn().FindVariantId(article) +
                    ":" + std::to_string(n);
        return wxString::FromUTF8(StoreTable::BuiltIn().CartAddress() + text);
    }

    PropertiesPanel* panel = nullptr;
    std::vector<wxString> opened;
};

TEST_F(PropertiesPanelTest, GradeShowsDirectionAngleAndTheSteepWarningInRed) {
    const uint32_t id = Place("24188");
    Doc().FindPiece(id)->grade = -2.5;
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownPieceId(), id);
    EXPECT_EQ(Text("gradeValue")->GetLabel(), "-2.50 deg (4.4%)");
    EXPECT_TRUE(Find<wxRadioButton>("gradeDown")->GetValue());
    EXPECT_FALSE(Find<wxRadioButton>("gradeUp")->GetValue());
    EXPECT_DOUBLE_EQ(Find<wxSpinCtrlDouble>("gradeSpin")->GetValue(), 2.5);

    Doc().FindPiece(id)->grade = 7.0;
    panel->RefreshSelection();
    EXPECT_EQ(Text("gradeWarning")->GetLabel(), "WARNING: Grade 7.0 deg exceeds 6 deg max!");
    EXPECT_EQ(Text("gradeValue")->GetForegroundColour(), kWarningRed);
    Doc().FindPiece(id)->grade = 6.0;
    panel->RefreshSelection();
    EXPECT_EQ(Text("gradeWarning")->GetLabel(), "");
    EXPECT_NE(Text("gradeValue")->GetForegroundColour(), kWarningRed);
}

TEST_F(PropertiesPanelTest, HeightIsShownAndTypedInInchesAndNonsenseChangesNothing) {
    Doc().units = 2;
    const uint32_t id = Place("24188");
    const uint32_t neighbour = Place("24188", false);
    Join(id, neighbour);
    Doc().FindPiece(id)->elevation = 254;
    panel->RefreshSelection();
    EXPECT_EQ(Text("heightLabel")->GetLabel(), "Height (in):");
    EXPECT_EQ(Height()->GetValue(), "10.000");

    TypeHeight("abc");
    EXPECT_EQ(Doc().FindPiece(id)->elevation, 254);
    EXPECT_TRUE(Doc().undoStack.empty());
    EXPECT_FALSE(frame->IsModified());

    TypeHeight("2");
    EXPECT_NEAR(Doc().FindPiece(id)->elevation, 50.8, 1e-9);
    EXPECT_EQ(Doc().FindPiece(neighbour)->elevation, 0) << "nothing propagates";
    EXPECT_EQ(Doc().undoStack.size(), 1u);
    EXPECT_TRUE(frame->IsModified());
    EXPECT_EQ(Height()->GetValue(), "2.000");
}

// Enter in the height field as it was filled in rewrote the height rounded to what it showed.
TEST_F(PropertiesPanelTest, UntouchedHeightFieldKeepsTheStoredHeightInAllThreeUnits) {
    const uint32_t id = Place("24188");
    for (int units : {0, 1, 2}) {
        Doc().units = units;
        Doc().FindPiece(id)->elevation = 25.4567;
        panel->RefreshSelection();
        TypeHeight(Height()->GetValue());
        EXPECT_EQ(Doc().FindPiece(id)->elevation, 25.4567) << units;
    }
    EXPECT_TRUE(Doc().undoStack.empty());
    EXPECT_FALSE(frame->IsModified());
}

// With several pieces selected the panel showed the newest one as if it were alone.
TEST_F(PropertiesPanelTest, SeveralSelectedPiecesSayHowManyAndShowWhatTheyShare) {
    const uint32_t a = Place("24188"), b = Place("24130"), c = Place("24224");
    for (uint32_t id : {a, b, c}) Doc().FindPiece(id)->elevation = 40;
    Doc().units = 1;
    panel->RefreshSelection();
    EXPECT_EQ(Text("header")->GetLabelText(), "3 pieces selected");
    const wxString info = Text("info")->GetLabelText();
    EXPECT_TRUE(info.Contains(wxString::FromUTF8("System: M\u00e4rklin C"))) << info;
    EXPECT_TRUE(info.Contains("Height: 4.00 cm")) << info;
    EXPECT_TRUE(info.Contains("Grade: flat")) << info;
    EXPECT_TRUE(info.Contains("Level: Level 1")) << info;
    EXPECT_EQ(panel->ShownPieceId(), kNoId) << "no one piece is edited for all of them";
    EXPECT_FALSE(Height()->IsShown());

    Doc().FindPiece(b)->elevation = 55;
    Doc().FindPiece(c)->grade = 2;
    panel->RefreshSelection();
    EXPECT_TRUE(Text("info")->GetLabelText().Contains("Height: mixed"));
    EXPECT_TRUE(Text("info")->GetLabelText().Contains("Grade: mixed"));

    Doc().FindPiece(c)->selected = false;
    SceneryItem tree;
    tree.id = Doc().TakeId();
    tree.item = "tree_conifer";
    tree.selected = true;
    Doc().scenery.push_back(tree);
    panel->RefreshSelection();
    EXPECT_EQ(Text("header")->GetLabelText(), "2 pieces and 1 scenery item selected");
}

// The UP/DOWN buttons and the angle stayed live with nothing selected to act on.
TEST_F(PropertiesPanelTest, GradeControlsAreDisabledUnlessOnePieceIsShown) {
    const auto enabled = [&] {
        return std::vector<bool>{Find<wxRadioButton>("gradeUp")->IsEnabled(),
                                 Find<wxRadioButton>("gradeDown")->IsEnabled(),
                                 Find<wxSpinCtrlDouble>("gradeSpin")->IsEnabled()};
    };
    panel->RefreshSelection();
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    const uint32_t id = Place("24188");
    panel->RefreshSelection();
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
    Place("24188");
    panel->RefreshSelection();
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false})) << "several pieces";
    Doc().ClearSelection();
    panel->RefreshSelection();
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false}));
    EXPECT_NE(Doc().FindPiece(id), nullptr);
}

TEST_F(PropertiesPanelTest, StraightRunAndItsFallBack) {
    const uint32_t a = Place("24188"), b = Place("24172"), c = Place("24188");
    Join(a, b);
    Join(b, c);
    panel->RefreshSelection();
    EXPECT_EQ(Text("header")->GetLabel(), "24188 + 24172 + 24188");
    EXPECT_EQ(Text("info")->GetLabel(), "3 pieces  |  548.3 mm");  // 188.3 + 171.7 + 188.3
    EXPECT_EQ(panel->ShownPieceId(), kNoId);
    EXPECT_FALSE(Height()->IsShown());

    // One piece turned across the others: no run, so the count of the selection instead.
    Doc().FindPiece(b)->heading = 90;
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownPieceId(), kNoId);
    EXPECT_EQ(Text("header")->GetLabel(), "3 pieces selected");
}

TEST_F(PropertiesPanelTest, ApplyColoursAndClearsTheSelectionAndBlankLabelsAddNothing) {
    const uint32_t a = Place("24188");
    panel->RefreshSelection();
    dynamic_cast<wxChoice*>(panel->FindWindow(PropertiesPanel::kIdColour))->SetSelection(5);
    Press(PropertiesPanel::kIdApply);
    EXPECT_EQ(Doc().FindPiece(a)->colour, (Rgb{60, 100, 200}));
    EXPECT_FALSE(Doc().HasSelection());
    EXPECT_EQ(Text("header")->GetLabel(), "No selection");
    EXPECT_TRUE(frame->IsModified());

    auto* field = dynamic_cast<wxTextCtrl*>(panel->FindWindow(PropertiesPanel::kIdLabelText));
    panel->BeginLabel(120, 45);
    field->ChangeValue("   ");
    Send(field, wxEVT_TEXT_ENTER);
    EXPECT_TRUE(Doc().labels.empty());
    EXPECT_TRUE(panel->LabelPending());
    EXPECT_EQ(Doc().undoStack.size(), 1u);
    field->ChangeValue("Harbour  ");
    Press(PropertiesPanel::kIdLabelOk);
    EXPECT_EQ(Doc().labels,
              (std::vector<Label>{Label{Doc().labels.at(0).id, "Harbour", 120, 45, false}}));
    EXPECT_FALSE(field->IsShown());
    EXPECT_FALSE(panel->LabelPending());
}

TEST_F(PropertiesPanelTest, TallyListsPiecesDecksHelixCurvesAndAccessories) {
    Place("74636", false);  // arch bridge, carries a 24360
    Place("24630", false);  // three-way turnouts: two motors and one decoder each
    Place("24630", false);
    Helix helix;
    helix.id = Doc().TakeId();
    helix.variant = "proses_2_5_r1r2";  // 2.5 turns: 30 curves of each radius
    Doc().helices.push_back(helix);
    Place("99999", false);                    // not in the catalog: listed by its number
    frame->NotifyChanged(DocChange::Pieces);  // the frame recounts when pieces change
    frame->FlushChanges();

    const auto name = [](const char* article) {
        return wxString::FromUTF8(TrackCatalog::Instance().Find(article)->name);
    };
    const std::vector<std::pair<wxString, wxString>> expected = {
        {name("24130"), "30"}, {name("24230"), "30"},        {name("24360"), "1"},
        {name("24630"), "2"},  {name("74636"), "1"},         {"99999", "1"},
        {"We Recommend", ""},  {"74491 Turnout Motor", "4"}, {"74462 Decoder", "2"}};
    auto* list = Find<wxListCtrl>("pieceCount");
    std::vector<std::pair<wxString, wxString>> rows;
    for (long i = 0; i < list->GetItemCount(); ++i)
        rows.emplace_back(list->GetItemText(i, 0), list->GetItemText(i, 1));
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(list->GetItemFont(6).GetWeight(), wxFONTWEIGHT_BOLD);
}

TEST_F(PropertiesPanelTest, BuyTrackOpensTheCartOrExplainsFirst) {
    const struct {
        std::vector<std::pair<const char*, int>> placed;
        std::vector<wxString> opened;
        wxString title, message;  // the message box shown first, if any
    } cases[] = {
        {{{"74636", 1}}, {Cart({{"74636", 1}})}, "", ""},
        {{{"24630", 2}}, {Cart({{"24630", 2}, {"74492", 4}, {"74462", 2}})}, "", ""},
        {{{"62611", 2}, {"24188", 1}},
         {Cart({{"24188", 1}, {"74492", 2}, {"74462", 2}})},
         "Some pieces not available",
         "The following pieces are not available in the store and will be skipped:\n  62611\n"},
        {{}, {}, "Buy Track", "No purchasable track pieces found in your layout."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        Doc().pieces.clear();
        opened.clear();
        for (const auto& [article, n] : c.placed)
            for (int i = 0; i < n; ++i) Place(article, false);
        size_t openedWhenAsked = 99;
        ModalAnswerer answers([&](wxDialog*) {
            openedWhenAsked = opened.size();
            return wxID_OK;
        });
        Send(Find<wxButton>("buyTrack"), wxEVT_BUTTON);
        EXPECT_EQ(opened, c.opened);
        ASSERT_EQ(answers.Count(), c.title.empty() ? 0 : 1);
        if (c.title.empty()) continue;
        EXPECT_EQ(answers.Dialogs()[0].title, c.title);
        EXPECT_EQ(answers.Dialogs()[0].message, c.message);
        EXPECT_EQ(openedWhenAsked, 0u) << "the message comes before the browser";
    }
}

// Buy Track on a layout of pieces the store does not sell said "No purchasable track pieces
// found", as if the layout were empty. It names them and offers the parts list instead: Cancel
// saves nothing, "Save Parts List..." asks where and writes it.
TEST_F(PropertiesPanelTest, BuyTrackOffersThePartsListWhenTheStoreSellsNoneOfThePieces) {
    Place("62188", false);
    Place("62130", false);
    frame->NotifyChanged(DocChange::Pieces);
    frame->FlushChanges();
    const std::string csv = home.File("parts.csv");
    int asked = 0;
    SetExportPathAsker([&](wxWindow*, const ExportQuestion& q) {
        ++asked;
        EXPECT_EQ(q.title, "Export Parts List");
        return ExportAnswer{wxString::FromUTF8(csv), 0};
    });
    for (const int answer : {wxID_NO, wxID_YES}) {
        wxString yesLabel;
        ModalAnswerer answers([&](wxDialog* dialog) {
            if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) yesLabel = box->GetYesLabel();
            return answer;
        });
        Send(Find<wxButton>("buyTrack"), wxEVT_BUTTON);
        ASSERT_EQ(answers.Count(), 1);
        EXPECT_EQ(answers.Dialogs()[0].title, "Buy Track");
        EXPECT_EQ(answers.Dialogs()[0].message,
                  "None of the pieces your layout needs are available in the store:\n  62130\n"
                  "  62188\n\nSave the parts list as a CSV file instead?");
        EXPECT_EQ(yesLabel, "Save Parts List...");
        EXPECT_EQ(asked, answer == wxID_YES ? 1 : 0);
        EXPECT_EQ(std::filesystem::exists(csv), answer == wxID_YES);
    }
    SetExportPathAsker(nullptr);
    EXPECT_TRUE(opened.empty()) << "no store page for a cart with nothing in it";
    EXPECT_NE(ReadFileBytes(csv).find("62188"), std::string::npos);
}

// The real opener: a browser that cannot be started is not reported (the test log turns any
// logged error into a failure). With a stub xdg-open first on PATH the address reaches it.
TEST(DefaultBrowserOpener, FailsQuietlyThenReachesTheSystemOpener) {
    TempDir bin;
    const std::string record = bin.File("opened.txt");
    const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", bin.Path().c_str(), 1);
    EXPECT_FALSE(PropertiesPanel::OpenInDefaultBrowser("https://store.invalid/cart/1:1"));
    std::ofstream(bin.File("xdg-open")) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record << "'\n";
    std::filesystem::permissions(bin.File("xdg-open"), std::filesystem::perms::owner_all);
    const bool started = PropertiesPanel::OpenInDefaultBrowser("https://store.invalid/cart/2:3");
    setenv("PATH", savedPath.c_str(), 1);
    ASSERT_TRUE(started) << "the stub xdg-open is first on PATH";
    PumpUntil([&] { return !ReadFileBytes(record).empty(); }, 5000);
    EXPECT_EQ(ReadFileBytes(record), "https://store.invalid/cart/2:3");
}

}  // namespace
