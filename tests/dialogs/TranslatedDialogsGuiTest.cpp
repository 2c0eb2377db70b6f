// The dialogs and the properties panel with a German catalog installed: titles, labels and
// column headings come from the catalog, and no label is cut off by the longer German texts.
#include <gtest/gtest.h>
#include <wx/choice.h>
#include <wx/dcclient.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/radiobox.h>
#include <wx/stattext.h>
#include <wx/translation.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "base/Translate.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/gui/LayoutShapeDialog.h"
#include "dialogs/gui/LevelManagerDialog.h"
#include "dialogs/gui/PrintOptionsDialog.h"
#include "panels/gui/PropertiesPanel.h"
#include "support/GuiTestSupport.h"

namespace {

// A few entries of the German catalog: window texts marked with _() and core texts marked with
// Tr, the way the program looks both up.
constexpr char kGermanPo[] = R"po(
msgid ""
msgstr ""
"Project-Id-Version: Quillmore tests\n"
"PO-Revision-Date: 2026-12-08 00:00+0000\n"
"Last-Translator: Quillmore developers\n"
"Language-Team: German\n"
"Language: de\n"
"MIME-Version: 1.0\n"
"Content-Type: text/plain; charset=UTF-8\n"
"Content-Transfer-Encoding: 8bit\n"
"Plural-Forms: nplurals=2; plural=(n != 1);\n"

msgid "Print Options"
msgstr "Druckoptionen"

msgid "Scaling"
msgstr "Skalierung"

msgid "Fit to page"
msgstr "An Seite anpassen"

msgid "Layout Baseboard"
msgstr "Grundplatte der Anlage"

msgid "Shape:"
msgstr "Form:"

msgid "Rectangle"
msgstr "Rechteck"

msgid "L-Shape"
msgstr "L-Form"

msgid "Full width  W1:"
msgstr "Gesamtbreite der Grundplatte  W1:"

msgid "Cutout depth  H2:"
msgstr "Tiefe des Ausschnitts unten rechts  H2:"

msgid "Manage Levels"
msgstr "Ebenen verwalten"

msgid "Level Name"
msgstr "Name der Ebene"

msgid "Track Color"
msgstr "Farbe der Gleise auf dieser Ebene"

msgid "No selection"
msgstr "Keine Auswahl"

msgid "Set Grade"
msgstr "Steigung festlegen"

msgid "Set height above baseboard.\nMax grade: 6 deg."
msgstr "Höhe der Gleise über der Grundplatte festlegen.\nHöchste erlaubte Steigung: 6 Grad."

msgid "Height (%s):"
msgstr "Höhe über der Grundplatte (%s):"
)po";

constexpr char kDomain[] = "quillmore-test";

std::string TranslateWithCatalog(const char* english) {
    return wxGetTranslation(wxString::FromUTF8(english)).utf8_string();
}

// Compiles the entries with msgfmt and installs them for both kinds of text while it lives.
class GermanCatalog {
public:
    GermanCatalog() {
        const std::string folder = dir.Path() + "/de/LC_MESSAGES";
        wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
        std::ofstream(folder + "/" + kDomain + ".po") << kGermanPo;
        const std::string command = "msgfmt --check -o '" + folder + "/" + kDomain + ".mo' '" +
                                    folder + "/" + kDomain + ".po'";
        compiled = std::system(command.c_str()) == 0;
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(dir.Path());
        auto* translations = new wxTranslations;
        translations->SetLanguage("de");
        loaded = compiled && translations->AddCatalog(kDomain);
        wxTranslations::Set(translations);
        SetTranslator(&TranslateWithCatalog);
    }
    ~GermanCatalog() {
        SetTranslator(nullptr);
        wxTranslations::Set(nullptr);
    }
    bool compiled = false;
    bool loaded = false;

private:
    TempDir dir;
};

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

class TranslatedDialogsGuiTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(german.compiled) << "msgfmt (gettext) is needed";
        ASSERT_TRUE(german.loaded);
        doc.EnsureDefaultLevel();
    }

    GermanCatalog german;
    LayoutDocument doc;
};

TEST_F(TranslatedDialogsGuiTest, PrintOptionsShowTheGermanTitleAndChoices) {
    PrintOptionsDialog dialog(nullptr, PrintOptions{});
    EXPECT_EQ(dialog.GetTitle(), wxString::FromUTF8("Druckoptionen"));
    const wxRadioBox* scaling = nullptr;
    for (wxWindow* child : dialog.GetChildren()) {
        auto* box = dynamic_cast<wxRadioBox*>(child);
        if (box && box->GetLabel() == "Skalierung") scaling = box;
    }
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(scaling->GetString(0), "An Seite anpassen");
    // Untranslated entries stay English.
    EXPECT_EQ(scaling->GetString(2), "Custom percentage");
}

TEST_F(TranslatedDialogsGuiTest, ShapeDialogLinesUpItsLongGermanLabels) {
    doc.lastShape = kShapeL;
    LayoutShapeDialog dialog(nullptr, {}, 0, doc);
    dialog.Show();
    PumpEvents();
    EXPECT_EQ(dialog.GetTitle(), "Grundplatte der Anlage");
    const wxChoice* shapes = dynamic_cast<wxChoice*>(dialog.FindWindow("shape"));
    ASSERT_NE(shapes, nullptr);
    EXPECT_EQ(shapes->GetString(kShapeRectangle), "Rechteck");
    EXPECT_EQ(shapes->GetString(kShapeL), "L-Form");
    ExpectNoLabelClipped(&dialog);

    // The size fields stand in one column behind the widest label.
    const wxWindow* first = dialog.FindWindow("field0");
    const wxWindow* last = dialog.FindWindow("field3");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(first->GetPosition().x, last->GetPosition().x);
    dialog.Hide();
}

TEST_F(TranslatedDialogsGuiTest, LevelManagerColumnsAreAsWideAsTheirGermanTitles) {
    LevelManagerDialog dialog(nullptr, doc);
    dialog.Show();
    PumpEvents();
    EXPECT_EQ(dialog.GetTitle(), "Ebenen verwalten");
    wxListCtrl* list = dialog.List();
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT);
    ASSERT_TRUE(list->GetColumn(2, column));
    EXPECT_EQ(column.GetText(), "Farbe der Gleise auf dieser Ebene");
    for (int i = 0; i < list->GetColumnCount(); ++i) {
        ASSERT_TRUE(list->GetColumn(i, column));
        EXPECT_GE(list->GetColumnWidth(i), list->GetTextExtent(column.GetText()).x)
            << column.GetText();
    }
    ExpectNoLabelClipped(&dialog);
    dialog.Hide();
}

TEST_F(TranslatedDialogsGuiTest, PropertiesPanelStartsInGerman) {
    wxFrame frame(nullptr, wxID_ANY, "properties", wxDefaultPosition, wxSize(320, 900));
    auto* panel = new PropertiesPanel(&frame, nullptr);
    frame.Show();
    PumpEvents();
    const auto* header = dynamic_cast<wxStaticText*>(panel->FindWindow("header"));
    const auto* height = dynamic_cast<wxStaticText*>(panel->FindWindow("heightLabel"));
    ASSERT_NE(header, nullptr);
    ASSERT_NE(height, nullptr);
    EXPECT_EQ(header->GetLabel(), "Keine Auswahl");
    EXPECT_EQ(height->GetLabel(), wxString::FromUTF8("Höhe über der Grundplatte (mm):"));
    ExpectNoLabelClipped(panel);
    frame.Hide();
}

}  // namespace
