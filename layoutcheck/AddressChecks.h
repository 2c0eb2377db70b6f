// The rules of the layout check about accessory addresses: shared, out of range, missing.
#pragma once

#include <vector>

#include "layoutcheck/LayoutCheck.h"

// DuplicateAddress and AddressOutOfRange for every numbered accessory; NoAddress for turnouts
// without one, only once the layout has a control plan.
void CheckAddresses(const LayoutDocument& doc, std::vector<LayoutFinding>& out);
