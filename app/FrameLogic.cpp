// Window-free rules behind the main window.
#include "app/FrameLogic.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "base/Format.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "model/SelectionQueries.h"

namespace {
constexpr const char* kLayoutExtension = ".xml";

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

std::string FrameTitle(const std::string& layoutName, const std::string& filePath, bool modified) {
    std::string title = Tr(kBaseTitle);
    if (!layoutName.empty()) {
        title += " - " + layoutName;
    } else if (!filePath.empty()) {
        title += " - " + std::filesystem::path(filePath).stem().string();
    }
    if (modified) title += " *";
    return title;
}

CommandEnabling EnabledCommands(const LayoutDocument& doc) {
    CommandEnabling e;
    e.undo = doc.CanUndo();
    e.redo = doc.CanRedo();
    e.deleteSelection = PieceOrScenerySelected(doc);
    return e;
}

const CommandStates::State& CommandStates::For(const LayoutDocument& doc) {
    if (valid && revision == doc.Revision() && pieces == doc.pieces.size() &&
        scenery == doc.scenery.size())
        return state;
    state = {EnabledCommands(doc), AnalyseTunnel(doc)};
    valid = true;
    revision = doc.Revision();
    pieces = doc.pieces.size();
    scenery = doc.scenery.size();
    return state;
}

std::vector<std::string> ListLayoutNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        // ".xml" alone has no name to show.
        if (file.size() <= 4 || !EndsWith(file, kLayoutExtension)) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        names.push_back(file.substr(0, file.size() - 4));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string LayoutFilePath(const std::string& folder, const std::string& name) {
    return folder + "/" + name + kLayoutExtension;
}

void SelectAllPiecesAndScenery(LayoutDocument& doc) {
    for (auto& p : doc.pieces) p.selected = true;
    for (auto& s : doc.scenery) s.selected = true;
}

void EnterMeasureMode(LayoutDocument& doc) {
    doc.toolMode = 3;
    doc.ClearSelection();
}

void ResetForNewLayout(LayoutDocument& doc) {
    doc.Clear();
    doc.baseboard.clear();
    doc.levels.clear();
    doc.EnsureDefaultLevel();
    doc.activeLevel = 1;
    doc.RefreshCurrentGrade();
}

bool WantsUnitZoomAfterOpen(const LayoutDocument& doc) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    return std::any_of(doc.pieces.begin(), doc.pieces.end(), [&](auto& p) {
        const PieceDef* def = catalog.Find(p.article);
        return def && def->system == TrackSystem::MarklinZ;
    });
}

std::string PieceCountText(const LayoutDocument& doc) {
    return Format(Tr("Pieces: %zu").c_str(), doc.pieces.size());
}
