// The one way the check's rules make a finding.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "layoutcheck/LayoutCheck.h"

// A finding of `kind` about `pieces`, shown at (x, y) layout mm.
inline LayoutFinding Finding(FindingKind kind, FindingSeverity severity,
                             std::vector<uint32_t> pieces, double x, double y, std::string text) {
    LayoutFinding f;
    f.kind = kind;
    f.severity = severity;
    f.pieces = std::move(pieces);
    f.x = x;
    f.y = y;
    f.text = std::move(text);
    return f;
}
