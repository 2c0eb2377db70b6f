// Buy Track: the web store's shopping-cart address for a layout, and the texts around it.
#include "panels/BuyTrack.h"

#include <algorithm>

#include "catalog/TrackCatalog.h"
#include "panels/PieceTally.h"
#include "trackbox/ShoppingList.h"

namespace {

// Appends "id:quantity" (after a comma unless first); false when the store lacks the article.
bool AddCartItem(std::string& cart, const StoreTable& store, std::string_view article,
                 int quantity) {
    const std::string* id = store.FindVariantId(article);
    if (!id) return false;
    if (!cart.empty()) cart += ',';
    cart += *id;
    cart += ':';
    cart += std::to_string(quantity);
    return true;
}

}  // namespace

BuyTrackPlan PlanBuyTrack(const LayoutDocument& doc, const StoreTable& store) {
    return PlanBuyTrack(doc, TrackBox{}, store);
}

BuyTrackPlan PlanBuyTrack(const LayoutDocument& doc, const TrackBox& owned,
                          const StoreTable& store) {
    BuyTrackPlan plan;
    const PieceCounts placed = CountPlacedCatalogPieces(doc);
    PieceCounts missing;
    bool anythingOwned = false;
    for (const ShoppingRow& row : ShoppingList(placed, owned)) {
        if (row.toBuy > 0) missing[row.article] = row.toBuy;
        anythingOwned = anythingOwned || (row.needed > 0 && row.owned > 0);
    }
    for (const auto& [article, count] : missing) {
        if (!AddCartItem(plan.cartText, store, article, count)) plan.skipped.push_back(article);
    }

    // Accessories follow the pieces in this fixed order; one the store lacks is left out quietly.
    // Pieces already owned are taken to have theirs; spare ones in the box are used first (a
    // turnout motor may be listed under either of its two numbers).
    const AccessorySums sums = SumAccessories(missing);
    const AccessorySums needed = SumAccessories(placed);
    const struct {
        const char* article;
        int quantity;
        int owned;
        int needed;
    } accessories[] = {
        {"74492", sums.turnoutMotors, owned.Owned("74492") + owned.Owned("74491"),
         needed.turnoutMotors},
        {"75491", sums.kTrackMotors, owned.Owned("75491"), needed.kTrackMotors},
        {"74462", sums.decoders74462, owned.Owned("74462"), needed.decoders74462},
        {"74467", sums.decoders74467, owned.Owned("74467"), needed.decoders74467},
    };
    for (const auto& a : accessories) {
        if (a.quantity - a.owned > 0)
            AddCartItem(plan.cartText, store, a.article, a.quantity - a.owned);
        anythingOwned = anythingOwned || (a.needed > 0 && a.owned > 0);
    }

    if (plan.cartText.empty() && !plan.skipped.empty()) {
        // Track to buy, none of it in the store: "nothing to buy" would read as an empty layout.
        plan.message = BuyTrackMessage{NoneSoldText(plan.skipped), Tr(kBuyTrackCaption), true};
        plan.offerPartsList = true;
        return plan;
    }
    if (plan.cartText.empty()) {
        // Something was needed and the box covered it: say so rather than "nothing to buy".
        const bool covered = anythingOwned;
        plan.message = BuyTrackMessage{Tr(covered ? kNothingMissingText : kNothingToBuyText),
                                       Tr(kBuyTrackCaption), false};
        return plan;
    }
    if (!plan.skipped.empty()) {
        plan.message =
            BuyTrackMessage{SkippedArticlesText(plan.skipped), Tr(kSkippedCaption), true};
    }
    plan.address = store.CartAddress() + plan.cartText;
    return plan;
}

namespace {

std::string ArticleLines(const std::vector<std::string>& articles) {
    std::string text;
    for (const std::string& article : articles) text += "  " + article + "\n";
    return text;
}

}  // namespace

std::string SkippedArticlesText(const std::vector<std::string>& skipped) {
    return Tr(kSkippedIntro) + ArticleLines(skipped);
}

std::string NoneSoldText(const std::vector<std::string>& skipped) {
    const bool allKato = std::all_of(skipped.begin(), skipped.end(), [](const std::string& a) {
        const PieceDef* def = TrackCatalog::Instance().Find(a);
        return def && def->system == TrackSystem::KatoN;
    });
    if (allKato && !skipped.empty()) return Tr(kKatoNotSoldText) + Tr(kOfferPartsListQuestion);
    return Tr(kNoneSoldIntro) + ArticleLines(skipped) + Tr(kOfferPartsListQuestion);
}
