// The level manager's operations on the document.
#include "dialogs/LevelEdit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "base/Format.h"
#include "base/Translate.h"
#include "trackgeometry/Units.h"

namespace {

constexpr Rgb kLevelColours[6] = {{180, 200, 220}, {220, 180, 180}, {180, 220, 180},
                                  {220, 210, 160}, {200, 180, 220}, {160, 220, 220}};

bool IsFlat(const PlacedPiece& p) { return std::fabs(p.grade) < 0.001; }

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Helices whose inner bottom piece lies on the level.
std::unordered_set<uint32_t> HelicesStartingOn(const LayoutDocument& doc, uint32_t levelId) {
    std::unordered_set<uint32_t> ids;
    for (const Helix& h : doc.helices) {
        const PlacedPiece* bottom = doc.FindPiece(h.bottomR1);
        if (bottom && bottom->level == static_cast<int32_t>(levelId)) ids.insert(h.id);
    }
    return ids;
}

}  // namespace

Rgb NewLevelColour(uint32_t id) { return kLevelColours[(id + 5) % 6]; }

uint32_t NextLevelId(const LayoutDocument& doc) {
    uint32_t highest = 0;
    for (const Level& l : doc.levels) highest = std::max(highest, l.id);
    return highest + 1;
}

std::string ProposedLevelName(const LayoutDocument& doc) {
    return "Level " + std::to_string(NextLevelId(doc));
}

uint32_t AddLevel(LayoutDocument& doc, const std::string& name) {
    if (name.empty()) return 0;
    Level level;
    level.id = NextLevelId(doc);
    level.name = name;
    level.visible = true;
    level.height = 0;
    level.colourTrack = false;
    level.colour = NewLevelColour(level.id);
    doc.levels.push_back(level);
    doc.activeLevel = level.id;
    return level.id;
}

std::string FormatLevelHeight(double heightMm, int units) {
    char buf[64];
    if (units == 1)
        std::snprintf(buf, sizeof buf, "%.1f cm", heightMm / 10.0);
    else if (units == 2)
        std::snprintf(buf, sizeof buf, "%.2f in", heightMm / 25.4);
    else
        std::snprintf(buf, sizeof buf, "%.0f mm", heightMm);
    return buf;
}

HeightField HeightFieldFor(int units) {
    if (units == 1) return {1000, 1, LengthDigits(units)};
    if (units == 2) return {400, 0.1, LengthDigits(units)};
    return {10000, 1, LengthDigits(units)};
}

bool ApplyLevelEdit(LayoutDocument& doc, uint32_t levelId, const LevelEdit& edit) {
    Level* level = doc.FindLevel(levelId);
    if (!level || !(edit.heightMm >= 0)) return false;
    const std::string name = Trim(edit.name);
    if (!name.empty()) level->name = name;
    const bool moved = level->height != edit.heightMm;
    level->height = edit.heightMm;
    level->colourTrack = edit.colourTrack;
    level->colour = edit.colour;
    // A flat piece whose own height was set apart from its level keeps it unless the level
    // itself moves.
    if (!moved) return true;
    for (PlacedPiece& p : doc.pieces) {
        if (p.level == static_cast<int32_t>(levelId) && p.helixId == kNoId && IsFlat(p))
            p.elevation = edit.heightMm;
    }
    return true;
}

LevelContents CountLevelContents(const LayoutDocument& doc, uint32_t levelId) {
    const auto onLevel = [levelId](int32_t level) {
        return level == static_cast<int32_t>(levelId);
    };
    LevelContents c;
    c.pieces = static_cast<int>(std::count_if(doc.pieces.begin(), doc.pieces.end(), [&](auto& p) {
        return p.helixId == kNoId && onLevel(p.level);
    }));
    c.scenery = static_cast<int>(std::count_if(doc.scenery.begin(), doc.scenery.end(),
                                               [&](auto& s) { return onLevel(s.level); }));
    c.helices = static_cast<int>(HelicesStartingOn(doc, levelId).size());
    return c;
}

std::string RemoveLevelQuestion(const std::string& name, const LevelContents& c) {
    return Format(Tr("Remove level \"%s\"?\n\nThis will PERMANENTLY DELETE everything on this "
                     "level:\n    \u2022 %d track piece(s)\n    \u2022 %d scenery item(s)\n    "
                     "\u2022 %d helix/helices\n\nThis cannot be undone from this dialog. Are you "
                     "sure?")
                      .c_str(),
                  name.c_str(), c.pieces, c.scenery, c.helices);
}

bool RemoveLevel(LayoutDocument& doc, uint32_t levelId) {
    if (doc.levels.size() < 2 || !doc.FindLevel(levelId)) return false;
    const auto level = static_cast<int32_t>(levelId);
    const std::unordered_set<uint32_t> helices = HelicesStartingOn(doc, levelId);
    std::unordered_set<uint32_t> doomed;
    for (const PlacedPiece& p : doc.pieces) {
        if (p.helixId != kNoId ? helices.count(p.helixId) > 0 : p.level == level)
            doomed.insert(p.id);
    }
    for (PlacedPiece& p : doc.pieces) {
        for (Joint& j : p.joints) {
            if (doomed.count(j.target)) j = Joint{};
        }
    }
    doc.pieces.EraseIf([&](const PlacedPiece& p) { return doomed.count(p.id) > 0; });
    doc.wiring.DropPieces([&](uint32_t id) { return doomed.count(id) > 0; });
    std::erase_if(doc.helices, [&](const Helix& h) { return helices.count(h.id) > 0; });
    std::erase_if(doc.scenery, [&](const SceneryItem& s) { return s.level == level; });
    const size_t runs = doc.gradeRuns.size();
    std::erase_if(doc.gradeRuns, [&](const GradeRun& r) {
        return r.anchorPiece >= 0 && doomed.count(static_cast<uint32_t>(r.anchorPiece));
    });
    if (runs != doc.gradeRuns.size()) doc.RefreshCurrentGrade();
    std::erase_if(doc.levels, [&](const Level& l) { return l.id == levelId; });
    if (doc.activeLevel == levelId || !doc.FindLevel(doc.activeLevel))
        doc.activeLevel = doc.levels.front().id;
    return true;
}
