// The piece tally: how many of each article a layout needs, and the accessories it recommends.
#include "panels/PieceTally.h"

#include "catalog/ArticleNames.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"
#include "panels/TallyTables.h"
#include "trackbox/ShoppingList.h"

namespace {

// A helix spiral is built from 30-degree curves: twelve per turn on each of its two radii.
constexpr double kCurvesPerTurn = 12;

const HelixVariant* VariantOrDefault(const std::string& id) {
    if (const HelixVariant* v = FindHelixVariant(id)) return v;
    return FindHelixVariant(DefaultHelixVariantId());
}

}  // namespace

PieceCounts CountLayoutPieces(const LayoutDocument& doc) {
    PieceCounts counts;
    for (const PlacedPiece& piece : doc.pieces) {
        ++counts[piece.article];
        for (const std::string& deck : BridgeDeckArticles(piece.article)) ++counts[deck];
    }
    for (const Helix& helix : doc.helices) {
        const HelixVariant* variant = VariantOrDefault(helix.variant);
        if (!variant) continue;
        // The straights at the helix ends are placed pieces and were counted above.
        const int curves = static_cast<int>(variant->turns * kCurvesPerTurn);
        if (curves <= 0) continue;
        counts[variant->innerCurveArticle] += curves;
        counts[variant->outerCurveArticle] += curves;
    }
    return counts;
}

PieceCounts CountPlacedCatalogPieces(const LayoutDocument& doc) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    PieceCounts counts;
    for (const PlacedPiece& piece : doc.pieces) {
        if (catalog.Find(piece.article)) ++counts[piece.article];
    }
    return counts;
}

AccessorySums SumAccessories(const PieceCounts& counts) {
    AccessorySums sums;
    for (const auto& [article, count] : counts) {
        sums.turnoutMotors += TurnoutMotorsPerPiece(article) * count;
        sums.kTrackMotors += KTrackMotorsPerPiece(article) * count;
        const std::string_view decoder = DecoderArticleFor(article);
        if (decoder == "74462") sums.decoders74462 += count;
        if (decoder == "74467") sums.decoders74467 += count;
    }
    return sums;
}

std::vector<TallyRow> TallyRows(const PieceCounts& counts, const AccessorySums& accessories,
                                const TrackBox& owned) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    std::vector<TallyRow> rows;
    rows.reserve(counts.size() + 5);
    // The tally lists what the layout needs: spare pieces of the box are not shown here.
    for (const ShoppingRow& line : ShoppingList(counts, owned)) {
        if (line.needed == 0) continue;
        const PieceDef* def = catalog.Find(line.article);
        rows.push_back({def ? ArticleDisplayName(def->name) : line.article, std::to_string(line.needed), false,
                        std::to_string(line.owned), std::to_string(line.toBuy), line.toBuy == 0});
    }
    if (accessories.Total() < 1) return rows;
    rows.push_back({Tr(kRecommendHeading), "", true, "", "", false});
    auto add = [&rows](const char* text, int sum) {
        if (sum > 0) rows.push_back({Tr(text), std::to_string(sum), false, "", "", false});
    };
    add(kTurnoutMotorRow, accessories.turnoutMotors);
    add(kKTrackMotorRow, accessories.kTrackMotors);
    add(kDecoder74462Row, accessories.decoders74462);
    add(kDecoder74467Row, accessories.decoders74467);
    return rows;
}

PieceTally RefreshTally(const LayoutDocument& doc, const TrackBox& owned) {
    PieceTally tally;
    tally.counts = CountLayoutPieces(doc);
    tally.accessories = SumAccessories(tally.counts);
    tally.rows = TallyRows(tally.counts, tally.accessories, owned);
    return tally;
}
