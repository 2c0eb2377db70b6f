// Buy Track: the web store's shopping-cart address for a layout, and the texts around it.
#include "panels/BuyTrack.h"

#include "panels/PieceTally.h"

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
    BuyTrackPlan plan;
    const PieceCounts counts = CountPlacedCatalogPieces(doc);
    for (const auto& [article, count] : counts) {
        if (!AddCartItem(plan.cartText, store, article, count)) plan.skipped.push_back(article);
    }

    // Accessories follow the pieces in this fixed order; one the store lacks is left out quietly.
    const AccessorySums sums = SumAccessories(counts);
    const std::pair<const char*, int> accessories[] = {
        {"74492", sums.turnoutMotors},
        {"75491", sums.kTrackMotors},
        {"74462", sums.decoders74462},
        {"74467", sums.decoders74467},
    };
    for (const auto& [article, quantity] : accessories) {
        if (quantity > 0) AddCartItem(plan.cartText, store, article, quantity);
    }

    if (plan.cartText.empty()) {
        plan.message = BuyTrackMessage{kNothingToBuyText, kBuyTrackCaption, false};
        return plan;
    }
    if (!plan.skipped.empty()) {
        plan.message = BuyTrackMessage{SkippedArticlesText(plan.skipped), kSkippedCaption, true};
    }
    plan.address = store.CartAddress() + plan.cartText;
    return plan;
}

std::string SkippedArticlesText(const std::vector<std::string>& skipped) {
    std::string text = kSkippedIntro;
    for (const std::string& article : skipped) text += "  " + article + "\n";
    return text;
}
