// The control plan in layout files: a <control> element after the helices with one <address>
// line per numbered accessory, written only when the layout has a plan.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "control/ControlPlan.h"

// Appends the <control> element; nothing when the plan does not exist. Addresses of pieces not
// in `pieceIds` are left out.
void AppendControlPlan(std::string& out, const ControlPlan& plan,
                       const std::unordered_set<uint32_t>& pieceIds);

// Reads the <control> element line by line. Line() is given every line of the layout outside the
// piece list; it returns false with "Line <n>: ..." in `error` for a malformed line, or for a
// piece given two addresses.
class ControlPlanReader {
public:
    bool Line(std::string_view line, int lineNumber, std::string* error);
    // Whether the file had a <control> element.
    bool Found() const { return found_; }
    // The plan read, without the addresses of pieces not in `pieceIds`.
    ControlPlan Take(const std::unordered_set<uint32_t>& pieceIds);

private:
    ControlPlan plan_;
    std::unordered_set<uint32_t> pieces_;
    bool inControl_ = false;
    bool found_ = false;
};
