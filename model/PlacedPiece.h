// A track piece on the layout with the joints of its connectors, and the small value types the
// document's records share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// "None" in an id field: all bits set.
inline constexpr uint32_t kNoId = 0xFFFFFFFFu;

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

struct PointMm {
    double x = 0;
    double y = 0;
    bool operator==(const PointMm&) const = default;
};

// The piece joined at one connector; both fields kNoId when the connector is open.
struct Joint {
    uint32_t target = kNoId;
    uint32_t targetConn = kNoId;
    bool IsOpen() const { return target == kNoId; }
    bool operator==(const Joint&) const = default;
};

struct PlacedPiece {
    uint32_t id = 0;
    std::string article;
    double x = 0;  // position of connector 0, mm
    double y = 0;
    double heading = 0;  // degrees
    bool selected = false;
    double elevation = 0;  // mm above the base
    double grade = 0;
    bool hasColour = false;
    Rgb colour;
    int32_t level = 1;
    uint32_t helixId = kNoId;
    std::vector<Joint> joints;  // one per connector, by connector number

    // True when connector i has no joint (also when i is beyond `joints`).
    bool IsOpen(int i) const {
        return i < 0 || i >= static_cast<int>(joints.size()) || joints[i].IsOpen();
    }
    bool operator==(const PlacedPiece&) const = default;
};
