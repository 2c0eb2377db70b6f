// Editing of scenery, labels, measurements and deck outlines on the canvas.
#include "canvas/SceneryEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "base/Geometry.h"
#include "canvas/Interaction.h"
#include "canvas/Snapping.h"
#include "catalog/SceneryCatalog.h"

namespace {

// Sign of a handle's local position along x and y (-1, 0, +1).
void HandleSigns(int handle, int& sx, int& sy) {
    static constexpr int kSigns[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                         {1, 1},   {0, 1},  {-1, 1}, {-1, 0}};
    const int h = ((handle % 8) + 8) % 8;
    sx = kSigns[h][0];
    sy = kSigns[h][1];
}

bool Finite(PointMm p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

bool HandleChangesWidth(int handle) {
    int sx = 0, sy = 0;
    HandleSigns(handle, sx, sy);
    return sx != 0;
}

bool HandleChangesDepth(int handle) {
    int sx = 0, sy = 0;
    HandleSigns(handle, sx, sy);
    return sy != 0;
}

SceneryResizeStart BeginSceneryResize(const LayoutDocument& doc, uint32_t itemId, int handle) {
    SceneryResizeStart start;
    const SceneryItem* item = doc.FindScenery(itemId);
    const SceneryDef* def = item ? SceneryCatalog::Instance().Find(item->item) : nullptr;
    if (!def || handle < 0 || handle > 7) return start;
    start.itemId = itemId;
    start.handle = handle;
    start.anchor = HandleWorld(*item, *def, (handle + 4) % 8);
    start.scaleX = item->scaleX;
    start.scaleY = item->scaleY;
    start.x = item->x;
    start.y = item->y;
    start.heading = item->heading;
    return start;
}

bool DragSceneryResize(LayoutDocument& doc, const SceneryResizeStart& start, double x, double y) {
    SceneryItem* item = doc.FindScenery(start.itemId);
    const SceneryDef* def = item ? SceneryCatalog::Instance().Find(item->item) : nullptr;
    if (!def || !(def->width > 0) || !(def->depth > 0) || start.handle < 0) return false;
    if (!std::isfinite(x) || !std::isfinite(y)) return true;
    const double h = item->heading * kDegToRad;
    const double c = std::cos(h), s = std::sin(h);
    const double dx = x - start.anchor.x, dy = y - start.anchor.y;
    const double du = dx * c + dy * s, dv = -dx * s + dy * c;
    double width = start.scaleX * def->width;
    double depth = start.scaleY * def->depth;
    if (HandleChangesWidth(start.handle)) {
        width = std::max(std::fabs(du), kMinResizeMm);
        item->scaleX = width / def->width;
    }
    if (HandleChangesDepth(start.handle)) {
        depth = std::max(std::fabs(dv), kMinResizeMm);
        item->scaleY = depth / def->depth;
    }
    int sx = 0, sy = 0;
    HandleSigns(start.handle, sx, sy);
    const double lx = sx * width / 2, ly = sy * depth / 2;
    item->x = start.anchor.x + lx * c - ly * s;
    item->y = start.anchor.y + lx * s + ly * c;
    return true;
}

double AspectRatio(double scaleX, double scaleY) { return scaleY > 0 ? scaleX / scaleY : 1.0; }

bool ParseSceneryScale(const std::string& text, double* scale) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    std::string number = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::replace(number.begin(), number.end(), ',', '.');
    if (number.back() == '.') return false;  // still being typed
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) return false;
    if (!(value >= kMinSceneryScale && value <= kMaxSceneryScale)) return false;
    *scale = value;
    return true;
}

double LockedDepthScale(double widthScale, double ratio) {
    const double depth = ratio > 0 ? widthScale / ratio : widthScale;
    return std::clamp(depth, kMinSceneryScale, kMaxSceneryScale);
}

bool ApplySceneryResizeResult(LayoutDocument& doc, uint32_t itemId, int result, double scaleX,
                              double scaleY) {
    if (result == kResizeCancel || !doc.FindScenery(itemId)) return false;
    if (result != kResizeReset && (!std::isfinite(scaleX) || !std::isfinite(scaleY))) return false;
    doc.PushUndo();
    SceneryItem* item = doc.FindScenery(itemId);
    if (result == kResizeReset) {
        item->scaleX = 1.0;
        item->scaleY = 1.0;
    } else {
        item->scaleX = std::max(scaleX, kMinSceneryScale);
        item->scaleY = std::max(scaleY, kMinSceneryScale);
    }
    return true;
}

uint32_t DropScenery(LayoutDocument& doc, std::string_view sceneryId, double x, double y,
                     double heading) {
    if (!SceneryCatalog::Instance().Find(sceneryId) || !std::isfinite(x) || !std::isfinite(y))
        return kNoId;
    doc.EnsureDefaultLevel();
    SceneryItem item;
    item.id = doc.TakeId();
    item.item = std::string(sceneryId);
    item.x = x;
    item.y = y;
    item.heading = NormalizeDeg(heading);
    item.level = static_cast<int32_t>(DropLevel(doc));
    doc.ClearSelection();
    doc.PushUndo();
    item.selected = true;
    doc.scenery.push_back(item);
    return item.id;
}

uint32_t AddMeasurement(LayoutDocument& doc, PointMm first, PointMm second) {
    if (!Finite(first) || !Finite(second)) return kNoId;
    if (std::hypot(second.x - first.x, second.y - first.y) < kMinMeasurementMm) return kNoId;
    doc.PushUndo();
    Measurement m;
    m.id = doc.TakeId();
    m.x1 = first.x;
    m.y1 = first.y;
    m.x2 = second.x;
    m.y2 = second.y;
    doc.measurements.push_back(m);
    return m.id;
}

MeasurementDragStart BeginMeasurementDrag(const LayoutDocument& doc, uint32_t id, int part,
                                          PointMm grab) {
    MeasurementDragStart start;
    for (const Measurement& m : doc.measurements) {
        if (m.id != id) continue;
        start = {id, part, grab, m.x1, m.y1, m.x2, m.y2, m.dx, m.dy};
    }
    return start;
}

bool DragMeasurement(LayoutDocument& doc, const MeasurementDragStart& start, PointMm point) {
    for (Measurement& m : doc.measurements) {
        if (m.id != start.id) continue;
        if (!Finite(point)) return true;
        const double dx = point.x - start.grab.x, dy = point.y - start.grab.y;
        m.x1 = start.x1 + dx;
        m.y1 = start.y1 + dy;
        m.x2 = start.x2 + dx;
        m.y2 = start.y2 + dy;
        return true;
    }
    return false;
}

LabelDragStart BeginLabelDrag(const LayoutDocument& doc, uint32_t id, PointMm grab) {
    for (const Label& l : doc.labels)
        if (l.id == id) return {id, {grab.x - l.x, grab.y - l.y}};
    return {};
}

bool DragLabel(LayoutDocument& doc, const LabelDragStart& start, PointMm point) {
    for (Label& l : doc.labels) {
        if (l.id != start.id) continue;
        if (!Finite(point)) return true;
        l.x = point.x - start.grabOffset.x;
        l.y = point.y - start.grabOffset.y;
        return true;
    }
    return false;
}

OutlineDragStart BeginOutlineDrag(const LayoutDocument& doc, uint32_t levelId, PointMm grab) {
    OutlineDragStart start;
    if (const Level* level = doc.FindLevel(levelId)) {
        start.levelId = levelId;
        start.grab = grab;
        start.outline = level->outline;
    }
    return start;
}

bool DragOutline(LayoutDocument& doc, const OutlineDragStart& start, PointMm point) {
    Level* level = doc.FindLevel(start.levelId);
    if (!level || level->outline.size() != start.outline.size()) return false;
    if (!Finite(point)) return true;
    const double dx = point.x - start.grab.x, dy = point.y - start.grab.y;
    for (size_t i = 0; i < start.outline.size(); ++i)
        level->outline[i] = {start.outline[i].x + dx, start.outline[i].y + dy};
    return true;
}
