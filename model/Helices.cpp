// Helix placement and the whole-helix selection rules.
#include "model/Helices.h"

#include <cmath>
#include <set>

#include "base/Geometry.h"
#include "base/Translate.h"
#include "catalog/HelixVariants.h"
#include "catalog/TrackCatalog.h"

PointMm HelixEndPosition(double x, double y, double headingDeg, double offsetMm) {
    const double h = DegToRad(headingDeg);
    return PointMm{x - offsetMm * std::sin(h), y + offsetMm * std::cos(h)};
}

uint32_t PlaceHelix(LayoutDocument& doc, double x, double y, double headingDeg,
                    std::string_view variantId) {
    const HelixVariant* variant = FindHelixVariant(variantId);
    if (!variant) variant = FindHelixVariant(DefaultHelixVariantId());
    if (!variant) return kNoId;
    return PlaceHelixVariant(doc, *variant, x, y, headingDeg);
}

uint32_t PlaceHelixVariant(LayoutDocument& doc, const HelixVariant& variant, double x, double y,
                           double headingDeg) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(headingDeg)) return kNoId;
    if (!TrackCatalog::Instance().Find(variant.straightArticle)) return kNoId;
    doc.PushUndo();

    Helix helix;
    helix.id = doc.TakeId();
    helix.x = x;
    helix.y = y;
    helix.heading = NormalizeDeg(headingDeg);
    helix.variant = variant.id;

    struct End {
        uint32_t Helix::*field;
        double offset;
        double elevation;
    };
    const End ends[] = {
        {&Helix::bottomR1, -variant.radiusInner, 0},
        {&Helix::bottomR2, -variant.radiusOuter, 0},
        {&Helix::topR1, variant.radiusInner, variant.rise},
        {&Helix::topR2, variant.radiusOuter, variant.rise},
    };
    for (const End& end : ends) {
        PlacedPiece piece;
        piece.id = doc.TakeId();
        piece.article = variant.straightArticle;
        const PointMm at = HelixEndPosition(x, y, helix.heading, end.offset);
        piece.x = at.x;
        piece.y = at.y;
        piece.heading = helix.heading;
        piece.helixId = helix.id;
        piece.level = 1;
        piece.grade = 0;
        piece.elevation = end.elevation;
        piece.joints.resize(2);
        helix.*end.field = piece.id;
        doc.pieces.push_back(std::move(piece));
    }
    doc.helices.push_back(helix);
    return helix.id;
}

bool SelectionIsWholeHelix(const LayoutDocument& doc) {
    for (const SceneryItem& s : doc.scenery)
        if (s.selected) return false;
    uint32_t helixId = kNoId;
    for (const PlacedPiece& p : doc.pieces) {
        if (!p.selected) continue;
        if (p.helixId == kNoId) return false;
        if (helixId == kNoId) helixId = p.helixId;
        if (p.helixId != helixId) return false;
    }
    if (helixId == kNoId) return false;
    for (const PlacedPiece& p : doc.pieces)
        if (p.helixId == helixId && !p.selected) return false;
    return true;
}

void SelectWholeHelices(LayoutDocument& doc) {
    std::set<uint32_t> chosen;
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected && p.helixId != kNoId) chosen.insert(p.helixId);
    doc.pieces.ForEachWhere(
        [&](const PlacedPiece& p) { return !p.selected && chosen.count(p.helixId); },
        [](PlacedPiece& p) { p.selected = true; });
}

std::string PastParticiple(std::string_view verb) {
    std::string word(verb);
    if (word.empty()) return word;
    word += word.back() == 'e' ? "d" : "ed";
    return word;
}

std::string HelixLockMessage(std::string_view verb) {
    // Whole sentences for the operations there are, so that each translates as a whole.
    if (verb == "delete")
        return Tr(
            "Selection includes track that is part of a helix. Helix track cannot be "
            "deleted individually.");
    if (verb == "move")
        return Tr(
            "Selection includes track that is part of a helix. Helix track cannot be "
            "moved individually.");
    if (verb == "rotate")
        return Tr(
            "Selection includes track that is part of a helix. Helix track cannot be "
            "rotated individually.");
    return "Selection includes track that is part of a helix. Helix track cannot be " +
           PastParticiple(verb) + " individually.";
}
