// Buy Track: the web store's shopping-cart address for a layout, and the texts around it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "model/LayoutDocument.h"
#include "panels/StoreTable.h"
#include "trackbox/TrackBox.h"

// A message box to show before the cart is opened (or instead of it).
struct BuyTrackMessage {
    std::string text;
    std::string caption;
    bool isWarning = false;  // warning icon; otherwise the information icon
    bool operator==(const BuyTrackMessage&) const = default;
};

// What pressing Buy Track does: show the message when there is one, then open the address
// when it is not empty.
struct BuyTrackPlan {
    std::string cartText;  // "id:quantity,id:quantity,..."; empty when nothing can be bought
    std::string address;   // the cart address followed by cartText; empty: open nothing
    std::vector<std::string> skipped;  // catalog articles the store does not sell, ascending
    std::optional<BuyTrackMessage> message;
    // The layout needs pieces but the store sells none of them: the message asks whether to
    // save the parts list instead.
    bool offerPartsList = false;
};

inline constexpr char kBuyTrackButtonLabel[] = TR_NOOP("  Buy Track  ");
inline constexpr char kBuyTrackHelpButtonLabel[] = "?";
inline constexpr char kBuyTrackHelpToolTip[] = TR_NOOP("About Buy Track");
inline constexpr char kBuyTrackCaption[] = TR_NOOP("Buy Track");
inline constexpr char kNothingToBuyText[] =
    TR_NOOP("No purchasable track pieces found in your layout.");
inline constexpr char kNothingMissingText[] =
    TR_NOOP("You already own every piece this layout needs.");
inline constexpr char kSkippedCaption[] = TR_NOOP("Some pieces not available");
inline constexpr char kSkippedIntro[] =
    TR_NOOP("The following pieces are not available in the store and will be skipped:\n");
inline constexpr char kNoneSoldIntro[] =
    TR_NOOP("None of the pieces your layout needs are available in the store:\n");
inline constexpr char kKatoNotSoldText[] = TR_NOOP("Kato N track is not sold in the store.\n");
inline constexpr char kOfferPartsListQuestion[] =
    TR_NOOP("\nSave the parts list as a CSV file instead?");
inline constexpr char kSavePartsListLabel[] = TR_NOOP("Save Parts List...");

// The help dialog: title, size, picture (resource 102 shown at 450 x 510), text and button.
inline constexpr char kBuyTrackHelpTitle[] = TR_NOOP("Buy Track - How it works");
inline constexpr int kBuyTrackHelpWidth = 480;
inline constexpr int kBuyTrackHelpHeight = 840;
inline constexpr int kBuyTrackHelpPictureResource = 102;
inline constexpr int kBuyTrackHelpPictureWidth = 450;
inline constexpr int kBuyTrackHelpPictureHeight = 510;
inline constexpr char kBuyTrackHelpText[] = TR_NOOP(
    "Buy all required track and accessories securely and\nconveniently online from "
    "Bramblewick.\n\nClick Buy Track and you will be taken to the Bramblewick\nwebsite with all "
    "required track waiting\nin the shopping cart for you to review and check out.");
inline constexpr char kBuyTrackHelpOkLabel[] = TR_NOOP("Got it!");
inline constexpr Rgb kBuyTrackHelpOkColour{20, 110, 20};

// The cart for the placed catalog pieces of a layout and the switch motors and decoders they
// need. Bridge decks and helix curves are not bought; pieces the store does not sell are skipped.
BuyTrackPlan PlanBuyTrack(const LayoutDocument& doc,
                          const StoreTable& store = StoreTable::BuiltIn());
// The same cart for only what the owner's box lacks: each piece as many times as it is placed
// beyond what is owned, with the motors and decoders of those pieces less the ones the box holds.
// When the box covers the whole cart, the message says so instead of opening the store. An empty
// box gives the cart above.
BuyTrackPlan PlanBuyTrack(const LayoutDocument& doc, const TrackBox& owned,
                          const StoreTable& store = StoreTable::BuiltIn());
// The warning text that lists skipped articles, one per line after two blanks.
std::string SkippedArticlesText(const std::vector<std::string>& skipped);
// The question when the store sells none of the pieces: the same list under its own intro, or
// one sentence when all of them are Kato N track, which the store does not carry.
std::string NoneSoldText(const std::vector<std::string>& skipped);
