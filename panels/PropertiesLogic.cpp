// What the properties panel shows for a selection, and the edits it makes to the document.
#include "panels/PropertiesLogic.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <deque>
#include <unordered_set>

#include "catalog/ArticleNames.h"
#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "trackgeometry/Units.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"

namespace {

bool IsFlat(double gradeDeg) { return std::fabs(gradeDeg) <= kFlatGradeDeg; }

double LevelHeight(const LayoutDocument& doc, int32_t levelId) {
    const Level* level = doc.FindLevel(static_cast<uint32_t>(levelId));
    return level ? level->height : 0.0;
}

// The selected pieces of the run joined to `piece`, each once.
std::vector<uint32_t> RunNeighbours(const PlacedPiece& piece,
                                    const std::unordered_set<uint32_t>& run) {
    std::vector<uint32_t> out;
    for (const Joint& j : piece.joints) {
        if (j.IsOpen() || j.target == piece.id || !run.count(j.target)) continue;
        if (std::find(out.begin(), out.end(), j.target) == out.end()) out.push_back(j.target);
    }
    return out;
}

const HelixVariant* VariantOrDefault(const Helix& helix) {
    if (const HelixVariant* v = FindHelixVariant(helix.variant)) return v;
    return FindHelixVariant(DefaultHelixVariantId());
}

// The first piece of a helix: its inner bottom end, else any piece that carries its id.
const PlacedPiece* FirstHelixPiece(const LayoutDocument& doc, const Helix& helix) {
    if (const PlacedPiece* p = doc.FindPiece(helix.bottomR1)) return p;
    for (const PlacedPiece& p : doc.pieces) {
        if (p.helixId == helix.id) return &p;
    }
    return nullptr;
}

// Gives every piece reachable from the start pieces through joints, not crossing helix track,
// the level and, when flat, the height. Helix pieces themselves are left alone.
void SpreadLevel(LayoutDocument& doc, const std::vector<uint32_t>& starts, int32_t levelId,
                 double heightMm) {
    std::unordered_set<uint32_t> seen(starts.begin(), starts.end());
    std::deque<uint32_t> queue(starts.begin(), starts.end());
    while (!queue.empty()) {
        PlacedPiece* piece = doc.FindPiece(queue.front());
        queue.pop_front();
        if (!piece) continue;
        if (piece->helixId == kNoId) {
            piece->level = levelId;
            if (IsFlat(piece->grade)) piece->elevation = heightMm;
        }
        for (const Joint& j : piece->joints) {
            if (j.IsOpen() || seen.count(j.target)) continue;
            const PlacedPiece* next = doc.FindPiece(j.target);
            if (!next || next->helixId != kNoId) continue;
            seen.insert(j.target);
            queue.push_back(j.target);
        }
    }
}

}  // namespace

std::string GradeValueText(double gradeDeg) {
    if (std::fabs(gradeDeg) <= kFlatGradeDeg) return "-";
    const double magnitude = std::fabs(gradeDeg);
    return Format(Tr("%s%.2f deg (%.1f%%)").c_str(), gradeDeg >= 0 ? "+" : "-", magnitude,
                  GradePercentShown(magnitude));
}

std::string GradeWarningText(double gradeDeg) {
    if (std::fabs(gradeDeg) <= kMaxGradeDeg) return "";
    return Format(Tr("WARNING: Grade %.1f deg exceeds %.0f deg max!").c_str(), std::fabs(gradeDeg),
                  kMaxGradeDeg);
}

std::string HeightLabelText(int units) {
    return Format(Tr("Height (%s):").c_str(), UnitName(units).c_str());
}

std::string FormatHeightEntry(double mm, int units) {
    return Format("%.*f", LengthDigits(units), mm / UnitFactor(units));
}

bool ParseHeightEntry(std::string_view text, int units, double* mm) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    std::string number(text);
    if (!number.empty() && number.front() == '+') number.erase(0, 1);
    // Either decimal point is fine, so users of comma locales can type as they are used to.
    if (std::count(number.begin(), number.end(), ',') == 1 &&
        number.find('.') == std::string::npos) {
        number[number.find(',')] = '.';
    }
    if (number.empty() || number.front() == '+') return false;
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return false;
    const double converted = value * UnitFactor(units);
    if (!std::isfinite(converted)) return false;
    if (mm) *mm = converted;
    return true;
}

bool IsStraightRun(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds) {
    if (pieceIds.size() < 2) return false;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    double firstHeading = 0;
    for (size_t i = 0; i < pieceIds.size(); ++i) {
        const PlacedPiece* p = doc.FindPiece(pieceIds[i]);
        if (!p) return false;
        const PieceDef* def = catalog.Find(p->article);
        if (!def || def->kind != PieceKind::Straight || p->helixId != kNoId) return false;
        if (i == 0) firstHeading = p->heading;
        const double off = std::fmod(std::fabs(p->heading - firstHeading), 180.0);
        if (off > 1.0 && off < 179.0) return false;
    }
    // One connected group through joints between run pieces.
    const std::unordered_set<uint32_t> run(pieceIds.begin(), pieceIds.end());
    std::unordered_set<uint32_t> reached{pieceIds.front()};
    std::vector<uint32_t> stack{pieceIds.front()};
    while (!stack.empty()) {
        const PlacedPiece* p = doc.FindPiece(stack.back());
        stack.pop_back();
        for (uint32_t next : RunNeighbours(*p, run)) {
            if (reached.insert(next).second) stack.push_back(next);
        }
    }
    return reached.size() == run.size();
}

std::vector<uint32_t> OrderRun(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds) {
    const std::unordered_set<uint32_t> run(pieceIds.begin(), pieceIds.end());
    std::vector<uint32_t> order;
    if (pieceIds.empty()) return order;
    uint32_t start = pieceIds.front();
    for (uint32_t id : pieceIds) {
        const PlacedPiece* p = doc.FindPiece(id);
        if (p && RunNeighbours(*p, run).size() == 1) {
            start = id;
            break;
        }
    }
    std::unordered_set<uint32_t> visited;
    for (uint32_t cur = start; cur != kNoId;) {
        order.push_back(cur);
        visited.insert(cur);
        const PlacedPiece* p = doc.FindPiece(cur);
        uint32_t next = kNoId;
        if (p) {
            for (uint32_t n : RunNeighbours(*p, run)) {
                if (!visited.count(n)) {
                    next = n;
                    break;
                }
            }
        }
        cur = next;
    }
    // A branch the walk could not take still gets listed, so every piece appears once.
    for (uint32_t id : pieceIds) {
        if (!visited.count(id)) {
            visited.insert(id);
            order.push_back(id);
        }
    }
    return order;
}

namespace {
// Nothing shown; the hidden height field's label still names the layout's unit.
SelectionView EmptyView(const LayoutDocument& doc) {
    SelectionView view;
    view.heightLabel = HeightLabelText(doc.units);
    return view;
}
}  // namespace

SelectionView BuildPieceView(const LayoutDocument& doc, uint32_t pieceId) {
    SelectionView view = EmptyView(doc);
    const PlacedPiece* piece = doc.FindPiece(pieceId);
    const PieceDef* def = piece ? TrackCatalog::Instance().Find(piece->article) : nullptr;
    if (!def) return view;
    view.kind = SelectionViewKind::Piece;
    view.pieceId = piece->id;
    view.header = ArticleDisplayName(def->name);
    view.info = Tr(TrackSystemShortName(def->system).c_str()) + "  |  ";
    if (def->length > 0) view.info += Format("%.1f mm", def->length);
    view.heightText = FormatHeightEntry(piece->elevation, doc.units);
    view.heightShown = true;
    view.gradeText = GradeValueText(piece->grade);
    view.warning = GradeWarningText(piece->grade);
    view.gradeTooSteep = !view.warning.empty();
    view.levelShown = true;
    view.levelId = piece->level;
    if (!IsFlat(piece->grade)) {
        view.gradeUp = piece->grade > 0;
        view.gradeSpinDeg = std::fabs(piece->grade);
    }
    view.startGradeShown = true;
    view.recalcShown = true;
    view.endGradeShown = doc.currentGrade.hasGrade;
    view.gradeControlsEnabled = true;
    return view;
}

namespace {
// The one value every element gives, or "mixed".
template <typename T, typename F>
std::string Shared(const std::vector<T>& items, F text) {
    if (items.empty()) return "-";
    const std::string first = text(items.front());
    for (const T& item : items)
        if (text(item) != first) return Tr("mixed");
    return first;
}

std::string LevelName(const LayoutDocument& doc, int32_t levelId) {
    const Level* level = levelId > 0 ? doc.FindLevel(static_cast<uint32_t>(levelId)) : nullptr;
    return level ? level->name : Format("%d", levelId);
}
}  // namespace

SelectionView BuildSeveralView(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds,
                               int sceneryCount) {
    SelectionView view = EmptyView(doc);
    view.kind = SelectionViewKind::Several;
    std::vector<const PlacedPiece*> selected;
    for (uint32_t id : pieceIds)
        if (const PlacedPiece* p = doc.FindPiece(id)) selected.push_back(p);
    const int count = static_cast<int>(selected.size());
    // German, like English, has one form for 1 and another for every other count.
    const auto pieces = [](int n) {
        return Format((n == 1 ? Tr("%d piece") : Tr("%d pieces")).c_str(), n);
    };
    const auto items = [](int n) {
        return Format((n == 1 ? Tr("%d scenery item") : Tr("%d scenery items")).c_str(), n);
    };
    if (count > 0 && sceneryCount > 0) {
        view.header = Format(Tr("%s and %s selected").c_str(), pieces(count).c_str(),
                             items(sceneryCount).c_str());
    } else {
        view.header = Format(Tr("%s selected").c_str(),
                             (count > 0 ? pieces(count) : items(sceneryCount)).c_str());
    }
    if (selected.empty()) return view;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const std::string system = Shared(selected, [&](const PlacedPiece* p) {
        const PieceDef* def = catalog.Find(p->article);
        return def ? Tr(TrackSystemShortName(def->system).c_str()) : Tr("unknown");
    });
    const std::string unit = UnitName(doc.units);
    const std::string height = Shared(selected, [&](const PlacedPiece* p) {
        return FormatHeightEntry(p->elevation, doc.units) + " " + unit;
    });
    const std::string grade = Shared(selected, [](const PlacedPiece* p) {
        return IsFlat(p->grade) ? Tr("flat") : GradeValueText(p->grade);
    });
    const std::string level =
        Shared(selected, [&](const PlacedPiece* p) { return LevelName(doc, p->level); });
    view.info = Format(Tr("System: %s\nHeight: %s\nGrade: %s\nLevel: %s").c_str(), system.c_str(),
                       height.c_str(), grade.c_str(), level.c_str());
    return view;
}

SelectionView BuildRunView(const LayoutDocument& doc, const std::vector<uint32_t>& pieceIds) {
    SelectionView view = EmptyView(doc);
    view.kind = SelectionViewKind::Run;
    view.runOrder = OrderRun(doc, pieceIds);
    const TrackCatalog& catalog = TrackCatalog::Instance();
    std::string header;
    double totalMm = 0;
    for (uint32_t id : view.runOrder) {
        const PlacedPiece* p = doc.FindPiece(id);
        if (!p) continue;
        if (!header.empty()) header += " + ";
        header += p->article;
        if (const PieceDef* def = catalog.Find(p->article)) totalMm += def->length;
    }
    view.header = header;
    const double shown = totalMm / UnitFactor(doc.units);
    view.info = Format(Tr("%d pieces").c_str(), static_cast<int>(view.runOrder.size())) + "  |  ";
    switch (doc.units) {
        case kUnitsCm:
            view.info += Format("%.1f cm", shown);
            break;
        case kUnitsInch:
            view.info += Format("%.2f in", shown);
            break;
        default:
            view.info += Format("%.1f mm", shown);
            break;
    }
    return view;
}

SelectionView BuildHelixView(const LayoutDocument& doc, uint32_t helixId) {
    SelectionView view = EmptyView(doc);
    const Helix* helix = doc.FindHelix(helixId);
    if (!helix) return view;
    view.kind = SelectionViewKind::Helix;
    view.helixId = helix->id;
    const HelixVariant* known = FindHelixVariant(helix->variant);
    view.header = known ? known->name : Tr("Helix");
    const std::string unit = UnitName(doc.units);
    if (const HelixVariant* v = VariantOrDefault(*helix)) {
        view.info = Format(Tr("%.1f turns  |  rise %s %s  |  R1 %g / R2 %g mm").c_str(), v->turns,
                           FormatHeightEntry(v->rise, doc.units).c_str(), unit.c_str(),
                           v->radiusInner, v->radiusOuter);
    }
    view.heightLabel = Format(Tr("Base height (%s):").c_str(), unit.c_str());
    const PlacedPiece* first = FirstHelixPiece(doc, *helix);
    view.heightText = FormatHeightEntry(first ? first->elevation : 0.0, doc.units);
    view.levelShown = true;
    view.levelId = first ? first->level : static_cast<int32_t>(doc.activeLevel);
    return view;
}

SelectionView BuildSceneryView(const LayoutDocument& doc, uint32_t sceneryId) {
    SelectionView view = EmptyView(doc);
    const SceneryItem* item = doc.FindScenery(sceneryId);
    if (!item) return view;
    view.kind = SelectionViewKind::Scenery;
    view.sceneryId = item->id;
    const SceneryDef* def = SceneryCatalog::Instance().Find(item->item);
    view.header = def ? def->name : item->item;
    const double width = def ? def->width * item->scaleX : 0.0;
    const double depth = def ? def->depth * item->scaleY : 0.0;
    view.info = Format(Tr("Scenery  |  %.0f x %.0f mm").c_str(), width, depth);
    view.heightLabel = Tr("Height:");
    view.levelShown = true;
    view.levelId = item->level;
    return view;
}

SelectionView BuildSelectionView(const LayoutDocument& doc) {
    std::vector<uint32_t> selected;
    for (const PlacedPiece& p : doc.pieces) {
        if (p.selected) selected.push_back(p.id);
    }
    const bool anyScenery = std::any_of(doc.scenery.begin(), doc.scenery.end(),
                                        [](const SceneryItem& s) { return s.selected; });
    if (!selected.empty()) {
        const uint32_t helixId = doc.FindPiece(selected.front())->helixId;
        const bool oneHelix =
            helixId != kNoId && std::all_of(selected.begin(), selected.end(), [&](uint32_t id) {
                return doc.FindPiece(id)->helixId == helixId;
            });
        if (!anyScenery && oneHelix && doc.FindHelix(helixId)) return BuildHelixView(doc, helixId);
        if (selected.size() >= 2 && !anyScenery && IsStraightRun(doc, selected)) {
            return BuildRunView(doc, selected);
        }
        // A piece the catalog does not know shows nothing.
        if (selected.size() == 1 && !anyScenery) return BuildPieceView(doc, selected.front());
    }
    const SceneryItem* only = nullptr;
    int count = 0;
    for (const SceneryItem& s : doc.scenery) {
        if (s.selected) {
            only = &s;
            ++count;
        }
    }
    if (selected.empty() && count == 1) return BuildSceneryView(doc, only->id);
    if (selected.size() + count >= 2) return BuildSeveralView(doc, selected, count);
    return EmptyView(doc);
}

bool SetPieceHeight(LayoutDocument& doc, uint32_t pieceId, double heightMm) {
    if (!doc.FindPiece(pieceId)) return false;
    doc.PushUndo();
    doc.FindPiece(pieceId)->elevation = heightMm;
    return true;
}

bool MovePieceChainToLevel(LayoutDocument& doc, uint32_t pieceId, int32_t levelId) {
    if (!doc.FindPiece(pieceId)) return false;
    doc.PushUndo();
    SpreadLevel(doc, {pieceId}, levelId, LevelHeight(doc, levelId));
    doc.activeLevel = static_cast<uint32_t>(levelId);
    return true;
}

bool MoveHelixToLevel(LayoutDocument& doc, uint32_t helixId, int32_t levelId) {
    const Helix* found = doc.FindHelix(helixId);
    if (!found) return false;
    const Helix helix = *found;
    const HelixVariant* variant = VariantOrDefault(helix);
    const double base = LevelHeight(doc, levelId);
    const double top = base + (variant ? variant->rise : 0.0);
    doc.PushUndo();
    for (uint32_t id : {helix.bottomR1, helix.bottomR2, helix.topR1, helix.topR2}) {
        if (PlacedPiece* p = doc.FindPiece(id)) {
            p->level = levelId;
            p->elevation = (id == helix.topR1 || id == helix.topR2) ? top : base;
        }
    }
    // The track leaving the top of the helix; the stubs themselves are helix track and keep
    // the heights just given.
    std::vector<uint32_t> starts;
    for (uint32_t id : {helix.topR1, helix.topR2}) {
        const PlacedPiece* p = doc.FindPiece(id);
        if (!p) continue;
        for (const Joint& j : p->joints) {
            const PlacedPiece* next = j.IsOpen() ? nullptr : doc.FindPiece(j.target);
            if (next && next->helixId == kNoId) starts.push_back(j.target);
        }
    }
    SpreadLevel(doc, starts, levelId, top);
    doc.activeLevel = static_cast<uint32_t>(levelId);
    return true;
}

bool MoveSceneryToLevel(LayoutDocument& doc, uint32_t sceneryId, int32_t levelId) {
    if (!doc.FindScenery(sceneryId)) return false;
    doc.PushUndo();
    doc.FindScenery(sceneryId)->level = levelId;
    doc.activeLevel = static_cast<uint32_t>(levelId);
    return true;
}

std::string TrimLabelText(std::string_view text) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
    };
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

uint32_t AddLabelAt(LayoutDocument& doc, std::string_view text, double x, double y) {
    std::string trimmed = TrimLabelText(text);
    if (trimmed.empty()) return kNoId;
    doc.PushUndo();
    Label label;
    label.id = doc.TakeId();
    label.text = std::move(trimmed);
    label.x = x;
    label.y = y;
    label.selected = false;
    doc.labels.push_back(std::move(label));
    return doc.labels.back().id;
}

bool ApplyPieceColour(LayoutDocument& doc, int entry) {
    if (entry < 0 || entry >= static_cast<int>(kPieceColours.size())) return false;
    if (std::none_of(doc.pieces.cbegin(), doc.pieces.cend(),
                     [](const PlacedPiece& p) { return p.selected; })) {
        return false;
    }
    const PieceColourEntry& colour = kPieceColours[entry];
    doc.PushUndo();
    doc.pieces.ForEachWhere([](const PlacedPiece& p) { return p.selected; },
                            [&](PlacedPiece& p) {
                                p.hasColour = colour.hasColour;
                                p.colour = colour.colour;
                            });
    doc.ClearSelection();
    return true;
}
