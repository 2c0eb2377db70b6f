// Address findings over the control plan.
#include "layoutcheck/AddressChecks.h"

#include <map>

#include "base/Format.h"
#include "base/Translate.h"
#include "control/AssignAddresses.h"
#include "layoutcheck/Finding.h"
#include "layoutcheck/TrackChecks.h"

void CheckAddresses(const LayoutDocument& doc, std::vector<LayoutFinding>& out) {
    if (!doc.control.Exists()) return;
    const DigitalProtocol protocol = ProtocolOf(doc);
    const int32_t max = MaxAddress(protocol);
    std::map<int32_t, std::vector<uint32_t>> users;  // address -> pieces taking it
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) continue;
        const AccessoryKind kind = AccessoryKindOf(*def);
        if (kind == AccessoryKind::None) continue;
        const AccessoryAddress* a = doc.control.Find(p.id);
        if (!a) {
            if (kind != AccessoryKind::Uncoupler) {
                const PointMm at = AccessoryCentre(doc, p.id);
                out.push_back(
                    Finding(FindingKind::NoAddress, FindingSeverity::Warning, {p.id}, at.x, at.y,
                            Format(Tr("Turnout %s %s has no address").c_str(), p.article.c_str(),
                                   PlaceText(p.x, p.y, doc.units).c_str())));
            }
            continue;
        }
        const int32_t count = AddressCount(kind, a->drives);
        if (a->address < 1 || a->address + count - 1 > max) {
            const std::string shown =
                count > 1 ? Format("%d-%d", a->address, a->address + count - 1)
                          : Format("%d", a->address);
            const PointMm at = AccessoryCentre(doc, p.id);
            out.push_back(Finding(
                FindingKind::AddressOutOfRange, FindingSeverity::Error, {p.id}, at.x, at.y,
                Format(Tr("Address %s of %s lies outside the %s range 1 to %d").c_str(),
                       shown.c_str(), p.article.c_str(), ProtocolName(protocol).c_str(), max)));
        }
        for (int32_t k = 0; k < count; ++k) users[a->address + k].push_back(p.id);
    }
    // One finding per set of accessories that share numbers.
    std::map<std::vector<uint32_t>, std::vector<int32_t>> shared;
    for (const auto& [address, pieces] : users)
        if (pieces.size() > 1) shared[pieces].push_back(address);
    for (const auto& [pieces, addresses] : shared) {
        const PointMm at = AccessoryCentre(doc, pieces.front());
        std::string list;
        for (int32_t a : addresses) list += (list.empty() ? "" : ", ") + std::to_string(a);
        out.push_back(Finding(FindingKind::DuplicateAddress, FindingSeverity::Error, pieces, at.x,
                              at.y,
                              Format(Tr("%d accessories share address %s").c_str(),
                                     static_cast<int>(pieces.size()), list.c_str())));
    }
}
