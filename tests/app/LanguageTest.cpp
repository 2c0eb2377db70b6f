// The language rules without a window, and the core's texts through an installed translator:
// the title, the status count, the help and the file errors follow it, the English stays put.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/FrameLogic.h"
#include "app/HelpText.h"
#include "app/Language.h"
#include "base/Translate.h"
#include "model/LayoutDocument.h"
#include "persistence/FileNames.h"
#include "persistence/LayoutFile.h"

namespace {

TEST(LanguageChoice, KeptAsKeysThatReadBack) {
    for (LanguageChoice c :
         {LanguageChoice::System, LanguageChoice::English, LanguageChoice::German})
        EXPECT_EQ(LanguageChoiceFromKey(LanguageChoiceKey(c)), c);
    EXPECT_STREQ(LanguageChoiceKey(LanguageChoice::German), "de");
    // A file from a later version or edited by hand follows the system.
    EXPECT_EQ(LanguageChoiceFromKey("fr"), LanguageChoice::System);
    EXPECT_EQ(LanguageChoiceFromKey(""), LanguageChoice::System);
}

TEST(SystemLanguageCode, ReadsTheEnvironmentAsGettextDoes) {
    const struct {
        const char *lcAll, *lcMessages, *lang, *language;
        std::string expected;
    } cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", nullptr, "de"},
        {nullptr, nullptr, "de_AT@euro", nullptr, "de"},
        {nullptr, nullptr, "en_GB.UTF-8", nullptr, "en"},
        {"C", nullptr, "de_DE.UTF-8", nullptr, ""},   // LC_ALL wins
        {"", nullptr, "de_DE.UTF-8", nullptr, "de"},  // empty counts as unset
        {nullptr, "de_CH.UTF-8", "en_US.UTF-8", nullptr, "de"},
        {nullptr, nullptr, "en_US.UTF-8", "de:en", "de"},  // LANGUAGE's first entry
        {nullptr, nullptr, "C.UTF-8", "de", ""},           // ... but not under the C locale
        {nullptr, nullptr, "POSIX", nullptr, ""},
        {nullptr, nullptr, nullptr, "de", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.lang ? c.lang : "-") + " / " + (c.language ? c.language : "-"));
        EXPECT_EQ(SystemLanguageCode(c.lcAll, c.lcMessages, c.lang, c.language), c.expected);
    }
}

TEST(ResolveLanguage, ChoiceWinsOverTheSystem) {
    EXPECT_EQ(ResolveLanguage(LanguageChoice::System, "de"), "de");
    EXPECT_EQ(ResolveLanguage(LanguageChoice::System, "fr"), "en");  // no French catalog
    EXPECT_EQ(ResolveLanguage(LanguageChoice::System, ""), "en");
    EXPECT_EQ(ResolveLanguage(LanguageChoice::English, "de"), "en");
    EXPECT_EQ(ResolveLanguage(LanguageChoice::German, ""), "de");
}

TEST(CatalogFolders, BuildFolderFirstThenInstalledShare) {
    EXPECT_EQ(CatalogFolders("/opt/q/bin"),
              (std::vector<std::string>{"/opt/q/bin/locale", "/opt/q/share/locale"}));
    EXPECT_EQ(MessageLocales("en"), std::vector<std::string>{"C"});
    ASSERT_FALSE(MessageLocales("de").empty());
    EXPECT_EQ(MessageLocales("de").front(), "de_DE.UTF-8");
}

// A stand-in catalog: a few German texts, everything else unchanged.
std::string FakeGerman(const char* english) {
    static const std::map<std::string, std::string> texts = {
        {"Quillmore v1.3 by Bramblewick", "Quillmore v1.3 von Bramblewick"},
        {"Pieces: %zu", "Gleisstücke: %zu"},
        {"Keyboard Shortcuts", "Tastenkürzel"},
        {"Getting Started", "Erste Schritte"},
        {"Backspace", "Rücktaste"},
        {"Delete selected (as Del)", "Auswahl löschen"},
        {"Line %d: %s", "Zeile %d: %s"},
        {"%s in <%s> is not a number", "%s in <%s> ist keine Zahl"},
        {"The name is empty.", "Der Name ist leer."},
    };
    const auto it = texts.find(english);
    return it == texts.end() ? english : it->second;
}

class Translated : public testing::Test {
protected:
    void SetUp() override { SetTranslator(FakeGerman); }
    void TearDown() override { SetTranslator(nullptr); }
};

TEST_F(Translated, TitleAndPieceCountFollowTheCatalog) {
    EXPECT_EQ(FrameTitle("Bahnhof", "", true), "Quillmore v1.3 von Bramblewick - Bahnhof *");
    LayoutDocument doc;
    doc.pieces.resize(3);
    EXPECT_EQ(PieceCountText(doc), "Gleisstücke: 3");
    SetTranslator(nullptr);
    EXPECT_EQ(FrameTitle("Bahnhof", "", true), "Quillmore v1.3 by Bramblewick - Bahnhof *");
    EXPECT_EQ(PieceCountText(doc), "Pieces: 3");
}

TEST_F(Translated, HelpSectionsAndShortcutsFollowTheCatalog) {
    const std::vector<HelpSection> sections = HelpSections({{"Ctrl+S", "File > Speichern"}});
    ASSERT_GE(sections.size(), 3u);
    EXPECT_EQ(sections[1].heading, "Erste Schritte");
    const HelpSection& keys = sections.back();
    EXPECT_EQ(keys.heading, "Tastenkürzel");
    EXPECT_EQ(keys.paragraphs.front(), ShortcutLine({"Ctrl+S", "File > Speichern"}));
    // The canvas keys in the catalog's words, the column counted in characters.
    EXPECT_EQ(keys.paragraphs.back(), "Rücktaste" + std::string(11, ' ') + "Auswahl löschen");
    // The table itself keeps English, for the help window to translate as it shows it.
    EXPECT_EQ(CanvasShortcuts().back().keys, "Backspace");
}

TEST(ShortcutLine, PadsToTwentyCharactersOrTwoBlanks) {
    EXPECT_EQ(ShortcutLine({"Ctrl+S", "Save"}), "Ctrl+S" + std::string(14, ' ') + "Save");
    EXPECT_EQ(ShortcutLine({"Strg+Umschalt+Ö", "x"}),
              "Strg+Umschalt+Ö" + std::string(5, ' ') + "x");
    const std::string longKeys = "Alt+Umschalt+Rechtsklick";
    EXPECT_EQ(ShortcutLine({longKeys, "x"}), longKeys + "  x");
}

TEST_F(Translated, FileErrorsFollowTheCatalog) {
    LayoutDocument doc;
    const std::string text =
        "<layout name=\"T\">\n  <pieces>\n"
        "    <piece id=\"1\" cat=\"24188\" x=\"abc\" y=\"0\" heading=\"0\" z=\"0\" grade=\"0\" "
        "level=\"1\" sel=\"0\">\n    </piece>\n  </pieces>\n</layout>\n";
    const std::string german = LoadLayoutFromText(doc, text, nullptr);
    EXPECT_EQ(german, "Zeile 3: x in <piece> ist keine Zahl");
    EXPECT_EQ(CheckLayoutName(""), "Der Name ist leer.");
    SetTranslator(nullptr);
    EXPECT_EQ(LoadLayoutFromText(doc, text, nullptr), "Line 3: x in <piece> is not a number");
}

}  // namespace
