// Palette list building, the system choice for opened layouts, library folders and preview scale.
#include "panels/PaletteLogic.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "catalog/ArticleNames.h"
#include "base/Translate.h"
#include "catalog/HelixVariants.h"
#include "catalog/SceneryCatalog.h"
#include "catalog/TrackCatalog.h"
#include "panels/PaletteTables.h"

namespace {

// The groups, categories and kinds are English keys (rows are grouped by them); the heading
// shows them in the reader's language.
std::string Header(const std::string& name) { return kPaletteHeaderPrefix + Tr(name.c_str()); }

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

}  // namespace

std::vector<PaletteRow> BuildTrackRows(int index) {
    std::vector<PaletteRow> rows;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const PaletteGroup& group : PaletteGroups(index)) {
        rows.push_back({Header(group.name), ""});
        for (const std::string& article : group.articles) {
            // Articles the catalog lacks are left out silently.
            if (const PieceDef* def = catalog.Find(article))
                rows.push_back({ArticleDisplayName(def->name), article});
        }
    }
    if (PaletteListsHelices(index)) {
        rows.push_back({Header(TR_NOOP("Helix")), ""});
        for (const HelixVariant& variant : HelixVariants())
            rows.push_back({variant.name, kPaletteHelixKeyPrefix + variant.id});
    }
    return rows;
}

bool PaletteShowsSceneryCategory(int category) {
    return category >= 0 && category <= 7 && ((kPaletteSceneryMask >> category) & 1u) != 0;
}

std::vector<PaletteRow> BuildSceneryRows() {
    std::vector<PaletteRow> rows;
    const SceneryCatalog& catalog = SceneryCatalog::Instance();
    bool first = true;
    std::string lastCategory;
    for (int i = 0; i < catalog.Count(); ++i) {
        const SceneryDef* def = catalog.At(i);
        if (!PaletteShowsSceneryCategory(def->category)) continue;
        std::string category = SceneryCategoryName(def->category);
        if (first || category != lastCategory) rows.push_back({Header(category), ""});
        first = false;
        lastCategory = category;
        rows.push_back({def->name, def->id});
    }
    return rows;
}

std::string SignalKind(std::string_view sceneryId) {
    if (Contains(sceneryId, "semaphore")) return TR_NOOP("Semaphore");
    if (Contains(sceneryId, "color")) return TR_NOOP("Color light");
    if (Contains(sceneryId, "distant")) return TR_NOOP("Distant");
    return TR_NOOP("Other");
}

std::vector<PaletteRow> BuildSignalRows(int index) {
    std::vector<PaletteRow> rows;
    const bool zSystem = index == kPaletteZIndex;
    const SceneryCatalog& catalog = SceneryCatalog::Instance();
    bool first = true;
    std::string lastKind;
    for (int i = 0; i < catalog.Count(); ++i) {
        const SceneryDef* def = catalog.At(i);
        if (def->category != kScenerySignals || def->zScale != zSystem) continue;
        std::string kind = SignalKind(def->id);
        if (first || kind != lastKind) rows.push_back({Header(kind), ""});
        first = false;
        lastKind = kind;
        rows.push_back({def->name, def->id});
    }
    return rows;
}

bool IsHelixKey(std::string_view key) { return key.starts_with(kPaletteHelixKeyPrefix); }

std::string HelixIdFromKey(std::string_view key) {
    if (!IsHelixKey(key)) return "";
    return std::string(key.substr(std::string_view(kPaletteHelixKeyPrefix).size()));
}

int SystemIndexForLayout(const std::vector<PlacedPiece>& pieces) {
    // Pieces by catalog system 0 to 6; a helix's own track is not the user's choice of system.
    int count[7] = {0, 0, 0, 0, 0, 0, 0};
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const PlacedPiece& piece : pieces) {
        const PieceDef* def = catalog.Find(piece.article);
        if (!def || piece.helixId != kNoId) continue;
        const int system = static_cast<int>(def->system);
        if (system >= 0 && system < 7) ++count[system];
    }
    // The system most pieces are of; on a tie C, K, TRIX C, Z, Minitrix N, Kato N (the palette
    // numbers TRIX C 2 and Z 3).
    int best = 0, bestCount = 0;
    for (int index = 0; index < kPaletteSystemCount; ++index) {
        const int n = count[static_cast<int>(PaletteCatalogSystem(index))];
        if (n > bestCount) {
            best = index;
            bestCount = n;
        }
    }
    return best;
}

SceneryPageChange SceneryPageChangeFor(int index, bool pageShown) {
    if (index == kPaletteZIndex && pageShown) return SceneryPageChange::Remove;
    if (index != kPaletteZIndex && !pageShown) return SceneryPageChange::Add;
    return SceneryPageChange::None;
}

std::string LibraryFolderName(const std::string& choiceText) {
    if (choiceText == "Marklin C-Track") return "Marklin_C-Track";
    if (choiceText == "Marklin K-Track") return "Marklin_K-Track";
    if (choiceText == "TRIX C-Track") return "TRIX_C-Track";
    if (choiceText == "Marklin Z-Track") return "Marklin_Z-Track";
    if (choiceText == "Minitrix") return "Minitrix-Track";
    std::string name = choiceText;
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
}

std::string LibraryFolderPath(const std::string& programFolder, const std::string& choiceText) {
    const char sep = std::filesystem::path::preferred_separator;
    std::string path = programFolder;
    if (path.empty() || path.back() != sep) path += sep;
    return path + "library" + sep + LibraryFolderName(choiceText);
}

std::vector<PaletteRow> BuildLibraryRows(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<PaletteRow> rows;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    if (ec) return rows;
    const char sep = fs::path::preferred_separator;
    const std::string extension = ".xml";
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc)) continue;
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        if (name.size() <= extension.size() || !name.ends_with(extension)) continue;
        rows.push_back({name.substr(0, name.size() - extension.size()), folder + sep + name});
    }
    return rows;
}

double PreviewZoom(const PieceDef& def) {
    const double length = std::max(1.0, def.length);
    double h = 40;
    if (def.radius > 0)
        h = std::abs(def.radius * (1 - std::cos(def.angle * std::numbers::pi / 180.0))) * 2.5;
    h = std::max(h, 40.0);
    if (def.connectors.size() > 2) h = std::max(h, 60.0);
    double zoom = std::min(33.0 / h, 68.0 / length) * 0.8;
    return std::clamp(zoom, 0.05, 3.0);
}

ViewTransform PreviewTransform(const PieceDef& def) {
    ViewTransform view;
    view.zoom = PreviewZoom(def);
    view.offsetX = 40 - std::max(1.0, def.length) * view.zoom * 0.5;
    view.offsetY = 30.5;
    return view;
}
