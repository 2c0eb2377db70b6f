// The palette and the piece tally at the main window's default size, in English and German:
// every tab of the palette shows, the hint wraps, a track row offers its whole text, and the
// tally's columns are as wide as what they hold. With QUILLMORE_SHOTS naming a folder, the
// window is saved there as a picture in each language.
#include <gtest/gtest.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/stattext.h>

#include <algorithm>

#include "app/Language.h"
#include "app/gui/AppLanguage.h"
#include "base/gui/RowList.h"
#include "panels/gui/PalettePanel.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"

namespace {

class PaletteAtDefaultWidth : public testing::TestWithParam<const char*>, public FrameFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(UseLanguage(GetParam(), QUILLMORE_PROGRAM_DIR));
        OpenFrame();  // at its own default size
        frame->Show();
        frame->AfterStartup();
        PumpEvents(800);  // the palette widens for its tabs once it is on the screen
    }
    void TearDown() override {
        if (frame) frame->Hide();
        CloseFrame();
        UseLanguage(kSourceLanguage, QUILLMORE_PROGRAM_DIR);
    }
};

// Only Track and Library showed, Scenery hid behind an arrow; names, the hint and the tally's
// columns were cut off.
TEST_P(PaletteAtDefaultWidth, ShowsEveryTabAndWholeTexts) {
    PalettePanel* palette = frame->Palette();
    wxNotebook* book = palette->Notebook();
    // Each tab answers a click somewhere inside the notebook's width.
    for (size_t page = 0; page < book->GetPageCount(); ++page) {
        bool hit = false;
        for (int y = 1; y < 60 && !hit; y += 2)
            for (int x = 2; x < book->GetClientSize().x - 2 && !hit; x += 2)
                hit = book->HitTest(wxPoint(x, y)) == static_cast<int>(page);
        EXPECT_TRUE(hit) << GetParam() << ": tab " << book->GetPageText(page);
    }
    // The hint keeps within the palette, on as many lines as it needs.
    auto* hint = dynamic_cast<wxStaticText*>(palette->FindWindow("paletteHint"));
    ASSERT_TRUE(hint);
    EXPECT_LE(hint->GetRect().GetRight(), palette->GetClientSize().x) << hint->GetLabel();
    EXPECT_LE(hint->GetTextExtent(hint->GetLabel().BeforeFirst('\n')).x, hint->GetSize().x);

    // A track row wider than the list offers its whole text under the pointer.
    wxListBox* list = palette->TrackList();
    int wide = -1;
    for (unsigned row = 0; row < list->GetCount() && wide < 0; ++row)
        if (list->GetTextExtent(list->GetString(row)).x > list->GetClientSize().x - 8)
            wide = static_cast<int>(row);
    // When every row fits, a row's tooltip is not needed, but must not lie.
    if (wide < 0) wide = 1;
    list->SetFirstItem(wide);
    PumpEvents();
    wxMouseEvent motion(wxEVT_MOTION);
    motion.SetEventObject(list);
    for (int y = 1; y < list->GetClientSize().y && list->HitTest(wxPoint(8, y)) != wide; ++y)
        motion.SetPosition(wxPoint(8, y + 1));
    list->GetEventHandler()->ProcessEvent(motion);
    EXPECT_EQ(list->GetToolTipText(), list->GetString(wide));

    // With a layout, the tally's columns hold their titles and their cells, and all show.
    ASSERT_TRUE(frame->OpenLayoutPath(QUILLMORE_PROGRAM_DIR "/C-Track Oval Station.xml"));
    PumpEvents(100);
    auto* tally = dynamic_cast<RowList*>(frame->Properties()->FindWindow("pieceCount"));
    ASSERT_TRUE(tally);
    ASSERT_GT(tally->GetItemCount(), 3);
    for (int column = 0; column < tally->GetColumnCount(); ++column) {
        wxListItem title;
        title.SetMask(wxLIST_MASK_TEXT);
        tally->GetColumn(column, title);
        int widest = tally->GetTextExtent(title.GetText()).x;
        const wxFont bold = tally->GetFont().Bold();
        for (long row = 0; row < tally->GetItemCount(); ++row) {
            int w = 0, h = 0;
            tally->GetTextExtent(tally->Cell(row, column), &w, &h, nullptr, nullptr,
                                 tally->Rows()[row].bold ? &bold : nullptr);
            widest = std::max(widest, w);
        }
        if (column > 1) {  // Owned and To Buy: folded away without a box in My Track
            EXPECT_EQ(tally->GetColumnWidth(column), 0) << title.GetText();
            continue;
        }
        EXPECT_GE(tally->GetColumnWidth(column), widest + 8)
            << GetParam() << ": column " << title.GetText();
    }
    EXPECT_LE(tally->GetColumnWidth(0) + tally->GetColumnWidth(1), tally->GetClientSize().x)
        << GetParam() << ": the counts lie beyond the list's right edge";
    SaveShot(frame, std::string("palette-") + GetParam() + ".png");
}

INSTANTIATE_TEST_SUITE_P(Languages, PaletteAtDefaultWidth, testing::Values("en", "de"));

}  // namespace
