// Lengths typed in the display unit: what a field shows and what it gives back.
#include <gtest/gtest.h>

#include <cmath>

#include "trackgeometry/Units.h"

namespace {

constexpr int kAllUnits[] = {kUnitsMm, kUnitsCm, kUnitsInch};
// Stored lengths that do not fall on a shown step in at least one unit.
constexpr double kLengths[] = {0, 25.4, 75, 25.45, 12.345, 1200, 2400.05, 9999.99};

// The shown value stands for the length to a tenth of a millimetre, and a field left as shown
// gives the stored length back exactly.
TEST(LengthFields, ShownValueIsCloseAndAnUntouchedFieldGivesTheStoredLengthBack) {
    for (int units : kAllUnits)
        for (double mm : kLengths) {
            SCOPED_TRACE(testing::Message() << mm << " mm in unit " << units);
            EXPECT_LE(std::fabs(ShownLength(mm, units) * UnitFactor(units) - mm), 0.05 + 1e-9);
            EXPECT_EQ(EnteredLengthMm(mm, ShownLength(mm, units), units), mm);
        }
}

TEST(LengthFields, EditedFieldIsConvertedFromTheDisplayUnit) {
    // One shown step away from the stored value is an edit, however small.
    EXPECT_DOUBLE_EQ(EnteredLengthMm(25.4, 2.55, kUnitsCm), 25.5);
    EXPECT_DOUBLE_EQ(EnteredLengthMm(25.4, 1.001, kUnitsInch), 25.4254);
    EXPECT_DOUBLE_EQ(EnteredLengthMm(75, 75.1, kUnitsMm), 75.1);
    EXPECT_DOUBLE_EQ(EnteredLengthMm(75, 2.5, kUnitsCm), 25);
    EXPECT_DOUBLE_EQ(EnteredLengthMm(75, 2.5, kUnitsInch), 63.5);
}

}  // namespace
