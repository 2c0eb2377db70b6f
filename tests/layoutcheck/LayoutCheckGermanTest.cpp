// The layout check window in German: the window's own labels through the toolkit's catalog, the
// findings through the core's translator, and a severity column wide enough for the longer
// words.
#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/stattext.h>
#include <wx/translation.h>

#include <cstdint>
#include <map>
#include <string>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "base/Translate.h"
#include "layoutcheck/gui/LayoutCheckWindow.h"
#include "support/GuiTestSupport.h"
#include "tests/canvas/SampleLayouts.h"

namespace {

// The few texts this test reads, in German.
const std::map<std::string, std::string> kGerman{
    {"Layout Check - %zu findings", "Anlagenpr\u00fcfung \u2013 %zu Befunde"},
    {"Severity", "Schweregrad"},
    {"Finding", "Befund"},
    {"Error", "Fehler"},
    {"Warning", "Warnung"},
    {"Ignore", "Ignorieren"},
    {"Show Ignored", "Ignorierte wieder zeigen"},
    {"Save Report...", "Bericht speichern..."},
    {"Straight between curves", "Gerade zwischen Gegenb\u00f6gen"},
    {"Open end of %s %s", "Offenes Gleisende von %s %s"},
    {"at %s, %s", "bei %s, %s"},
};

// A message catalog in the .mo format msgfmt writes: header, the two string tables, then the
// strings, each followed by a NUL. The empty key carries the charset.
std::string MoFile(const std::map<std::string, std::string>& texts) {
    std::map<std::string, std::string> all = texts;
    all[""] =
        "Content-Type: text/plain; charset=UTF-8\nPlural-Forms: nplurals=2; plural=(n != 1);\n";
    const uint32_t n = static_cast<uint32_t>(all.size());
    const uint32_t originals = 28, translations = originals + 8 * n, strings = translations + 8 * n;
    std::string head, pool;
    auto word = [](std::string& out, uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    for (uint32_t v : {0x950412deu, 0u, n, originals, translations, 0u, strings}) word(head, v);
    std::string keyTable, valueTable;
    for (const auto& [key, value] : all) {
        word(keyTable, static_cast<uint32_t>(key.size()));
        word(keyTable, strings + static_cast<uint32_t>(pool.size()));
        pool += key + '\0';
    }
    for (const auto& [key, value] : all) {
        word(valueTable, static_cast<uint32_t>(value.size()));
        word(valueTable, strings + static_cast<uint32_t>(pool.size()));
        pool += value + '\0';
    }
    return head + keyTable + valueTable + pool;
}

class MemoryLoader : public wxTranslationsLoader {
public:
    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& lang) override {
        if (lang != "de") return nullptr;
        const std::string mo = MoFile(kGerman);
        return wxMsgCatalog::CreateFromData(
            wxScopedCharBuffer::CreateNonOwned(mo.data(), mo.size()), domain);
    }
    wxArrayString GetAvailableTranslations(const wxString&) const override {
        wxArrayString langs;
        langs.Add("de");
        return langs;
    }
};

// The core's texts looked up in the same catalog, as the window program does it.
std::string FromCatalog(const char* english) {
    return wxGetTranslation(wxString::FromUTF8(english)).utf8_string();
}

class LayoutCheckGermanTest : public testing::Test {
protected:
    void SetUp() override {
        auto* translations = new wxTranslations;
        translations->SetLoader(new MemoryLoader);
        translations->SetLanguage("de");
        ASSERT_TRUE(translations->AddCatalog("quillmore"));
        wxTranslations::Set(translations);
        SetTranslator(&FromCatalog);
        frame = new MainFrame();
        frame->Show();
        // One straight: two open ends, warnings both.
        AppendJoined(frame->Document(), "24188", kNoId, 0, 100, 100, 0);
        frame->NotifyChanged(DocChange::Pieces);
        PumpEvents();
    }
    void TearDown() override {
        if (frame) frame->Destroy();
        PumpEvents();
        SetTranslator(nullptr);
        wxTranslations::Set(nullptr);
    }

    MainFrame* frame = nullptr;
};

TEST_F(LayoutCheckGermanTest, ShowsItsLabelsAndFindingsInGermanUnclipped) {
    wxCommandEvent open(wxEVT_MENU, kCmdCheckLayout);
    open.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(open);
    LayoutCheckWindow* window = frame->CheckWindow();
    ASSERT_TRUE(window);
    PumpEvents();

    EXPECT_EQ(window->GetTitle(), wxString::FromUTF8("Anlagenpr\u00fcfung \u2013 2 Befunde"));
    auto* ignore = dynamic_cast<wxButton*>(wxWindow::FindWindowByName("ignore", window));
    ASSERT_TRUE(ignore);
    EXPECT_EQ(ignore->GetLabel(), "Ignorieren");
    // The option's caption keeps its unit after the translated words.
    bool captionFound = false;
    for (wxWindow* child : window->GetChildren()) {
        if (auto* text = dynamic_cast<wxStaticText*>(child))
            captionFound =
                captionFound ||
                text->GetLabel() == wxString::FromUTF8("Gerade zwischen Gegenb\u00f6gen (mm):");
    }
    EXPECT_TRUE(captionFound);

    wxListCtrl* list = nullptr;
    for (wxWindow* child : window->GetChildren())
        if (auto* l = dynamic_cast<wxListCtrl*>(child)) list = l;
    ASSERT_TRUE(list);
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_TEXT);
    ASSERT_TRUE(list->GetColumn(0, heading));
    EXPECT_EQ(heading.GetText(), "Schweregrad");
    // The heading and the cell margins fit (the English column was a fixed 90 pixels).
    EXPECT_GE(list->GetColumnWidth(0), list->GetTextExtent("Schweregrad").x + 16);
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(0, 0), "Warnung");
    EXPECT_TRUE(list->GetItemText(0, 1).StartsWith("Offenes Gleisende von 24188 bei "))
        << list->GetItemText(0, 1);

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
