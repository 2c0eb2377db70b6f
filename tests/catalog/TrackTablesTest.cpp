// The built-in track tables of the H0 and Z systems: every record against
// tests/catalog/data/track_tables.tsv, plus checks of the records against their own numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "persistence/FileTestSupport.h"

namespace {

double SinDeg(double deg) { return std::sin(deg / 180.0 * kPi); }
double CosDeg(double deg) { return std::cos(deg / 180.0 * kPi); }
constexpr double kTol = 0.01;  // mm and degrees

const TrackCatalog& Catalog() { return TrackCatalog::Instance(); }

std::vector<std::string> SplitField(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, sep);) parts.push_back(part);
    return parts;
}

TEST(TrackTables, EveryRecordMatchesTheTable) {
    const auto rows = ReadTable("tests/catalog/data/track_tables.tsv");
    ASSERT_EQ(rows.size(), 165u);
    ASSERT_GE(Catalog().Count(), 165);
    EXPECT_TRUE(Catalog().filled);
    for (int i = 0; i < 165; ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE("record " + std::to_string(i) + " " + row.at(0));
        ASSERT_EQ(row.size(), 10u);
        const PieceDef* def = Catalog().At(i);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->article, row[0]);
        EXPECT_EQ(def->name, row[1]);
        EXPECT_EQ(static_cast<int>(def->system), std::stoi(row[2]));
        EXPECT_EQ(static_cast<int>(def->kind), std::stoi(row[3]));
        EXPECT_NEAR(def->length, std::stod(row[4]), kTol);
        EXPECT_NEAR(def->radius, std::stod(row[5]), kTol);
        EXPECT_NEAR(def->angle, std::stod(row[6]), kTol);
        const int flags = std::stoi(row[7]);
        EXPECT_EQ(def->isBridge, (flags & 1) != 0);
        EXPECT_EQ(def->placeAsPair, (flags & 2) != 0);
        EXPECT_EQ(def->isRamp, (flags & 4) != 0);
        std::vector<TrackSystem> mixed;
        if (row[8] != "-") {
            for (const auto& s : SplitField(row[8], ','))
                mixed.push_back(TrackSystem(std::stoi(s)));
        }
        EXPECT_EQ(def->connectorSystems, mixed);
        const auto ends = SplitField(row[9], ';');
        ASSERT_EQ(def->connectors.size(), ends.size());
        for (size_t c = 0; c < ends.size(); ++c) {
            SCOPED_TRACE("connector " + std::to_string(c));
            const auto xyh = SplitField(ends[c], ',');
            const Connector& con = def->connectors[c];
            EXPECT_EQ(con.number, c);
            EXPECT_NEAR(con.x, std::stod(xyh.at(0)), kTol);
            EXPECT_NEAR(con.y, std::stod(xyh.at(1)), kTol);
            EXPECT_NEAR(con.heading, std::stod(xyh.at(2)), kTol);
            EXPECT_EQ(def->ConnectorSystem(static_cast<int>(c)),
                      c < mixed.size() ? mixed[c] : def->system);
        }
    }
}

TEST(TrackTables, LookupIsExact) {
    for (const PieceDef& def : Catalog().pieces) {
        EXPECT_EQ(Catalog().Find(def.article), &def) << "repeated or lost article " << def.article;
    }
    for (const char* absent : {"", "24188 ", "2418", "99999"}) {
        EXPECT_EQ(Catalog().Find(absent), nullptr) << absent;
    }
    EXPECT_EQ(Catalog().At(-1), nullptr);
    EXPECT_EQ(Catalog().At(Catalog().Count()), nullptr);
}

// Hand-worked ends: 490 sin 13 = 110.23 passes the 110 mm straight end of 8562, so its branch
// stops at x = 110; exit 15 of the 24-exit turntable points back along -x.
TEST(TrackTables, WorkedExamples) {
    const struct {
        const char* article;
        size_t connector;
        double x, y, heading;
    } cases[] = {{"8562", 2, 110, -12.51, 347.03},  {"2262", 2, 162.49, -32.32, 337.5},
                 {"22716", 2, 222.89, 27.96, 14.3}, {"74862", 15, -139, 0, 180},
                 {"8559", 2, 1.45, -12.69, 193},    {"8568", 2, 122.5, -26.12, 330}};
    for (const auto& e : cases) {
        SCOPED_TRACE(e.article);
        const Connector& c = Catalog().Find(e.article)->connectors.at(e.connector);
        EXPECT_NEAR(c.x, e.x, kTol);
        EXPECT_NEAR(c.y, e.y, kTol);
        EXPECT_NEAR(c.heading, e.heading, kTol);
    }
}

// Checks of the records against their own numbers; these catch a mistyped digit that the
// table comparison would share with the data file.
TEST(TrackTables, RecordsAgreeWithTheirOwnGeometry) {
    for (const PieceDef& def : Catalog().pieces) {
        if (static_cast<int>(def.system) > 3) continue;  // the N tables have their own checks
        SCOPED_TRACE(def.article);
        EXPECT_EQ(def.isRamp, def.name.find("Ramp") != std::string::npos);
        EXPECT_EQ(def.isBridge, def.isRamp || def.name.find("Bridge") != std::string::npos);
        EXPECT_TRUE(!def.placeAsPair || def.isRamp);
        for (const Connector& c : def.connectors) {
            EXPECT_GE(c.heading, 0);
            EXPECT_LT(c.heading, 360);
        }
        if (def.kind == PieceKind::Turntable) continue;
        EXPECT_EQ(def.connectors.at(0).x, 0);
        EXPECT_EQ(def.connectors[0].y, 0);
        EXPECT_EQ(def.connectors[0].heading, 180);
        const auto& cons = def.connectors;
        switch (def.kind) {
            case PieceKind::Curve:
                // The chord of an arc is 2 R sin(A / 2).
                EXPECT_NEAR(std::hypot(cons[1].x, cons[1].y),
                            2 * def.radius * SinDeg(def.angle / 2), kTol);
                EXPECT_NEAR(def.length, def.radius * def.angle * kPi / 180, kTol);
                break;
            case PieceKind::LeftTurnout:
            case PieceKind::RightTurnout:
                EXPECT_NEAR(cons.at(1).x, def.length, 1e-9);
                for (size_t i = 2; i < cons.size(); ++i) {
                    // Branch ends lie on the turnout's arc: x = R sin h, |y| = R (1 - cos h).
                    const double h = cons[i].y < 0 ? 360 - cons[i].heading : cons[i].heading;
                    EXPECT_NEAR(cons[i].x, def.radius * SinDeg(h), kTol);
                    EXPECT_NEAR(std::abs(cons[i].y), def.radius * (1 - CosDeg(h)), kTol);
                }
                break;
            case PieceKind::Crossing:
            case PieceKind::DoubleSlip:
                ASSERT_EQ(cons.size(), 4u);
                EXPECT_NEAR(HeadingDiffDeg(cons[2].heading, cons[3].heading), 180, kTol);
                EXPECT_NEAR(cons[2].x + cons[3].x, def.length, kTol);
                EXPECT_NEAR(cons[2].y, -cons[3].y, kTol);
                if (def.kind == PieceKind::Crossing) {
                    // The second route crosses the first in its middle at the crossing angle.
                    EXPECT_NEAR(std::atan2(cons[3].y, cons[3].x - def.length / 2) * 180 / kPi,
                                def.angle, 0.05);
                }
                break;
            case PieceKind::CurvedTurnout:
            case PieceKind::CurvedTurnoutK: {
                // The inner end lies on the arc of the turnout's radius, rounded to 0.05 mm.
                const double a = std::abs(def.angle);
                EXPECT_NEAR(cons.at(1).x, def.radius * SinDeg(a), 0.05);
                EXPECT_NEAR(std::abs(cons[1].y), def.radius * (1 - CosDeg(a)), 0.05);
                EXPECT_EQ(cons[1].y, cons.at(2).y);
                EXPECT_EQ(cons[1].heading, cons[2].heading);
                break;
            }
            default:
                break;
        }
    }
}

}  // namespace

