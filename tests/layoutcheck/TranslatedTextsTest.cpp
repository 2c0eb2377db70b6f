// The check's, the gap closer's and the trains' texts in another language: the translator the
// window program installs is asked for the English format, and the numbers are filled in after,
// still with a decimal point.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "base/Translate.h"
#include "gapclose/GapText.h"
#include "layoutcheck/FindingsReport.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/TrackBuilder.h"
#include "trackgeometry/Units.h"
#include "trains/TrainSession.h"

namespace {

// A small German catalog; any other text stays English, as it would with a catalog that lacks
// it. Each key is asked for exactly as the program passes it, so a text filled in before it was
// looked up would not be found and would stay English.
const std::map<std::string, std::string>& Catalog() {
    static const std::map<std::string, std::string> catalog{
        {"Open end of %s %s", "Offenes Gleisende von %s %s"},
        {"at %s, %s", "bei %s, %s"},
        {"Gap of %.1f mm at %.1f\u00b0 between %s and %s: the loop does not close",
         "L\u00fccke von %.1f mm bei %.1f\u00b0 zwischen %s und %s: Der Gleiskreis schlie\u00dft "
         "sich nicht"},
        {"Open end", "Offenes Gleisende"},
        {"Near miss", "Knapp verfehlter Anschluss"},
        {"Error", "Fehler"},
        {"Warning", "Warnung"},
        {"Layout Check - %zu findings", "Anlagenpr\u00fcfung \u2013 %zu Befunde"},
        {"Layout: %s", "Anlage: %s"},
        {"1 error", "1 Fehler"},
        {"%d warnings", "%d Warnungen"},
        {"1 piece", "1 Gleisst\u00fcck"},
        {"%d pieces", "%d Gleisst\u00fccke"},
        {"No chain of up to %s closes the gap.",
         "Keine Gleisfolge (h\u00f6chstens %s) schlie\u00dft die L\u00fccke."},
        {" The nearest found, of %s, misses by %.1f mm and %.1f\u00b0.",
         " Die n\u00e4chstbeste (%s) verfehlt um %.1f mm und %.1f\u00b0."},
        {"Train %u", "Zug %u"},
        {"%s stopped: %s", "%s hat angehalten: %s"},
        {"buffer stop", "Prellbock"},
        {"express: electric locomotive and coaches", "Schnellzug: E-Lok und Reisezugwagen"},
    };
    return catalog;
}

std::string German(const char* english) {
    const auto it = Catalog().find(english);
    return it == Catalog().end() ? std::string(english) : it->second;
}

// Installs the German catalog for one test and restores English however the test ends.
class TranslatedTexts : public ::testing::Test {
protected:
    void SetUp() override { SetTranslator(&German); }
    void TearDown() override { SetTranslator(nullptr); }
};

TEST_F(TranslatedTexts, CheckFindingsNestPlacesAndKeepDecimalPoints) {
    LayoutDocument doc;
    doc.units = kUnitsCm;
    TrackBuilder track(doc);
    const uint32_t a = track.Place("24188");
    // 2.5 mm on and turned 4.5 degrees: a near miss whose numbers have decimals.
    track.Place("24188", 188.3 + 2.5, 0, 4.5);
    const std::vector<LayoutFinding> findings = CheckLayout(doc);
    ASSERT_EQ(findings.size(), 5u);
    EXPECT_EQ(findings[0].kind, FindingKind::NearMiss);
    EXPECT_EQ(findings[0].text,
              "L\u00fccke von 2.5 mm bei 4.5\u00b0 zwischen 24188 und 24188: Der Gleiskreis "
              "schlie\u00dft sich nicht");
    // The open end at the origin: the place, itself a translated format, inside the sentence.
    const auto origin = std::find_if(findings.begin(), findings.end(), [&](const LayoutFinding& f) {
        return f.kind == FindingKind::OpenEnd && f.pieces == std::vector<uint32_t>{a};
    });
    ASSERT_NE(origin, findings.end());
    EXPECT_EQ(origin->text, "Offenes Gleisende von 24188 bei 0.0 cm, 0.0 cm");
    EXPECT_EQ(FindingKindName(FindingKind::NearMiss), "Knapp verfehlter Anschluss");

    const std::string report = FindingsReportText(findings, "Bahnhof", 0);
    EXPECT_EQ(report.substr(0, report.find("\n\n")),
              "Anlagenpr\u00fcfung \u2013 5 Befunde\nAnlage: Bahnhof\n1 Fehler, 4 Warnungen");
    EXPECT_NE(report.find("\nFehler: L\u00fccke von 2.5 mm"), std::string::npos) << report;
    EXPECT_NE(report.find("\nWarnung: Offenes Gleisende von 24188 bei 0.0 cm"), std::string::npos);
}

// The gap closer's message when nothing closes the gap: the nearest chain, or the reason as it is.
TEST_F(TranslatedTexts, GapCloserCountsPiecesInTheReadersLanguageOrGivesTheReason) {
    GapSearchResult r;
    r.searchedPieces = 8;
    r.nearest = {true, 6, 2.43, 0.61};
    EXPECT_EQ(GapNoSolutionText(r, GapOptions()),
              "Keine Gleisfolge (h\u00f6chstens 8 Gleisst\u00fccke) schlie\u00dft die L\u00fccke. "
              "Die n\u00e4chstbeste (6 Gleisst\u00fccke) verfehlt um 2.4 mm und 0.6\u00b0.");
    r.error = "The ends lie at different heights (0.0 mm and 40.0 mm).";
    EXPECT_EQ(GapNoSolutionText(r, GapOptions()), r.error);
}

TEST_F(TranslatedTexts, TrainsAreNamedAndStopInTheReadersLanguage) {
    LayoutDocument doc;
    TrackBuilder track(doc);
    const std::vector<uint32_t> ids = track.Line("24188", 6);
    track.Attach("24977", ids.back(), 1);  // a buffer stop
    TrainSession session;
    session.SetNetwork(BuildTrackGraph(doc));
    const TrainPreset& preset = *TrainPresetsFor(87).front();
    EXPECT_EQ(TrainPresetLabel(preset), "H0 Schnellzug: E-Lok und Reisezugwagen");
    EXPECT_EQ(preset.name, "H0 express: electric locomotive and coaches")
        << "the key stays English";
    uint32_t id = 0;
    ASSERT_EQ(session.AddTrain(preset, 1, {ids[0], 0}, 0.0, &id), "");
    EXPECT_EQ(session.Find(id)->name, "Zug " + std::to_string(id));
    session.SetRunning(id, true);
    std::vector<std::string> messages;
    for (int frame = 0; frame < 600 && messages.empty(); ++frame) messages = session.Run(1.0 / 30);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Zug " + std::to_string(id) + " hat angehalten: Prellbock");
}

}  // namespace
