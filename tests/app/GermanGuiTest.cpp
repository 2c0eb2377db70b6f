// The main window started in German: menus, toolbar, status bar, dialogs and their titles and
// messages, the help window and the Language choice, with numbers that keep their decimal point
// and no label cut off by the longer German texts. With
// QUILLMORE_SHOTS naming a folder, the main window, the properties panel and the help window are
// also saved there as pictures.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/stattext.h>
#include <wx/toolbar.h>

#include <clocale>
#include <functional>
#include <set>

#include "app/CommandIds.h"
#include "app/gui/AppLanguage.h"
#include "app/gui/HelpDialog.h"
#include "app/gui/MainFrameDialogs.h"
#include "app/gui/SplashDialog.h"
#include "base/Format.h"
#include "base/gui/NumberSpinCtrl.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/FrameFixture.h"
#include "support/Screenshot.h"

namespace {

// The test's texts are UTF-8; the toolkit would read a plain char literal in the C locale.
wxString U(const std::string& text) { return wxString::FromUTF8(text); }

// The mnemonic letters of a menu's items, lower-cased, with the labels that use each.
void CheckMnemonics(const wxMenu& menu, const wxString& where) {
    std::map<wxString, wxString> used;
    for (const wxMenuItem* item : menu.GetMenuItems()) {
        if (item->IsSeparator()) continue;
        const wxString label = item->GetItemLabel().BeforeFirst('\t');
        const int at = label.Find('&');
        if (at != wxNOT_FOUND && at + 1 < static_cast<int>(label.length())) {
            const wxString key = label.Mid(at + 1, 1).Lower();
            EXPECT_EQ(used.count(key), 0u)
                << where << ": \"" << label << "\" and \"" << used[key] << "\" share Alt+" << key;
            used[key] = label;
        }
        if (item->GetSubMenu()) CheckMnemonics(*item->GetSubMenu(), where + " > " + label);
    }
}

void ForEachStaticText(wxWindow* window, const std::function<void(wxStaticText*)>& visit) {
    for (wxWindow* child : window->GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child)) visit(text);
        ForEachStaticText(child, visit);
    }
}

// Every shown label is as wide as its text and lies inside the window that holds it.
void ExpectNoLabelClipped(wxWindow* window) {
    int checked = 0;
    ForEachStaticText(window, [&](wxStaticText* text) {
        if (!text->IsShownOnScreen() || text->GetLabel().empty()) return;
        wxClientDC dc(text);
        dc.SetFont(text->GetFont());
        wxCoord w = 0, h = 0;
        dc.GetMultiLineTextExtent(text->GetLabel(), &w, &h);
        EXPECT_GE(text->GetSize().x, w) << text->GetLabel();
        EXPECT_LE(text->GetRect().GetRight(), text->GetParent()->GetClientSize().x)
            << text->GetLabel();
        ++checked;
    });
    EXPECT_GT(checked, 0);
}

class German : public FrameTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(UseLanguage("de", QUILLMORE_PROGRAM_DIR))
            << "no catalog in " << QUILLMORE_PROGRAM_DIR << "/locale";
        OpenFrame(wxSize(1200, 800));
        frame->SetProgramFolder(layouts.Path());
        frame->AfterStartup();
        PumpEvents();
    }
    void TearDown() override {
        if (frame) frame->Hide();  // off the screen at once: the next test's pictures show its own
        CloseFrame();
        UseLanguage(kSourceLanguage, QUILLMORE_PROGRAM_DIR);
    }

    TempDir layouts;
};

TEST_F(German, MenusToolbarAndStatusBarSpeakGerman) {
    wxMenuBar* bar = frame->GetMenuBar();
    // The shortcut keys survive the translation.
    EXPECT_EQ(bar->FindItem(wxID_SAVE)->GetItemLabel(), "&Speichern\tCtrl+S");
    EXPECT_EQ(frame->GetToolBar()->FindById(kCmdLevels)->GetLabel(), "Ebenen");
    // The pointer is the X server's, shared by every test program: one left resting on a tool
    // puts the tool's help into the first field, so it is moved off the window first.
    const wxPoint away =
        frame->ScreenToClient(wxPoint(wxGetDisplaySize().x - 2, wxGetDisplaySize().y - 2));
    frame->WarpPointer(away.x, away.y);
    EXPECT_TRUE(PumpUntil([&] { return frame->GetStatusBar()->GetStatusText(0) == "Bereit"; }))
        << frame->GetStatusBar()->GetStatusText(0);
    EXPECT_EQ(frame->GetStatusBar()->GetStatusText(1), U("Gleisstücke: 0"));
    // The piece count's field is wide enough for a four-digit German count.
    const int field = frame->GetStatusBar()->GetStatusWidth(1);
    EXPECT_GE(field, frame->GetStatusBar()->GetTextExtent(U("Gleisstücke: 0000")).x);
    // Every menu keeps its Alt letters apart, the menu bar too.
    std::set<wxString> top;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
        const wxString label = bar->GetMenuLabel(i);
        EXPECT_TRUE(top.insert(label.Mid(label.Find('&') + 1, 1).Lower()).second) << label;
        CheckMnemonics(*bar->GetMenu(i), wxStripMenuCodes(label));
    }
    // The properties panel, nothing chosen yet.
    PropertiesPanel* panel = frame->Properties();
    const auto* height = dynamic_cast<wxStaticText*>(panel->FindWindow("heightLabel"));
    ASSERT_TRUE(height);
    EXPECT_EQ(height->GetLabel(), U("Höhe (mm):"));
    ExpectNoLabelClipped(panel);
    SaveShot(frame, "main-window-empty.png");
}

TEST_F(German, MessagesAndTheLanguageChoiceWhichTakesEffectAtTheNextStart) {
    ModalAnswerer answer(wxID_OK);
    const std::string missing = layouts.File("fehlt.xml");
    frame->OpenLayoutPath(missing);
    ASSERT_EQ(answer.Count(), 1);
    // The file reader's error, from the core, in German too.
    EXPECT_EQ(answer.Dialogs()[0].title, U("Öffnen fehlgeschlagen"));
    EXPECT_EQ(answer.Dialogs()[0].message, U("Die Datei kann nicht geöffnet werden: " + missing));
    StoreLanguageChoice(LanguageChoice::System);
    Command(kCmdLanguageEnglish);
    ASSERT_EQ(answer.Count(), 2);
    EXPECT_EQ(answer.Dialogs()[1].title, "Sprache");
    EXPECT_EQ(answer.Dialogs()[1].message,
              U("Quillmore verwendet die neue Sprache ab dem nächsten Start."));
    EXPECT_EQ(StoredLanguageChoice(), LanguageChoice::English);
    // Still German until then; choosing the stored language again says nothing.
    EXPECT_EQ(frame->GetMenuBar()->GetMenuLabel(0), "&Datei");
    Command(kCmdLanguageEnglish);
    EXPECT_EQ(answer.Count(), 2);
    // A new main window shows the stored choice.
    frame->Destroy();
    frame = new MainFrame();
    canvas = frame->Canvas();
    EXPECT_TRUE(frame->GetMenuBar()->FindItem(kCmdLanguageEnglish)->IsChecked());
    EXPECT_FALSE(frame->GetMenuBar()->FindItem(kCmdLanguageSystem)->IsChecked());
    StoreLanguageChoice(LanguageChoice::System);
}

TEST_F(German, HelpWindowInGerman) {
    HelpDialog help(frame, nullptr, MenuShortcuts(*frame->GetMenuBar()));
    EXPECT_EQ(help.GetTitle(), U("Quillmore v1.3 – Hilfe"));
    const std::vector<wxString> lines = help.ShortcutLines();
    // The menus show the Delete key as "Entf", the help said "Löschen".
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const wxString& l) {
        return l.StartsWith("Entf ") && l.EndsWith(U("Bearbeiten > Löschen"));
    })) << "keys named as the menus do";
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const wxString& l) { return l.StartsWith("Strg+Umschalt+O "); }));
    help.SetSize(1100, 760);
    help.Show();
    SaveShot(&help, "help-window.png");
    help.Hide();
}

TEST_F(German, ButtonsAreWideEnoughForTheirLabels) {
    SplashDialog splash(frame, nullptr);
    EXPECT_EQ(splash.DoneButton()->GetLabel(), "  Genug gestaunt  ");
    EXPECT_GE(splash.DoneButton()->GetMinSize().x, splash.DoneButton()->GetBestSize().x);
    EXPECT_GE(splash.DoneButton()->GetMinSize().x, 280);

    // The properties panel's last row: "Gleise kaufen" in its large bold type, beside
    // "Mein Gleisbestand..." and "?", each wide enough to show its whole label.
    for (const char* name : {"buyTrack", "myTrack", "buyTrackHelp"}) {
        auto* button = dynamic_cast<wxButton*>(wxWindow::FindWindowByName(name, frame));
        ASSERT_TRUE(button) << name;
        wxString label = button->GetLabel();
        label.Trim(true).Trim(false);
        EXPECT_GE(button->GetClientSize().x, button->GetTextExtent(label).x + 2) << label;
    }
}

// The file keeps the point; the window showed "188.3 mm" in German.
TEST_F(German, NumbersKeepTheirDecimalPoint) {
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    EXPECT_EQ(Format("%.2f", 1.25), "1.25");
    EXPECT_EQ(wxString::Format("%.1f", 2.5), "2.5");
    LayPiece(Doc(), 12.5);
    const std::string path = layouts.File("Punkt.xml");
    frame->SetSavePathAsker([&](wxWindow*, const wxString&, const wxString&) { return path; });
    ModalAnswerer answer(wxID_OK);  // the layout name: the one offered
    ASSERT_TRUE(frame->SaveLayoutFile(true));
    const std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes.find("x=\"12.5000\""), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("12,5"), std::string::npos);
    frame->Document().pieces.back().selected = true;
    frame->NotifyChanged(DocChange::Selection);
    PumpEvents();
    auto* info = dynamic_cast<wxStaticText*>(frame->Properties()->FindWindow("info"));
    auto* header = dynamic_cast<wxStaticText*>(frame->Properties()->FindWindow("header"));
    ASSERT_TRUE(info && header);
    EXPECT_TRUE(info->GetLabel().Contains("188,3 mm")) << info->GetLabel();
    EXPECT_TRUE(header->GetLabel().Contains("24188 - 188,3mm")) << header->GetLabel();
    SaveShot(frame, "main-window.png");
    SaveShot(frame->Properties(), "properties-panel.png");
}

// The toolkit's own calls for what typing, leaving a field and its up arrow do: the test
// drives the field without depending on where the keyboard focus is.
template <typename Fn>
Fn Toolkit(const char* name) {
    return reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
}

// Number fields show the decimal comma and take either mark as typed; text that is no number
// keeps the value. The arrows step from the value, not from the text.
TEST_F(German, NumberFieldsWriteAndReadTheDecimalComma) {
    const auto setText = Toolkit<void (*)(void*, const char*)>("gtk_entry_set_text");
    const auto update = Toolkit<void (*)(void*)>("gtk_spin_button_update");
    const auto spinUp = Toolkit<void (*)(void*, int, double)>("gtk_spin_button_spin");
    ASSERT_TRUE(setText && update && spinUp);
    auto* spin = new NumberSpinCtrl(frame, wxID_ANY, wxEmptyString, wxDefaultPosition,
                                    wxDefaultSize, wxSP_ARROW_KEYS, 0, 100, 12.5, 0.25);
    spin->SetDigits(2);
    PumpEvents();
    EXPECT_EQ(spin->GetTextValue().utf8_string(), "12,50");
    setText(spin->GetHandle(), "8,5");
    EXPECT_EQ(spin->GetTextValue().utf8_string(), "8,5") << "the comma can be typed";
    EXPECT_DOUBLE_EQ(spin->GetValue(), 8.5);
    update(spin->GetHandle());  // leaving the field
    EXPECT_EQ(spin->GetTextValue().utf8_string(), "8,50");
    EXPECT_EQ(spin->GetTextValue().utf8_string(), "8,50");
    spinUp(spin->GetHandle(), 0, 0);  // one step forward
    EXPECT_EQ(spin->GetTextValue().utf8_string(), "8,75");
    EXPECT_DOUBLE_EQ(spin->GetValue(), 8.75);
    spin->Destroy();
}

// The print options, the baseboard shape and the level manager: German titles and choices, the
// longer labels whole and lined up, the columns as wide as their titles.
TEST_F(German, DialogsShowTheirGermanTextsWhole) {
    {
        PrintOptionsDialog dialog(frame, PrintOptions{});
        EXPECT_EQ(dialog.GetTitle(), "Druckoptionen");
    }
    {
        frame->Document().lastShape = kShapeL;
        LayoutShapeDialog dialog(frame, {}, 0, frame->Document());
        dialog.Show();
        PumpEvents();
        EXPECT_EQ(dialog.GetTitle(), "Grundplatte der Anlage");
        ExpectNoLabelClipped(&dialog);
        // The size fields stand in one column behind the widest label.
        const wxWindow* first = dialog.FindWindow("field0");
        const wxWindow* last = dialog.FindWindow("field3");
        ASSERT_TRUE(first && last);
        EXPECT_EQ(first->GetPosition().x, last->GetPosition().x);
        dialog.Hide();
    }
    LevelManagerDialog dialog(frame, frame->Document());
    dialog.Show();
    PumpEvents();
    EXPECT_EQ(dialog.GetTitle(), "Ebenen verwalten");
    wxListCtrl* list = dialog.List();
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT);
    for (int i = 0; i < list->GetColumnCount(); ++i) {
        ASSERT_TRUE(list->GetColumn(i, column));
        EXPECT_GE(list->GetColumnWidth(i), list->GetTextExtent(column.GetText()).x)
            << column.GetText();
    }
    ExpectNoLabelClipped(&dialog);
    dialog.Hide();
}

}  // namespace
