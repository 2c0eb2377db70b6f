// The built-in track tables: every piece of the four track systems, in catalog order.
#include "catalog/TrackCatalog.h"

void TrackCatalog::FillBuiltInTables() {
    pieces.clear();
    byArticle.clear();
    const auto C = TrackSystem::MarklinC;
    Add(MakeStraight(C, "24188", "24188 - 188.3mm", 188.3));
    Add(MakeStraight(C, "24172", "24172 - 171.7mm", 171.7));
    filled = true;
}
