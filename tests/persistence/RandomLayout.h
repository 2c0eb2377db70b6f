// Seeded random layout documents for file tests: every record the layout file carries, with
// awkward texts and numbers, always a document the reader accepts and that saves back unchanged.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

class RandomLayout {
public:
    explicit RandomLayout(uint32_t seed) : rng_(seed) {}

    // A document of up to `maxPieces` pieces: joints mirrored, ids unique, at least one level, a
    // helix selected as a whole. Everything else (values, counts, which blocks appear) is random.
    LayoutDocument Make(int maxPieces = 40) {
        LayoutDocument doc;
        doc.units = static_cast<int32_t>(Below(3));
        MakeLevels(doc);
        uint32_t id = 1 + Below(3);
        auto takeId = [&] { return id += 1 + (Chance(8) ? Below(1000) : 0); };

        const int pieceCount = static_cast<int>(Below(static_cast<uint32_t>(maxPieces) + 1));
        const int helixCount = static_cast<int>(Below(3));
        std::vector<uint32_t> helixIds;
        for (int h = 0; h < helixCount; ++h) helixIds.push_back(takeId());
        for (int i = 0; i < pieceCount; ++i) doc.pieces.push_back(MakePiece(takeId(), helixIds));
        JoinRandomPairs(doc.pieces);
        SelectHelicesWhole(doc.pieces);

        for (int i = 0, n = static_cast<int>(Below(6)); i < n; ++i) {
            SceneryItem s;
            s.id = takeId();
            s.item = Chance(3) ? "tunnel_portal_single" : Text(12);
            s.x = Number(), s.y = Number(), s.heading = Number();
            s.selected = Chance(2);
            s.scaleX = Chance(3) ? 1.0 : Number();
            s.scaleY = Chance(3) ? 1.0 : Number();
            s.level = SomeLevel(doc);
            doc.scenery.push_back(s);
        }
        for (int i = 0, n = static_cast<int>(Below(4)); i < n; ++i)
            doc.labels.push_back(Label{takeId(), Text(30), Number(), Number(), Chance(2)});
        for (int i = 0, n = static_cast<int>(Below(3)); i < n; ++i) {
            Tunnel t{takeId(), SomeRef(doc), SomeRef(doc), SomeRef(doc), SomeRef(doc), {}};
            for (int c = 0, k = static_cast<int>(Below(4)); c < k; ++c)
                t.covers.push_back(doc.pieces.empty() ? Below(50) : SomePiece(doc));
            doc.tunnels.push_back(t);
        }
        for (uint32_t h : helixIds) {
            const auto& variants = HelixVariants();
            Helix helix{h, Number(), Number(), Number(), {}};
            helix.variant = Chance(4) ? Text(10) + "v" : variants[Below(variants.size())].id;
            for (uint32_t* end : {&helix.bottomR1, &helix.bottomR2, &helix.topR1, &helix.topR2})
                *end = SomeRef(doc);
            doc.helices.push_back(helix);
        }
        for (int i = 0, n = static_cast<int>(Below(3)); i < n; ++i)
            doc.gradeRuns.push_back(
                GradeRun{Number(), Chance(4) ? -1 : static_cast<int32_t>(SomeRef(doc)), Below(64)});
        if (Chance(2))
            for (int i = 0, n = static_cast<int>(1 + Below(6)); i < n; ++i)
                doc.baseboard.push_back({Number(), Number()});
        if (Chance(2)) {
            doc.lastShape = static_cast<int32_t>(Below(6));
            doc.shapeWidth = Number(), doc.shapeHeight = Number();
            doc.shapeWidth2 = Number(), doc.shapeHeight2 = Number();
        }
        for (int i = 0, n = static_cast<int>(Below(3)); i < n; ++i)
            doc.measurements.push_back(Measurement{takeId(), Number(), Number(), Number(), Number(),
                                                   Number(), Number(), Chance(2)});
        doc.nextId = id + 1 + Below(3);
        doc.RefreshCurrentGrade();
        return doc;
    }

    uint32_t Below(size_t n) { return static_cast<uint32_t>(rng_() % n); }
    bool Chance(uint32_t oneIn) { return Below(oneIn) == 0; }

    // Text with everything the writer must escape or keep: markup, quotes, '=', UTF-8, blanks.
    std::string Text(uint32_t maxLength) {
        static const char* const kPieces[] = {
            "a",         "Z",     "7",    " ",    "<",  ">",  "&",        "\"",           "'",
            "=",         "&amp;", "&lt;", "x=\"", "/>", "\t", "\xC3\xB8", "\xE2\x82\xAC", "<piece ",
            "</pieces>", ";"};
        std::string text;
        for (uint32_t i = 0, n = Below(maxLength + 1); i < n; ++i)
            text += kPieces[Below(std::size(kPieces))];
        return text;
    }

    // Plain values, fractions beyond four decimals, negative zero, huge values the writer clamps,
    // and now and then something not finite.
    double Number() {
        switch (Below(10)) {
            case 0:
                return 0.0;
            case 1:
                return -0.0;
            case 2:
                return static_cast<double>(static_cast<int32_t>(rng_())) / 16.0;
            case 3:
                return (Chance(2) ? 1 : -1) * 1e9 * (1 + Below(3));
            case 4:
                return Chance(2) ? std::numeric_limits<double>::quiet_NaN()
                                 : -std::numeric_limits<double>::infinity();
            case 5:
                return static_cast<double>(rng_()) * 1e-9;
            default:
                return (static_cast<double>(rng_()) / 4294967296.0 - 0.5) * 8000.0;
        }
    }

private:
    void MakeLevels(LayoutDocument& doc) {
        const int count = 1 + static_cast<int>(Below(4));
        uint32_t levelId = Below(3);
        for (int i = 0; i < count; ++i) {
            Level level;
            level.id = levelId += 1 + Below(5);
            level.name = Text(16);
            level.visible = !Chance(4);
            level.height = Number();
            level.colourTrack = Chance(2);
            level.colour = Rgb{static_cast<uint8_t>(Below(256)), static_cast<uint8_t>(Below(256)),
                               static_cast<uint8_t>(Below(256))};
            for (int k = 0, n = static_cast<int>(Below(6)); k < n; ++k)
                level.outline.push_back({Number(), Number()});
            doc.levels.push_back(level);
        }
        doc.activeLevel = Chance(5) ? Below(100) : doc.levels[Below(doc.levels.size())].id;
    }

    PlacedPiece MakePiece(uint32_t id, const std::vector<uint32_t>& helixIds) {
        const TrackCatalog& catalog = TrackCatalog::Instance();
        PlacedPiece p;
        p.id = id;
        const PieceDef* def =
            Chance(6) ? nullptr
                      : catalog.At(static_cast<int>(Below(static_cast<size_t>(catalog.Count()))));
        p.article = def ? def->article : Text(8);
        p.x = Number(), p.y = Number(), p.heading = Number();
        p.selected = Chance(3);
        p.elevation = Chance(2) ? 0.0 : Number();
        p.grade = Chance(2) ? 0.0 : Number();
        p.hasColour = Chance(3);
        if (p.hasColour)
            p.colour = Rgb{static_cast<uint8_t>(Below(256)), static_cast<uint8_t>(Below(256)),
                           static_cast<uint8_t>(Below(256))};
        p.level = Chance(8) ? static_cast<int32_t>(rng_()) : static_cast<int32_t>(1 + Below(4));
        if (!helixIds.empty() && Chance(4)) p.helixId = helixIds[Below(helixIds.size())];
        // At least one slot per connector of the definition, as the reader pads them.
        size_t slots = def ? def->connectors.size() : 0;
        if (Chance(5)) slots += Below(4);
        p.joints.resize(std::max<size_t>(slots, 1));
        return p;
    }

    // Joins random open slots pairwise; both sides name each other.
    void JoinRandomPairs(PieceList& pieces) {
        if (pieces.size() < 2) return;
        for (size_t k = 0, n = pieces.size(); k < n; ++k) {
            size_t a = Below(pieces.size()), b = Below(pieces.size());
            if (a == b) continue;
            size_t ca = Below(pieces[a].joints.size()), cb = Below(pieces[b].joints.size());
            if (!pieces[a].joints[ca].IsOpen() || !pieces[b].joints[cb].IsOpen()) continue;
            pieces[a].joints[ca] = Joint{pieces[b].id, static_cast<uint32_t>(cb)};
            pieces[b].joints[cb] = Joint{pieces[a].id, static_cast<uint32_t>(ca)};
        }
    }

    static void SelectHelicesWhole(PieceList& pieces) {
        std::vector<uint32_t> selected;
        for (const PlacedPiece& p : pieces)
            if (p.selected && p.helixId != kNoId) selected.push_back(p.helixId);
        for (PlacedPiece& p : pieces)
            if (std::find(selected.begin(), selected.end(), p.helixId) != selected.end())
                p.selected = true;
    }

    int32_t SomeLevel(const LayoutDocument& doc) {
        return Chance(5) ? static_cast<int32_t>(Below(9)) - 4
                         : static_cast<int32_t>(doc.levels[Below(doc.levels.size())].id);
    }
    uint32_t SomePiece(const LayoutDocument& doc) {
        return doc.pieces[Below(doc.pieces.size())].id;
    }
    uint32_t SomeRef(const LayoutDocument& doc) {
        if (Chance(3) || doc.pieces.empty()) return Chance(2) ? kNoId : Below(100000);
        return SomePiece(doc);
    }

    std::mt19937 rng_;
};
