// The layout check window in German, with the catalog the build compiled: the window's own labels
// through the toolkit's catalog, the findings through the core's translator, and a severity
// column wide enough for the longer words.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listctrl.h>

#include "app/CommandIds.h"
#include "app/gui/AppLanguage.h"
#include "layoutcheck/gui/LayoutCheckWindow.h"
#include "support/FrameFixture.h"
#include "tests/canvas/SampleLayouts.h"

namespace {

class LayoutCheckGermanTest : public FrameTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(UseLanguage("de", QUILLMORE_PROGRAM_DIR))
            << "no catalog in " << QUILLMORE_PROGRAM_DIR << "/locale";
        OpenFrame();
        frame->Show();
        // One straight: two open ends, warnings both.
        AppendJoined(frame->Document(), "24188", kNoId, 0, 100, 100, 0);
        frame->NotifyChanged(DocChange::Pieces);
        PumpEvents();
    }
    void TearDown() override {
        CloseFrame();
        UseLanguage(kSourceLanguage, QUILLMORE_PROGRAM_DIR);
    }
};

TEST_F(LayoutCheckGermanTest, ShowsItsLabelsAndFindingsInGermanUnclipped) {
    Command(kCmdCheckLayout);
    LayoutCheckWindow* window = frame->CheckWindow();
    ASSERT_TRUE(window);
    PumpEvents();

    EXPECT_EQ(window->GetTitle(), wxString::FromUTF8("Anlagenpr\u00fcfung \u2013 2 Befunde"));

    wxListCtrl* list = window->List();
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_TEXT);
    ASSERT_TRUE(list->GetColumn(0, heading));
    EXPECT_EQ(heading.GetText(), "Schweregrad");
    // The heading and the cell margins fit (the English column was a fixed 90 pixels).
    EXPECT_GE(list->GetColumnWidth(0), list->GetTextExtent("Schweregrad").x + 16);
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0, 0), "Warnung");

    // Every button lies wholly inside the window: the window grew with its German labels.
    const wxSize client = window->GetClientSize();
    for (wxWindow* child : window->GetChildren()) {
        if (!dynamic_cast<wxButton*>(child)) continue;
        const wxRect r = child->GetRect();
        EXPECT_LE(r.GetRight(), client.x) << child->GetLabel();
        EXPECT_GE(r.width, child->GetBestSize().x) << child->GetLabel();
    }
}

}  // namespace
