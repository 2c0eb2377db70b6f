// The bytes of a saved layout against a writer of the file's form built here from the C library's
// own formatting: thousands of seeded pieces in the document's shared piece list, and the
// numbers the fast number writer turns out against the C library's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "persistence/FileFields.h"
#include "persistence/LayoutFile.h"
#include "persistence/RandomLayout.h"

namespace {

std::string Fixed4(double v) {
    if (!std::isfinite(v)) v = 0;
    v = std::clamp(v, -kMaxFileMagnitude, kMaxFileMagnitude);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    return buffer;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

std::string Int(uint32_t v) { return std::to_string(static_cast<int32_t>(v)); }

// The piece list as the layout file fixes it, written without any of the program's writer.
std::string ReferencePieces(const std::vector<PlacedPiece>& pieces) {
    std::string out = "  <pieces>\n";
    for (const PlacedPiece& p : pieces) {
        out += "    <piece id=\"" + Int(p.id) + "\" cat=\"" + Escaped(p.article) + "\" x=\"" +
               Fixed4(p.x) + "\" y=\"" + Fixed4(p.y) + "\" heading=\"" + Fixed4(p.heading) +
               "\" z=\"" + Fixed4(p.elevation) + "\" grade=\"" + Fixed4(p.grade) + "\" level=\"" +
               std::to_string(p.level) + "\"";
        if (p.helixId != kNoId) out += " helix=\"" + Int(p.helixId) + "\"";
        out += std::string(" sel=\"") + (p.selected ? "1" : "0") + "\"";
        if (p.hasColour)
            out += " color=\"" +
                   std::to_string(p.colour.r * 65536 + p.colour.g * 256 + p.colour.b) + "\"";
        out += ">\n";
        for (size_t c = 0; c < p.joints.size(); ++c) {
            if (p.joints[c].IsOpen()) continue;
            out += "      <joint conn=\"" + std::to_string(c) + "\" target=\"" +
                   Int(p.joints[c].target) + "\" tconn=\"" + Int(p.joints[c].targetConn) +
                   "\"/>\n";
        }
        out += "    </piece>\n";
    }
    return out + "  </pieces>\n";
}

std::string PiecesBlock(const std::string& text) {
    const size_t from = text.find("  <pieces>\n");
    const std::string end = "  </pieces>\n";
    const size_t to = text.find(end);
    if (from == std::string::npos || to == std::string::npos) return {};
    return text.substr(from, to + end.size() - from);
}

TEST(LayoutBytes, ThousandsOfSeededPiecesAreWrittenInTheFilesForm) {
    for (uint32_t seed : {11u, 12u, 13u}) {
        RandomLayout random(seed);
        LayoutDocument doc = random.Make(6000);
        // Pieces at poses users make: the random ones above cover the awkward numbers.
        for (uint32_t i = 0; i < 3000; ++i) {
            PlacedPiece p;
            p.id = 100000 + i;
            p.article = i % 2 ? "24188" : "24130";
            // Texts with every character the file replaces, short and longer than a line's room.
            if (i < 2) p.article = std::string(i ? 40 : 3, 'x') + "<a&\"b>";
            p.x = i * 188.3 - 40000;
            p.y = (i % 97) * 120.55;
            p.heading = std::fmod(i * 7.5, 360.0);
            p.elevation = (i % 40) * 1.25;
            p.joints = {{p.id - 1, 1}, {kNoId, kNoId}};
            doc.pieces.push_back(p);
        }
        const std::string text = LayoutToText(doc, "Bytes");
        EXPECT_EQ(PiecesBlock(text), ReferencePieces(doc.pieces)) << "seed " << seed;
        EXPECT_GT(text.size(), 3000u * 100);
    }
}

TEST(LayoutBytes, ALoadedLayoutSavesBackToTheSameBytes) {
    RandomLayout random(21);
    const std::string text = LayoutToText(random.Make(5000), "Again");
    LayoutDocument doc;
    std::string name;
    ASSERT_EQ(LoadLayoutFromText(doc, text, &name), "");
    EXPECT_EQ(LayoutToText(doc, name), text);
}

TEST(LayoutBytes, NumbersAreWrittenAsTheCLibraryRoundsThem) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-12, 10);
    std::vector<double> values = {0.0,     -0.0,      0.00005,  -0.00005,  0.00015,  1.23455,
                                  2.5e-5,  -4.9e-5,   1e9,      -1e9,      2e9,      999999999.99995,
                                  0.99995, -0.99995,  188.3,    1234.5678, 1e-300,   -1e-300};
    for (int i = 0; i < 300000; ++i) values.push_back(unit(rng) * std::pow(10.0, exponent(rng)));
    // Exact ties and their neighbours: k / 20000 lies halfway between two outputs.
    for (int k = -40000; k < 40000; k += 7) {
        const double tie = k / 20000.0;
        values.push_back(tie);
        values.push_back(std::nextafter(tie, 1e300));
        values.push_back(std::nextafter(tie, -1e300));
    }
    size_t wrong = 0;
    for (double v : values) {
        std::string out;
        AppendFileDouble(out, v);
        if (out != Fixed4(v) && ++wrong < 10) ADD_FAILURE() << v << ": " << out << " vs " << Fixed4(v);
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
