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

// One piece: its grade with the steep warning, its height typed in the display unit; the grade
// controls live only while one piece is shown.
TEST_F(PropertiesPanelTest, OnePieceShowsItsGradeAndTakesATypedHeight) {
    const auto gradeEnabled = [&] {
        return std::vector<bool>{Find<wxRadioButton>("gradeUp")->IsEnabled(),
                                 Find<wxRadioButton>("gradeDown")->IsEnabled(),
                                 Find<wxSpinCtrlDouble>("gradeSpin")->IsEnabled()};
    };
    const std::vector<bool> off{false, false, false}, on{true, true, true};
    Doc().units = 2;
    const uint32_t id = Place("24188");
    const uint32_t neighbour = Place("24188", false);
    Join(id, neighbour);
    Doc().FindPiece(id)->grade = -2.5;
    Doc().FindPiece(id)->elevation = 254;
    panel->RefreshSelection();
    EXPECT_EQ(panel->ShownPieceId(), id);
    EXPECT_EQ(gradeEnabled(), on);
    EXPECT_EQ(Text("gradeValue")->GetLabel(), "-2.50 deg (4.4%)");
    EXPECT_TRUE(Find<wxRadioButton>("gradeDown")->GetValue());
    EXPECT_DOUBLE_EQ(Find<wxSpinCtrlDouble>("gradeSpin")->GetValue(), 2.5);
    EXPECT_EQ(Text("heightLabel")->GetLabel(), "Height (in):");
    EXPECT_EQ(Height()->GetValue(), "10.000");
    EXPECT_NE(Text("gradeValue")->GetForegroundColour(), kWarningRed);
    Doc().FindPiece(id)->grade = 7.0;
    panel->RefreshSelection();
    EXPECT_EQ(Text("gradeWarning")->GetLabel(), "WARNING: Grade 7.0 deg exceeds 6 deg max!");
    EXPECT_EQ(Text("gradeValue")->GetForegroundColour(), kWarningRed);
    {
        // Enter in the field as it was filled in rewrote the height rounded to what it showed.
        SCOPED_TRACE("an untouched field and nonsense change nothing");
        TypeHeight("abc");
        EXPECT_EQ(Doc().FindPiece(id)->elevation, 254);
        Doc().FindPiece(id)->elevation = 25.4567;
        panel->RefreshSelection();
        TypeHeight(Height()->GetValue());
        EXPECT_EQ(Doc().FindPiece(id)->elevation, 25.4567);
        EXPECT_TRUE(Doc().undoStack.empty());
        EXPECT_FALSE(frame->IsModified());
    }
    SCOPED_TRACE("a typed height is one undoable edit of that piece alone");
    TypeHeight("2");
    EXPECT_NEAR(Doc().FindPiece(id)->elevation, 50.8, 1e-9);
    EXPECT_EQ(Doc().FindPiece(neighbour)->elevation, 0) << "nothing propagates";
    EXPECT_EQ(Doc().undoStack.size(), 1u);
    EXPECT_TRUE(frame->IsModified());
    EXPECT_EQ(Height()->GetValue(), "2.000");
    Doc().FindPiece(neighbour)->selected = true;
    panel->RefreshSelection();
    EXPECT_EQ(gradeEnabled(), off) << "several pieces";
}

// With several pieces selected the panel showed the newest one as if it were alone.
TEST_F(PropertiesPanelTest, SeveralSelectedPiecesSayHowManyAndShowWhatTheyShare) {
    const uint32_t a = Place("24188"), b = Place("24130"), c = Place("24224");
    for (uint32_t id : {a, b, c}) Doc().FindPiece(id)->elevation = 40;
    Doc().units = 1;
    panel->RefreshSelection();
    EXPECT_EQ(Text("header")->GetLabelText(), "3 pieces selected");
    const wxString info = Text("info")->GetLabelText();
    EXPECT_TRUE(info.Contains("Height: 4.00 cm")) << info;
    EXPECT_EQ(panel->ShownPieceId(), kNoId) << "no one piece is edited for all of them";
    EXPECT_FALSE(Height()->IsShown());
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

// The tally list shows the pieces and, under a bold heading, what the switches need; Buy Track
// opens the cart, says first what it skips, and offers the parts list when the store sells none
// of the pieces (Cancel saves nothing, "Save Parts List..." asks where and writes it).
TEST_F(PropertiesPanelTest, TallyListsThePiecesAndBuyTrackOpensTheCartOrExplainsFirst) {
    Place("24630", false);  // three-way turnouts: two motors and one decoder each
    Place("24630", false);
    frame->NotifyChanged(DocChange::Pieces);  // the frame recounts when pieces change
    frame->FlushChanges();
    // The rows are the tally's (PieceTally.RowsAndRecommendations); the list shows them.
    auto* list = Find<wxListCtrl>("pieceCount");
    ASSERT_EQ(list->GetItemCount(), 4);
    EXPECT_EQ(list->GetItemText(0, 1), "2");
    EXPECT_EQ(list->GetItemText(2, 0), "74491 Turnout Motor");
    EXPECT_EQ(list->GetItemText(1, 0), "We Recommend");
    EXPECT_EQ(list->GetItemFont(1).GetWeight(), wxFONTWEIGHT_BOLD);

    const std::string csv = home.File("parts.csv");
    int asked = 0;
    SetExportPathAsker([&](wxWindow*, const ExportQuestion& q) {
        ++asked;
        EXPECT_EQ(q.title, "Export Parts List");
        return ExportAnswer{wxString::FromUTF8(csv), 0};
    });
    const wxString noneSold =
        "None of the pieces your layout needs are available in the store:\n  62130\n"
        "  62188\n\nSave the parts list as a CSV file instead?";
    const struct {
        std::vector<const char*> placed;
        int answer;
        std::vector<wxString> opened;
        wxString title, message;  // the message box shown first, if any
    } cases[] = {
        {{"62611", "62611", "24188"},
         wxID_OK,
         {Cart({{"24188", 1}, {"74492", 2}, {"74462", 2}})},
         "Some pieces not available",
         "The following pieces are not available in the store and will be skipped:\n  62611\n"},
        {{"62188", "62130"}, wxID_NO, {}, "Buy Track", noneSold},
        {{"62188", "62130"}, wxID_YES, {}, "Buy Track", noneSold}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title + " " + std::to_string(c.answer));
        Doc().pieces.clear();
        opened.clear();
        for (const char* article : c.placed) Place(article, false);
        size_t openedWhenAsked = 99;
        wxString yesLabel;
        ModalAnswerer answers([&](wxDialog* dialog) {
            openedWhenAsked = opened.size();
            if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) yesLabel = box->GetYesLabel();
            return c.answer;
        });
        Send(Find<wxButton>("buyTrack"), wxEVT_BUTTON);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(asked, c.answer == wxID_YES ? 1 : 0);
        EXPECT_EQ(std::filesystem::exists(csv), c.answer == wxID_YES);
        ASSERT_EQ(answers.Count(), c.title.empty() ? 0 : 1);
        if (c.title.empty()) continue;
        EXPECT_EQ(answers.Dialogs()[0].title, c.title);
        EXPECT_EQ(answers.Dialogs()[0].message, c.message);
        EXPECT_EQ(openedWhenAsked, 0u) << "the message comes before the browser";
        if (c.answer != wxID_OK) {
            EXPECT_EQ(yesLabel, "Save Parts List...");
        }
    }
    SetExportPathAsker(nullptr);
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
