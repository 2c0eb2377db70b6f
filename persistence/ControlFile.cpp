// Writer and reader of the control plan's elements.
#include "persistence/ControlFile.h"

#include <algorithm>

#include "persistence/FileElements.h"

namespace {

// The <control> line: the protocol, -1 while the track system decides it.
struct ControlElement {
    static constexpr std::string_view kTag = "control";
    template <class V, class P>
    static void Attributes(V& v, P& protocol) {
        v.Int("protocol", protocol, -1, 1);
    }
};

struct AddressElement {
    static constexpr std::string_view kTag = "address";
    template <class V, class A>
    static void Attributes(V& v, A& a) {
        v.Id("piece", a.piece);
        v.Int("addr", a.address, 1, 65535);
        v.OptionalInt("drives", a.drives, 1, 2, 1);
    }
};

int32_t FileProtocol(const ControlPlan& plan) {
    return plan.protocol ? static_cast<int32_t>(*plan.protocol) : -1;
}

bool Contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

}  // namespace

void AppendControlPlan(std::string& out, const ControlPlan& plan,
                       const std::unordered_set<uint32_t>& pieceIds) {
    bool any = plan.protocol.has_value();
    for (const AccessoryAddress& a : plan.addresses) any = any || pieceIds.count(a.piece);
    if (!any) return;
    const int32_t protocol = FileProtocol(plan);
    AppendElement<ControlElement>(out, "  ", ">\n", protocol);
    for (const AccessoryAddress& a : plan.addresses)
        if (pieceIds.count(a.piece)) AppendElement<AddressElement>(out, "    ", "/>\n", a);
    out += "  </control>\n";
}

bool ControlPlanReader::Line(std::string_view line, int lineNumber, std::string* error) {
    if (Contains(line, "<control ")) {
        inControl_ = found_ = true;
        LineFields f(line, lineNumber, ControlElement::kTag, error);
        int32_t protocol = -1;
        if (!ReadElement<ControlElement>(f, FileReader::Layout, protocol)) return false;
        plan_.protocol.reset();
        if (protocol >= 0) plan_.protocol = static_cast<DigitalProtocol>(protocol);
    }
    if (Contains(line, "</control>")) {
        inControl_ = false;
        return true;
    }
    if (!inControl_ || !Contains(line, "<address ")) return true;
    LineFields f(line, lineNumber, AddressElement::kTag, error);
    AccessoryAddress a;
    if (!ReadElement<AddressElement>(f, FileReader::Layout, a)) return false;
    if (!pieces_.insert(a.piece).second)
        return f.Fail(Format(Tr("piece %u has two addresses").c_str(), a.piece));
    plan_.addresses.push_back(a);
    return true;
}

ControlPlan ControlPlanReader::Take(const std::unordered_set<uint32_t>& pieceIds) {
    ControlPlan plan = std::move(plan_);
    std::erase_if(plan.addresses,
                  [&](const AccessoryAddress& a) { return !pieceIds.count(a.piece); });
    std::sort(plan.addresses.begin(), plan.addresses.end(),
              [](const AccessoryAddress& a, const AccessoryAddress& b) { return a.piece < b.piece; });
    return plan;
}
