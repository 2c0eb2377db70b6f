// The ready-made helix units the program knows, looked up by the id stored in layouts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One ready-made helix: a spiral of C-Track curves on two radii with a straight at each end.
struct HelixVariant {
    std::string id;          // key stored in layouts, e.g. "proses_2_5_r1r2"
    std::string name;        // display text
    double turns = 0;        // number of full turns
    double rise = 0;         // mm gained from bottom to top
    double radiusInner = 0;  // mm, inner track
    double radiusOuter = 0;  // mm, outer track
    std::string straightArticle;
    std::string innerCurveArticle;
    std::string outerCurveArticle;
};

// All variants in catalog order; built once, never changes.
const std::vector<HelixVariant>& HelixVariants();
// Exact match on the whole id; null when unknown (including the empty id).
const HelixVariant* FindHelixVariant(std::string_view id);
// The variant used when a helix has no id or an unknown one: the first in the list.
const std::string& DefaultHelixVariantId();
