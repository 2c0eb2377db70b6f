// Findings hidden for the session.
#include "layoutcheck/IgnoredFindings.h"

#include <algorithm>

std::string IgnoredFindings::Key(const LayoutFinding& finding) {
    std::vector<uint32_t> pieces = finding.pieces;
    std::sort(pieces.begin(), pieces.end());
    std::string key = std::to_string(static_cast<int32_t>(finding.kind));
    for (uint32_t id : pieces) key += ' ' + std::to_string(id);
    return key;
}

void IgnoredFindings::Ignore(const LayoutFinding& finding) { keys.insert(Key(finding)); }

bool IgnoredFindings::IsIgnored(const LayoutFinding& finding) const {
    return keys.count(Key(finding)) != 0;
}

std::vector<LayoutFinding> IgnoredFindings::Visible(const std::vector<LayoutFinding>& findings,
                                                    int* hidden) const {
    std::vector<LayoutFinding> out;
    int left = 0;
    for (const LayoutFinding& f : findings) {
        if (IsIgnored(f))
            ++left;
        else
            out.push_back(f);
    }
    if (hidden) *hidden = left;
    return out;
}
