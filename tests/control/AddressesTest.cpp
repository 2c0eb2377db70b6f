// Accessory addresses: numbering by rows and by station groups, kept user addresses, two-address
// pieces, the address findings, the address list and the <control> element of layout files.
#include <gtest/gtest.h>

#include <set>

#include "control/AddressList.h"
#include "control/AssignAddresses.h"
#include "layoutcheck/LayoutCheck.h"
#include "model/TrackBuilder.h"
#include "network/TrackGraph.h"
#include "persistence/LayoutFile.h"

namespace {

class AddressesTest : public ::testing::Test {
protected:
    LayoutDocument doc;
    TrackBuilder track{doc};

    void SetUp() override { doc.EnsureDefaultLevel(); }

    AddressAssignment Assign(AddressOptions options = {}) {
        return AssignAddresses(doc, BuildTrackGraph(doc), options);
    }
    int32_t AddressOf(uint32_t piece) const {
        const AccessoryAddress* a = doc.control.Find(piece);
        return a ? a->address : 0;
    }
    std::vector<LayoutFinding> Findings(FindingKind kind) {
        std::vector<LayoutFinding> out;
        for (const LayoutFinding& f : CheckLayout(doc))
            if (f.kind == kind) out.push_back(f);
        return out;
    }
};

// Two stations, one above the other: the upper one with a turnout at each end of a passing loop.
TEST_F(AddressesTest, NumbersRowByRowTopToBottomThenLeftToRight) {
    const uint32_t west = track.Place("24612", 0, 0, 0);
    const uint32_t westLoop = track.Attach("24611", west, 2);
    const uint32_t east = track.Place("24611", 2000, 0, 180);
    const uint32_t eastLoop = track.Attach("24612", east, 2);
    const uint32_t lowerRight = track.Place("24612", 900, 1000, 0);
    const uint32_t lowerLeft = track.Place("24611", 100, 1010, 0);
    track.Place("24188", 500, 500, 0);  // plain track takes no address

    const AddressAssignment a = Assign();
    ASSERT_TRUE(ApplyAddresses(doc, a));
    EXPECT_EQ(a.added.size(), 6u);
    for (const auto& [piece, address] : {std::pair{west, 1},
                                         {westLoop, 2},
                                         {eastLoop, 3},
                                         {east, 4},
                                         {lowerLeft, 5},
                                         {lowerRight, 6}})
        EXPECT_EQ(AddressOf(piece), address) << piece;
    // One undo step takes all of them back.
    doc.Undo();
    EXPECT_FALSE(doc.control.Exists());
}

TEST_F(AddressesTest, StationOrderNumbersJoinedTurnoutsTogether) {
    // A ladder running down the page, joined through a straight, and a lone turnout beside its
    // top: by rows the lone one comes second, by stations last.
    const uint32_t top = track.Place("24612", 0, 0, 90);
    const uint32_t link = track.Attach("24188", top, 1);
    const uint32_t bottom = track.Attach("24612", link, 1);
    const uint32_t lone = track.Place("24611", 1000, 0, 90);

    AddressOptions options;
    const AddressAssignment rows = Assign(options);
    options.order = AddressOrder::ByStation;
    const AddressAssignment stations = Assign(options);
    auto order = [](const AddressAssignment& a) {
        std::vector<uint32_t> ids;
        for (const AccessoryAddress& x : a.added) ids.push_back(x.piece);
        return ids;
    };
    EXPECT_EQ(order(rows), (std::vector<uint32_t>{top, lone, bottom}));
    EXPECT_EQ(order(stations), (std::vector<uint32_t>{top, bottom, lone}));
    // Beyond the gap the ladder falls apart.
    options.groupGapMm = 100;
    EXPECT_EQ(order(Assign(options)), (std::vector<uint32_t>{top, lone, bottom}));
}

TEST_F(AddressesTest, AddressSetByTheUserIsKeptThroughNewAssignments) {
    const uint32_t a = track.Place("24612", 0, 0, 0);
    const uint32_t b = track.Place("24612", 500, 0, 0);
    const uint32_t c = track.Place("24612", 1000, 0, 0);
    ASSERT_EQ(SetAccessoryAddress(doc, c, 1), "");
    ASSERT_TRUE(ApplyAddresses(doc, Assign()));
    EXPECT_EQ((std::vector{AddressOf(c), AddressOf(a), AddressOf(b)}), (std::vector{1, 2, 3}));
    // Nothing is left to number, so a second assignment is no edit at all.
    const size_t steps = doc.undoStack.size();
    EXPECT_FALSE(ApplyAddresses(doc, Assign()));
    EXPECT_EQ(doc.undoStack.size(), steps);
    // A new turnout gets the next free number; the user's change survives.
    ASSERT_EQ(SetAccessoryAddress(doc, a, 7), "");
    const uint32_t d = track.Place("24612", 1500, 0, 0);
    AddressOptions from2;
    from2.first = 2;
    ASSERT_TRUE(ApplyAddresses(doc, Assign(from2)));
    EXPECT_EQ(AddressOf(a), 7);
    EXPECT_EQ(AddressOf(d), 2);
}

TEST_F(AddressesTest, ThreeWayTurnoutAndSlipTakeTwoAddressesWithinTheProtocolsRange) {
    const uint32_t threeWay = track.Place("24630", 0, 0, 0);
    const uint32_t slip = track.Place("24624", 500, 0, 0);
    const uint32_t after = track.Place("24612", 1000, 0, 0);
    ASSERT_EQ(SetAccessoryAddress(doc, slip, 20, 2), "");
    AddressOptions options;
    options.first = 19;
    ASSERT_TRUE(ApplyAddresses(doc, Assign(options)));
    // 19 alone is free before the slip's 20-21 and the three-way turnout needs two in a row;
    // the numbers run on from there.
    EXPECT_EQ(AddressOf(threeWay), 22);
    EXPECT_EQ(AddressOf(after), 24);

    // C track defaults to Märklin-Motorola (TRIX to DCC), which ends at 320: a three-way turnout
    // cannot start there.
    ASSERT_EQ(ProtocolOf(doc), DigitalProtocol::MarklinMotorola);
    LayoutDocument trix;
    TrackBuilder(trix).Place("62612");
    EXPECT_EQ(ProtocolOf(trix), DigitalProtocol::Dcc);
    const UndoSnapshot before = doc.Snapshot();
    EXPECT_NE(SetAccessoryAddress(doc, threeWay, 320), "");
    EXPECT_NE(SetAccessoryAddress(doc, after, 321), "");
    EXPECT_EQ(doc.Snapshot(), before);
    EXPECT_EQ(SetAccessoryAddress(doc, threeWay, 319), "");
}

TEST_F(AddressesTest, TypedAddressesSetDrivesAndRefuseNonsense) {
    const uint32_t slip = track.Place("24624", 0, 0, 0);
    const uint32_t threeWay = track.Place("24630", 500, 0, 0);
    ASSERT_EQ(SetAddressFromText(doc, slip, " 5-6 "), "");
    EXPECT_EQ(AddressFieldText(doc, slip), "5-6");
    ASSERT_EQ(SetAddressFromText(doc, slip, "5"), "");
    EXPECT_EQ(AddressFieldText(doc, slip), "5");
    ASSERT_EQ(SetAddressFromText(doc, threeWay, "8"), "");
    EXPECT_EQ(AddressFieldText(doc, threeWay), "8-9");
    const UndoSnapshot before = doc.Snapshot();
    for (const char* bad : {"x", "5-", "5-x", "1234567", "0", "3 4"})
        EXPECT_NE(SetAddressFromText(doc, slip, bad), "") << bad;
    EXPECT_EQ(doc.Snapshot(), before);
    ASSERT_EQ(SetAddressFromText(doc, slip, ""), "");
    EXPECT_EQ(doc.control.Find(slip), nullptr);
}

TEST_F(AddressesTest, CheckFindsSharedAndOutOfRangeAddresses) {
    const uint32_t a = track.Place("24612", 0, 0, 0);
    const uint32_t b = track.Place("24630", 500, 0, 0);
    const uint32_t c = track.Place("24612", 1000, 0, 0);
    const uint32_t d = track.Place("24612", 1500, 0, 0);
    // Without a control plan nothing is said about addresses.
    EXPECT_TRUE(Findings(FindingKind::NoAddress).empty());

    // Files may hold anything; the plan is set directly as a reader would.
    doc.control.Set({a, 5, 1});
    doc.control.Set({b, 4, 1});  // 4 and 5: shares 5 with a
    doc.control.Set({c, 400, 1});
    const auto shared = Findings(FindingKind::DuplicateAddress);
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_EQ(std::set<uint32_t>(shared[0].pieces.begin(), shared[0].pieces.end()),
              (std::set<uint32_t>{a, b}));
    EXPECT_EQ(shared[0].severity, FindingSeverity::Error);
    const auto range = Findings(FindingKind::AddressOutOfRange);
    ASSERT_EQ(range.size(), 1u);
    EXPECT_EQ(range[0].pieces, std::vector<uint32_t>{c});
    const auto missing = Findings(FindingKind::NoAddress);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].pieces, std::vector<uint32_t>{d});
    // Under DCC 400 is fine.
    doc.control.protocol = DigitalProtocol::Dcc;
    EXPECT_TRUE(Findings(FindingKind::AddressOutOfRange).empty());
}

TEST_F(AddressesTest, AddressListListsEveryAccessoryOnce) {
    const uint32_t threeWay = track.Place("24630", 0, 0, 0);
    track.Place("24612", 500, 0, 0);
    track.Place("24997", 800, 0, 0);  // uncoupler
    track.Place("24624", 1200, 0, 0);
    track.Place("24188", 1600, 0, 0);
    track.Place("24640", 2000, 0, 0);  // crossing: no drive
    ASSERT_EQ(SetAccessoryAddress(doc, threeWay, 7), "");

    const std::vector<AddressListRow> rows = AddressListRows(doc);
    ASSERT_EQ(rows.size(), 4u);
    std::set<uint32_t> pieces;
    for (const AddressListRow& r : rows) pieces.insert(r.piece);
    EXPECT_EQ(pieces.size(), rows.size());
    EXPECT_EQ(rows[0].addressText, "7-8");
    EXPECT_EQ(rows[0].kind, "Three-way turnout");

    std::string csv, text;
    WriteAddressList(doc, AddressListFormat::Csv, csv);
    WriteAddressList(doc, AddressListFormat::Text, text);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "Address,Article,Kind,Position (mm),Level,Section");
    EXPECT_NE(csv.find("7-8,24630,Three-way turnout,\""), std::string::npos) << csv;
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
}

TEST_F(AddressesTest, LayoutWithoutAddressesIsWrittenAsBeforeAndAPlanRoundTrips) {
    const uint32_t a = track.Place("24612", 0, 0, 0);
    const uint32_t b = track.Place("24624", 300, 0, 0);
    const std::string plain = LayoutToText(doc, "Plain");
    EXPECT_EQ(plain.find("<control"), std::string::npos);
    // An address whose piece is gone leaves nothing behind.
    LayoutDocument stale = doc;
    stale.control.Set({a + 100, 4, 1});
    EXPECT_EQ(LayoutToText(stale, "Plain"), plain);
    // Once the plan holds a real address, only the control element is added.
    ASSERT_EQ(SetAccessoryAddress(doc, a, 4), "");
    const std::string planned = LayoutToText(doc, "Plain");
    const std::string tail = "</layout>\n";
    ASSERT_EQ(planned.substr(0, plain.size() - tail.size()),
              plain.substr(0, plain.size() - tail.size()));
    EXPECT_EQ(planned.substr(plain.size() - tail.size()),
              "  <control protocol=\"-1\">\n    <address piece=\"" + std::to_string(a) +
                  "\" addr=\"4\" drives=\"1\"/>\n  </control>\n</layout>\n");
    // Two-address pieces and the protocol come back as written.
    ASSERT_EQ(SetAccessoryAddress(doc, b, 9, 2), "");
    SetProtocol(doc, DigitalProtocol::Dcc);
    const std::string text = LayoutToText(doc, "Station");
    LayoutDocument again;
    std::string name;
    ASSERT_EQ(LoadLayoutFromText(again, text, &name), "");
    EXPECT_EQ(again.control, doc.control);
    EXPECT_EQ(LayoutToText(again, name), text);
}

TEST_F(AddressesTest, ReaderRefusesBadControlLinesWithTheirLineNumber) {
    const uint32_t a = track.Place("24612", 0, 0, 0);
    ASSERT_EQ(SetAccessoryAddress(doc, a, 4), "");
    const std::string good = LayoutToText(doc, "X");
    const size_t at = good.find("<address ");
    const std::string address = good.substr(at, good.find('\n', at) - at);
    // Each fault is reported on the line that ends the replaced text: a repeated address line on
    // the second one, a bad protocol on the <control> line.
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"addr=\"4\"", "addr=\"0\""},
                                                          {"addr=\"4\"", "addr=\"x\""},
                                                          {"addr=\"4\"", ""},
                                                          {"drives=\"1\"", "drives=\"3\""},
                                                          {address, address + "\n    " + address},
                                                          {"protocol=\"-1\"", "protocol=\"7\""}}) {
        std::string bad = good;
        const size_t where = bad.find(from);
        bad.replace(where, from.size(), to);
        const long line = std::count(bad.begin(), bad.begin() + long(where + to.size()), '\n') + 1;
        LayoutDocument target;
        TrackBuilder(target).Place("24188");
        const std::string before = LayoutToText(target, "T");
        std::string name = "T";
        const std::string error = LoadLayoutFromText(target, bad, &name);
        EXPECT_EQ(error.rfind("Line " + std::to_string(line) + ":", 0), 0u) << to << ": " << error;
        EXPECT_EQ(LayoutToText(target, name), before);
    }
}

}  // namespace
