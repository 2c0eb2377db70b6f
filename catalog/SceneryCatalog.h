// Scenery item definitions with their 2D drawings, and the process-wide catalog of them.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A colour as R, G, B, A bytes; an alpha of 0 means the colour is not drawn at all.
struct SceneryColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
    bool operator==(const SceneryColor&) const = default;
};

// The colour of a missing fill or outline.
inline constexpr SceneryColor kSceneryNoColor{0, 0, 0, 0};

// Values of SceneryPart::type.
inline constexpr uint8_t kSceneryFilledRect = 0;
inline constexpr uint8_t kSceneryFilledEllipse = 1;
inline constexpr uint8_t kSceneryPolygon = 2;
inline constexpr uint8_t kSceneryRectOutline = 3;
inline constexpr uint8_t kSceneryEllipseOutline = 4;
inline constexpr uint8_t kSceneryLine = 5;
inline constexpr uint8_t kSceneryText = 6;

struct SceneryPoint {
    double x = 0;
    double y = 0;
    bool operator==(const SceneryPoint&) const = default;
};

// One shape of an item's drawing, in millimetres in the footprint's frame: origin at the
// footprint's corner, x from 0 to the item's width, y from 0 to its depth.
struct SceneryPart {
    uint8_t type = kSceneryFilledRect;
    SceneryColor fill = kSceneryNoColor;
    SceneryColor outline = kSceneryNoColor;
    int32_t width = 0;  // outline or line width in pixels; below 1 means no outline
    // Rectangles and ellipses: left, top, width, height of the box; lines: x1, y1, x2, y2;
    // text: left, top (baseline box), height.
    double a = 0;
    double b = 0;
    double c = 0;
    double d = 0;
    std::vector<SceneryPoint> points;  // polygon corners
    std::string text;                  // text parts only
};

// Palette groups of scenery records (SceneryDef::category).
inline constexpr int32_t kSceneryPlatforms = 0;
inline constexpr int32_t kSceneryBuildings = 1;
inline constexpr int32_t kSceneryStations = 2;
inline constexpr int32_t kScenerySignals = 3;
inline constexpr int32_t kSceneryBridges = 4;
inline constexpr int32_t kSceneryTunnels = 5;
inline constexpr int32_t kSceneryRoads = 6;
inline constexpr int32_t kSceneryNature = 7;
inline constexpr int32_t kSceneryVehicles = 8;
inline constexpr int32_t kScenerySpecial = 9;
inline constexpr int32_t kSceneryMisc = 10;

// Palette name of a category ("Platforms", ..., "Misc"); "Other" for any other value. English,
// the palette's heading passes it through Tr.
std::string SceneryCategoryName(int category);

struct SceneryDef {
    std::string id;    // key stored in layouts, e.g. "platform_island"
    std::string name;  // display text
    int32_t category = kSceneryMisc;
    double width = 0;                // mm along the item's local x axis
    double depth = 0;                // mm along the item's local y axis
    std::vector<SceneryPart> parts;  // drawn in order
    bool zScale = false;             // Z-scale signals only
};

// The shape makers used by the built-in records. Colours are taken as given.
SceneryPart MakeSceneryRect(double x, double y, double w, double h, SceneryColor fill,
                            SceneryColor outline = kSceneryNoColor, int width = 0);
SceneryPart MakeSceneryRectOutline(double x, double y, double w, double h, SceneryColor outline,
                                   int width);
SceneryPart MakeSceneryPolygon(std::vector<SceneryPoint> points, SceneryColor fill,
                               SceneryColor outline = kSceneryNoColor, int width = 0);
SceneryPart MakeSceneryLine(double x1, double y1, double x2, double y2, SceneryColor color,
                            int width);
// Filled ellipse in the box (x, y, w, h), e.g. tree crowns and lamp heads.
SceneryPart MakeSceneryEllipse(double x, double y, double w, double h, SceneryColor fill,
                               SceneryColor outline = kSceneryNoColor, int width = 0);
// Ellipse outline in the box (x, y, w, h).
SceneryPart MakeSceneryEllipseOutline(double x, double y, double w, double h, SceneryColor outline,
                                      int width);

// The process-wide registry of scenery definitions, filled from the built-in table on first use.
class SceneryCatalog {
public:
    static SceneryCatalog& Instance();

    int Count() const { return static_cast<int>(defs.size()); }
    // Exact, case-sensitive match on the whole id; null when absent.
    const SceneryDef* Find(std::string_view id) const;
    // Null when index is negative or not below Count().
    const SceneryDef* At(int index) const;
    // Appends a record; a repeated id maps to the later record.
    void Add(SceneryDef def);

    std::deque<SceneryDef> defs;  // a deque keeps pointers valid as records are added
    std::unordered_map<std::string, int> byId;
    bool filled = false;

private:
    SceneryCatalog() = default;
    void FillBuiltInTables();  // the built-in records, in table order
};
