// The control plan's lookups and the accessory kinds of catalog pieces.
#include "control/ControlPlan.h"

#include <algorithm>

#include "base/Translate.h"
#include "model/LayoutDocument.h"

int32_t MaxAddress(DigitalProtocol protocol) {
    return protocol == DigitalProtocol::MarklinMotorola ? 320 : 2044;
}

std::string ProtocolName(DigitalProtocol protocol) {
    return protocol == DigitalProtocol::MarklinMotorola ? "M\u00e4rklin-Motorola" : "DCC";
}

namespace {

auto LowerBound(const std::vector<AccessoryAddress>& list, uint32_t piece) {
    return std::lower_bound(list.begin(), list.end(), piece,
                            [](const AccessoryAddress& a, uint32_t id) { return a.piece < id; });
}

}  // namespace

const AccessoryAddress* ControlPlan::Find(uint32_t piece) const {
    auto it = LowerBound(addresses, piece);
    return it != addresses.end() && it->piece == piece ? &*it : nullptr;
}

void ControlPlan::Set(const AccessoryAddress& address) {
    auto it = LowerBound(addresses, address.piece);
    if (it != addresses.end() && it->piece == address.piece)
        addresses[it - addresses.begin()] = address;
    else
        addresses.insert(it, address);
}

bool ControlPlan::Remove(uint32_t piece) {
    auto it = LowerBound(addresses, piece);
    if (it == addresses.end() || it->piece != piece) return false;
    addresses.erase(it);
    return true;
}

AccessoryKind AccessoryKindOf(const PieceDef& def) {
    switch (def.kind) {
        case PieceKind::LeftTurnout:
        case PieceKind::RightTurnout:
            // The three-way turnout is a left turnout with a third leg.
            return def.connectors.size() >= 4 ? AccessoryKind::ThreeWayTurnout
                                              : AccessoryKind::Turnout;
        case PieceKind::CurvedTurnout:
        case PieceKind::CurvedTurnoutK:
            return AccessoryKind::CurvedTurnout;
        case PieceKind::DoubleSlip:
            return AccessoryKind::DoubleSlip;
        case PieceKind::Straight:
            return def.name.find("Uncoupler") != std::string::npos ? AccessoryKind::Uncoupler
                                                                    : AccessoryKind::None;
        default:
            return AccessoryKind::None;
    }
}

std::string AccessoryKindName(AccessoryKind kind, const PieceDef& def) {
    switch (kind) {
        case AccessoryKind::None:
            return {};
        case AccessoryKind::Turnout:
            return def.kind == PieceKind::LeftTurnout ? TR_NOOP("Left turnout") : TR_NOOP("Right turnout");
        case AccessoryKind::CurvedTurnout:
            return TR_NOOP("Curved turnout");
        case AccessoryKind::ThreeWayTurnout:
            return TR_NOOP("Three-way turnout");
        case AccessoryKind::DoubleSlip:
            return TR_NOOP("Double slip");
        case AccessoryKind::Uncoupler:
            return TR_NOOP("Uncoupler");
    }
    return {};
}

int32_t AddressCount(AccessoryKind kind, int32_t drives) {
    switch (kind) {
        case AccessoryKind::None:
            return 0;
        case AccessoryKind::ThreeWayTurnout:
            return 2;
        case AccessoryKind::DoubleSlip:
            return drives >= 2 ? 2 : 1;
        default:
            return 1;
    }
}

DigitalProtocol DefaultProtocol(const LayoutDocument& doc) {
    int marklin = 0, other = 0;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) continue;
        const bool mm = def->system == TrackSystem::MarklinC || def->system == TrackSystem::MarklinK;
        ++(mm ? marklin : other);
    }
    return marklin >= other && marklin > 0 ? DigitalProtocol::MarklinMotorola
                                           : (other > 0 ? DigitalProtocol::Dcc
                                                        : DigitalProtocol::MarklinMotorola);
}

DigitalProtocol ProtocolOf(const LayoutDocument& doc) {
    return doc.control.protocol ? *doc.control.protocol : DefaultProtocol(doc);
}
