// The texts of the canvas, panels and dialogs in another language: what a reader sees goes through
// the installed translator, numbers keep their decimal point, and keys and file contents stay
// English.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "base/Translate.h"
#include "canvas/Snapping.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "dialogs/LayoutShape.h"
#include "dialogs/LevelEdit.h"
#include "dialogs/PlanExport.h"
#include "panels/BuyTrack.h"
#include "panels/PaletteLogic.h"
#include "panels/PaletteTables.h"
#include "panels/PieceTally.h"
#include "panels/PropertiesLogic.h"
#include "support/DocBuilders.h"

namespace {

// A few German texts, as the window program's catalog would give them; anything else English.
std::string German(const char* english) {
    static const std::map<std::string, std::string> kTexts = {
        {"Height (%s):", "H\u00f6he (%s):"},
        {"%d piece", "%d Gleisst\u00fcck"},
        {"%d pieces", "%d Gleisst\u00fccke"},
        {"%d scenery item", "%d Landschaftselement"},
        {"%s and %s selected", "%s und %s ausgew\u00e4hlt"},
        {"%s selected", "%s ausgew\u00e4hlt"},
        {"%s%.2f deg (%.1f%%)", "%s%.2f Grad (%.1f %%)"},
        {"Straights", "Gerade Gleise"},
        {"Helix", "Gleiswendel"},
        {"Semaphore", "Formsignale"},
        {"Marklin K-Track", "M\u00e4rklin K-Gleis"},
        {"Marklin C-Track", "M\u00e4rklin C-Gleis"},
        {"%s cannot connect to %s.\n\nThese track systems are not compatible.\n"
         "Use adapter track 24922 to connect C-Track to K-Track.",
         "%s l\u00e4sst sich nicht mit %s verbinden."},
        {"We Recommend", "Wir empfehlen"},
        {"74491 Turnout Motor", "74491 Weichenantrieb"},
        {"Buy Track", "Gleise kaufen"},
        {"No purchasable track pieces found in your layout.", "Nichts zu kaufen."},
        {"Rectangle", "Rechteck"},
        {"Skipped lines %s, which are not two numbers separated by a comma. The outline was made "
         "from the other lines.",
         "Zeilen %s \u00fcbersprungen."},
        {"%s and %d", "%s und %d"},
        {"%d \u00d7 %d pixels", "%d \u00d7 %d Pixel"},
        {"Remove level \"%s\"?\n\nThis will PERMANENTLY DELETE everything on this level:\n    "
         "\u2022 %d track piece(s)\n    \u2022 %d scenery item(s)\n    \u2022 %d "
         "helix/helices\n\nThis cannot be undone from this dialog. Are you sure?",
         "Ebene \u201e%s\u201c mit %d Gleisst\u00fccken, %d Landschaftselementen und %d "
         "Gleiswendeln entfernen?"},
    };
    const auto it = kTexts.find(english);
    return it == kTexts.end() ? english : it->second;
}

class TranslatedTexts : public testing::Test {
protected:
    void SetUp() override {
        doc.EnsureDefaultLevel();
        SetTranslator(&German);
    }
    void TearDown() override { SetTranslator(nullptr); }

    uint32_t Put(const char* article, double x, double y) {
        const uint32_t id = LayPiece(doc, x, y, 1, article);
        doc.FindPiece(id)->selected = true;
        return id;
    }

    LayoutDocument doc;
};

TEST_F(TranslatedTexts, PropertiesPanelShowsGermanLabelsWithDecimalPoints) {
    doc.units = 1;  // centimetres
    const uint32_t id = Put("24188", 0, 0);
    doc.FindPiece(id)->grade = 2.5;
    const SelectionView one = BuildSelectionView(doc);
    EXPECT_EQ(one.heightLabel, "H\u00f6he (cm):");
    EXPECT_EQ(one.gradeText, "+2.50 Grad (4.4 %)");

    Put("24188", 400, 0);
    doc.scenery.push_back(SceneryItem{.id = doc.TakeId(),
                                      .item = SceneryCatalog::Instance().At(0)->id,
                                      .selected = true,
                                      .level = 1});
    const SelectionView several = BuildSelectionView(doc);
    EXPECT_EQ(several.header, "2 Gleisst\u00fccke und 1 Landschaftselement ausgew\u00e4hlt");
    // The untranslated texts between stay English, still filled in.
    EXPECT_NE(several.info.find("Grade: mixed"), std::string::npos) << several.info;

    doc.scenery.clear();
    doc.pieces.pop_back();
    EXPECT_EQ(BuildSeveralView(doc, {id}, 0).header, "1 Gleisst\u00fcck ausgew\u00e4hlt");
    // The empty default, built with no document, is English-keyed but translated too.
    EXPECT_EQ(SelectionView{}.heightLabel, "H\u00f6he (mm):");
}

TEST_F(TranslatedTexts, PaletteHeadingsAreTranslatedButRowsStayGroupedByEnglishKeys) {
    // How often a heading stands in a list.
    const auto headings = [](const std::vector<PaletteRow>& rows, const char* text) {
        int n = 0;
        for (const PaletteRow& row : rows)
            n += row.text == kPaletteHeaderPrefix + std::string(text);
        return n;
    };
    const std::vector<PaletteRow> track = BuildTrackRows(0);
    ASSERT_FALSE(track.empty());
    EXPECT_EQ(track.front().text, std::string(kPaletteHeaderPrefix) + "Gerade Gleise");
    EXPECT_TRUE(track.front().key.empty());
    EXPECT_EQ(headings(track, "Gleiswendel"), 1);
    // Every signal kind still gets exactly one heading.
    EXPECT_EQ(headings(BuildSignalRows(0), "Formsignale"), 1);
    EXPECT_EQ(SignalKind("semaphore_home"), "Semaphore");

    // The library folder is found by the English name, whatever the choice shows.
    EXPECT_EQ(PaletteSystemName(1), "Marklin K-Track");
    EXPECT_EQ(LibraryFolderName(PaletteSystemName(1)), "Marklin_K-Track");
    EXPECT_EQ(Tr(PaletteSystemName(1).c_str()), "M\u00e4rklin K-Gleis");
}

TEST_F(TranslatedTexts, MessagesNameTheSystemsInGermanWhileFilesKeepEnglish) {
    EXPECT_EQ(IncompatibleSystemsText(TrackSystem::MarklinK, TrackSystem::MarklinC),
              "M\u00e4rklin K-Gleis l\u00e4sst sich nicht mit M\u00e4rklin C-Gleis verbinden.");
    EXPECT_EQ(TrackSystemLongName(TrackSystem::MarklinK), "Marklin K-Track");

    // The parts list file and the tally's accessory rows.
    Put("24611", 0, 0);  // a turnout: one motor recommended
    const std::string csv = PartsListCsv(doc);
    EXPECT_EQ(csv.rfind("Article,Name,System,Count\r\n", 0), 0u);
    EXPECT_NE(csv.find(",Marklin C-Track,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("74491,Turnout Motor,,1\r\n"), std::string::npos) << csv;
    const PieceTally tally = RefreshTally(doc);
    const auto heading = std::find_if(tally.rows.begin(), tally.rows.end(),
                                      [](const TallyRow& row) { return row.isHeading; });
    ASSERT_NE(heading, tally.rows.end());
    EXPECT_EQ(heading->text, "Wir empfehlen");
    EXPECT_EQ((heading + 1)->text, "74491 Weichenantrieb");
}

TEST_F(TranslatedTexts, BuyTrackShapeAndLevelTextsAreTranslatedAndEnglishWithout) {
    const BuyTrackPlan nothing = PlanBuyTrack(doc, StoreTable::BuiltIn());
    ASSERT_TRUE(nothing.message.has_value());
    EXPECT_EQ(nothing.message->caption, "Gleise kaufen");
    EXPECT_EQ(nothing.message->text, "Nichts zu kaufen.");

    EXPECT_EQ(Tr(ShapeInfoFor(kShapeRectangle).choice), "Rechteck");
    EXPECT_EQ(SkippedLinesNote({2, 5, 9}), "Zeilen 2, 5 und 9 \u00fcbersprungen.");

    EXPECT_EQ(RemoveLevelQuestion("Keller", LevelContents{.pieces = 3, .scenery = 1, .helices = 0}),
              "Ebene \u201eKeller\u201c mit 3 Gleisst\u00fccken, 1 Landschaftselementen und 0 "
              "Gleiswendeln entfernen?");

    EXPECT_EQ(PictureSizeText(PictureFrame{.width = 1200, .height = 800}), "1200 \u00d7 800 Pixel");

    SetTranslator(nullptr);  // without a translator every text is the English one
    EXPECT_EQ(SelectionView{}.header, "No selection");
    EXPECT_EQ(SkippedLinesNote({4}),
              "Skipped line 4, which is not two numbers separated by a comma. The outline was "
              "made from the other lines.");
}

}  // namespace
