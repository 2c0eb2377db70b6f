// Questions about the document's selection.
#include "model/SelectionQueries.h"

#include <algorithm>
#include <cmath>

#include "model/GradeRuns.h"

namespace {
constexpr auto kSelected = [](const auto& object) { return object.selected; };
}  // namespace

bool PieceOrScenerySelected(const LayoutDocument& doc) {
    return std::any_of(doc.pieces.begin(), doc.pieces.end(), kSelected) ||
           std::any_of(doc.scenery.begin(), doc.scenery.end(), kSelected);
}

int SelectedPieceCount(const LayoutDocument& doc) {
    return static_cast<int>(std::count_if(doc.pieces.begin(), doc.pieces.end(), kSelected));
}

bool SelectionHasGrade(const LayoutDocument& doc) {
    return std::any_of(doc.pieces.begin(), doc.pieces.end(), [](const PlacedPiece& p) {
        return p.selected && std::fabs(p.grade) > kFlatGradeDeg;
    });
}
