// Numbering the accessories of a layout, and the document operations that change addresses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "control/ControlPlan.h"
#include "model/PlacedPiece.h"

class LayoutDocument;
class TrackGraph;

enum class AddressOrder : int32_t {
    ByPosition = 0,  // row by row: top to bottom, then left to right
    ByStation = 1,   // turnouts joined to each other together, groups in row order
};

struct AddressOptions {
    int32_t first = 1;  // the lowest number given
    AddressOrder order = AddressOrder::ByPosition;
    // Accessories whose centres lie within this height of a row's first one share the row.
    double rowHeightMm = 150;
    // Two accessories belong to one station group when plain track of at most this length joins
    // them (0: only when they are joined directly).
    double groupGapMm = 400;
};

// The addresses AssignAddresses gives, one entry per newly numbered piece.
struct AddressAssignment {
    std::vector<AccessoryAddress> added;
    // Accessories left without a number because the protocol's range ran out.
    int32_t unassigned = 0;
};

// Gives every accessory without an address the next free numbers from options.first on, in the
// order the options ask for. Addresses already in the plan are never changed, and no number they
// use is given again.
AddressAssignment AssignAddresses(const LayoutDocument& doc, const TrackGraph& graph,
                                  const AddressOptions& options);

// Adds the assignment to the plan as one undo step; false (and no step) when it is empty.
bool ApplyAddresses(LayoutDocument& doc, const AddressAssignment& assignment);

// Sets the address of one accessory as one undo step. `address` 0 removes it. Refused, with the
// reason and nothing changed, when the piece is no accessory or the address (with the ones
// after it the piece takes) lies outside the protocol's range.
std::string SetAccessoryAddress(LayoutDocument& doc, uint32_t piece, int32_t address,
                                int32_t drives = 1);

// The address field of the properties panel: "5", "5-6" for two addresses, "" without one.
std::string AddressFieldText(const LayoutDocument& doc, uint32_t piece);
// Whether the piece takes an address (the field is shown).
bool TakesAddress(const LayoutDocument& doc, uint32_t piece);
// Sets the address typed into the field: a number, two ("5-6": the second is what a two-address
// piece takes; for a double slip it means a drive at each end), or nothing to remove it.
// Refused, with the reason and nothing changed, for text that is no address and as
// SetAccessoryAddress refuses.
std::string SetAddressFromText(LayoutDocument& doc, uint32_t piece, const std::string& text);

// Sets the protocol as one undo step; false when it already was the chosen one.
bool SetProtocol(LayoutDocument& doc, DigitalProtocol protocol);

// The centre of a piece's connectors, mm; its position when the article is unknown.
PointMm AccessoryCentre(const LayoutDocument& doc, uint32_t piece);
