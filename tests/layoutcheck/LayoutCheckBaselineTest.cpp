// The kinds of finding that came before the track-walking ones must keep their results: the
// findings of the sample layouts and of seeded random layouts are compared with a baseline that
// the check wrote before the newer kinds existed. Set QUILLMORE_WRITE_CHECK_BASELINE=1 to write
// the baseline afresh (only ever from a check whose older kinds are known good).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "SampleLayouts.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/GradeRuns.h"
#include "model/TrackBuilder.h"
#include "resources/samples/SampleLayoutBuilder.h"

namespace {

std::string BaselinePath() {
    return std::string(QUILLMORE_SOURCE_DIR) + "/tests/layoutcheck/data/older_kinds_baseline.txt";
}

// A layout grown at random: pieces of every system attached to random open ends, some of them
// graded or raised, and loose pieces dropped over the others so that tracks meet.
LayoutDocument RandomLayout(uint32_t seed, int count) {
    static const char* const kArticles[] = {
        "24188", "24130", "24230", "24612", "24611", "24630", "24672", "24640", "24624",
        "24977", "24094", "74636", "62188", "62130", "62611", "62977", "62224", "8500",
        "8520",  "2200",  "2221",  "24107", "24912", "62612", "24224", "24172"};
    constexpr uint32_t kArticleCount = sizeof kArticles / sizeof kArticles[0];
    std::mt19937 rng(seed);
    LayoutDocument doc;
    TrackBuilder track(doc);
    std::vector<uint32_t> ids;
    for (int n = 0; n < count; ++n) {
        const char* article = kArticles[rng() % kArticleCount];
        if (!TrackCatalog::Instance().Find(article)) continue;
        const uint32_t pick = rng() % 8;
        uint32_t id = kNoId;
        if (pick != 0 && !ids.empty()) {
            const uint32_t target = ids[rng() % ids.size()];
            const PlacedPiece& t = track[target];
            std::vector<int> open;
            for (size_t c = 0; c < t.joints.size(); ++c)
                if (t.joints[c].IsOpen()) open.push_back(static_cast<int>(c));
            if (!open.empty()) id = track.Attach(article, target, open[rng() % open.size()]);
        }
        if (id == kNoId) {
            id = track.Place(article, static_cast<double>(rng() % 3000),
                             static_cast<double>(rng() % 3000), 15.0 * (rng() % 24),
                             static_cast<double>(rng() % 4) * 30);
        }
        if (rng() % 6 == 0) track[id].grade = static_cast<double>(rng() % 9) - 4;
        ids.push_back(id);
    }
    return doc;
}

struct NamedLayout {
    std::string name;
    LayoutDocument doc;
};

std::vector<NamedLayout> Layouts() {
    std::vector<NamedLayout> out;
    for (SampleLayout& s : BuildSampleLayouts()) out.push_back({s.name, std::move(s.doc)});
    out.push_back({"showcase", SampleShowcase()});
    out.push_back({"mixed", SampleMixed(800)});
    out.push_back({"joined", SampleJoinedTrack(600)});
    for (uint32_t seed : {1u, 2u, 3u, 4u, 5u, 6u})
        out.push_back({"random " + std::to_string(seed), RandomLayout(seed, 400)});
    return out;
}

bool IsOlderKind(FindingKind kind) {
    return static_cast<int32_t>(kind) <= static_cast<int32_t>(FindingKind::UnknownArticle);
}

// One line per finding of the older kinds. Open ends once named their connector and now give
// their place instead, so their text is left out; their place is still compared.
std::string Describe(const std::string& layout, const std::vector<LayoutFinding>& findings) {
    std::ostringstream out;
    for (const LayoutFinding& f : findings) {
        if (!IsOlderKind(f.kind)) continue;
        char where[64];
        std::snprintf(where, sizeof where, "%.3f %.3f", f.x, f.y);
        out << layout << " | " << static_cast<int32_t>(f.kind) << ' '
            << static_cast<int32_t>(f.severity) << " |";
        for (uint32_t id : f.pieces) out << ' ' << id;
        out << " | " << where << " | " << (f.kind == FindingKind::OpenEnd ? "" : f.text) << '\n';
    }
    return out.str();
}

TEST(LayoutCheckBaseline, OlderKindsFindWhatTheyFoundBeforeOnSamplesAndRandomLayouts) {
    std::string now;
    size_t lines = 0;
    for (const NamedLayout& l : Layouts()) {
        // Every newer kind switched on, so that none of them can take findings from the others.
        CheckOptions options;
        options.minStraightMm = 300;
        options.minRadiusMm = 500;
        options.longestTrainMm = 1000;
        const std::string part = Describe(l.name, CheckLayout(l.doc, options));
        EXPECT_EQ(part, Describe(l.name, CheckLayout(l.doc))) << l.name;
        now += part;
    }
    for (char c : now) lines += c == '\n';
    if (std::getenv("QUILLMORE_WRITE_CHECK_BASELINE")) {
        std::ofstream(BaselinePath(), std::ios::binary) << now;
        GTEST_SKIP() << "baseline written";
    }
    std::ifstream in(BaselinePath(), std::ios::binary);
    ASSERT_TRUE(in) << BaselinePath();
    std::ostringstream before;
    before << in.rdbuf();
    // Random layouts that find nothing would prove nothing.
    EXPECT_GT(lines, 200u);
    EXPECT_EQ(before.str(), now);  // shown line by line where they differ
}

}  // namespace
