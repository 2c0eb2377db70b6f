// Findings the user has chosen not to see again for this session. A finding is known by its
// kind and its pieces, so an edit that changes its numbers (a gap closing a little) keeps it
// ignored, while the same fault on other pieces is shown.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "layoutcheck/LayoutCheck.h"

class IgnoredFindings {
public:
    void Ignore(const LayoutFinding& finding);
    bool IsIgnored(const LayoutFinding& finding) const;
    // Forgets every ignored finding (another layout was opened or begun).
    void Clear() { keys.clear(); }
    size_t Size() const { return keys.size(); }
    // The findings not ignored, in their order; `hidden` receives how many were left out.
    std::vector<LayoutFinding> Visible(const std::vector<LayoutFinding>& findings,
                                       int* hidden = nullptr) const;

private:
    static std::string Key(const LayoutFinding& finding);
    std::set<std::string> keys;
};
