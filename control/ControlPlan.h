// The control plan of a layout: the digital protocol and the accessory address of every turnout
// and uncoupler, and which pieces are accessories and how many addresses each takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalog/TrackCatalog.h"

class LayoutDocument;

// The digital protocol the accessory decoders speak. Stored as an integer in files.
enum class DigitalProtocol : int32_t {
    MarklinMotorola = 0,  // keyboard addresses 1 to 320
    Dcc = 1,              // accessory addresses 1 to 2044
};

// The highest address of the protocol (the lowest is 1).
int32_t MaxAddress(DigitalProtocol protocol);
// "Märklin-Motorola" or "DCC".
std::string ProtocolName(DigitalProtocol protocol);

// The first address of one accessory; pieces that take two addresses take `address` and the one
// after it.
struct AccessoryAddress {
    uint32_t piece = 0;
    int32_t address = 0;
    // Only for a double slip: 2 when it has a drive for each end, else 1.
    int32_t drives = 1;
    bool operator==(const AccessoryAddress&) const = default;
};

struct ControlPlan {
    // Unset until the user picks one: the layout's track system decides (DefaultProtocol).
    std::optional<DigitalProtocol> protocol;
    // Sorted by piece id, one entry per piece.
    std::vector<AccessoryAddress> addresses;

    // A layout has a control plan once a protocol was chosen or an address was given.
    bool Exists() const { return protocol.has_value() || !addresses.empty(); }
    // The entry of the piece, or null.
    const AccessoryAddress* Find(uint32_t piece) const;
    // Replaces or adds the entry of address.piece, keeping the order.
    void Set(const AccessoryAddress& address);
    // Removes the entry of the piece; false when it had none.
    bool Remove(uint32_t piece);
    bool operator==(const ControlPlan&) const = default;
};

// What kind of accessory a piece is.
enum class AccessoryKind : int32_t {
    None = 0,  // plain track, crossings, bumpers, turntables
    Turnout,
    CurvedTurnout,
    ThreeWayTurnout,
    DoubleSlip,
    Uncoupler,
};
AccessoryKind AccessoryKindOf(const PieceDef& def);
// "Left turnout", "Three-way turnout", "Uncoupler", ... ("" for None), in English; pass through
// Tr where a person reads it.
std::string AccessoryKindName(AccessoryKind kind, const PieceDef& def);
// How many consecutive addresses the piece takes: 2 for a three-way turnout and a double slip
// with two drives, 1 for other accessories, 0 for track that is no accessory.
int32_t AddressCount(AccessoryKind kind, int32_t drives = 1);

// The protocol a layout's track system implies: Märklin-Motorola when most of its known pieces
// are Märklin C or K track, DCC otherwise (TRIX C, Z and N).
DigitalProtocol DefaultProtocol(const LayoutDocument& doc);
// The chosen protocol, or the default.
DigitalProtocol ProtocolOf(const LayoutDocument& doc);
