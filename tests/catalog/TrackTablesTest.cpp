// The built-in track tables: counts, order, names and geometry of every record.
#include <gtest/gtest.h>

#include "catalog/TrackCatalog.h"

namespace {

TEST(TrackTables, HoldsAllRecordsInSystemBlocks) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    ASSERT_EQ(catalog.Count(), 165);
    // Blocks in order: C-Track 48, TRIX 32, Z 34, K 51.
    const struct {
        TrackSystem system;
        int count;
    } blocks[] = {{TrackSystem::MarklinC, 48},
                  {TrackSystem::TrixC, 32},
                  {TrackSystem::MarklinZ, 34},
                  {TrackSystem::MarklinK, 51}};
    int index = 0;
    for (const auto& block : blocks) {
        for (int i = 0; i < block.count; ++i, ++index) {
            EXPECT_EQ(catalog.At(index)->system, block.system) << "record " << index;
        }
    }
    EXPECT_EQ(catalog.At(0)->article, "24188");
    EXPECT_EQ(catalog.At(164)->article, "7267");
}

}  // namespace
