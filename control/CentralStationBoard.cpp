// The control station's track board files: an index naming the page, and the page's elements.
#include "control/CentralStationBoard.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "base/Format.h"
#include "base/Translate.h"
#include "persistence/AtomicFile.h"

namespace {

using Tracks = std::set<std::pair<int, int>>;
constexpr int N = 0, E = 1, S = 2, W = 3, None = 4;

Tracks Canonical(const std::vector<std::pair<DiagramSide, DiagramSide>>& tracks) {
    Tracks out;
    for (const auto& [a, b] : tracks) {
        const int x = static_cast<int>(a), y = static_cast<int>(b);
        out.insert({std::min(x, y), std::max(x, y)});
    }
    return out;
}

// A quarter turn anticlockwise on the screen: north becomes west.
Tracks Turned(const Tracks& tracks) {
    auto turn = [](int s) { return s == None ? s : (s + 3) % 4; };
    Tracks out;
    for (const auto& [a, b] : tracks) {
        const int x = turn(a), y = turn(b);
        out.insert({std::min(x, y), std::max(x, y)});
    }
    return out;
}

// The tracks of each type's tile at rotation 0.
Tracks Upright(DiagramSymbol symbol) {
    switch (symbol) {
        case DiagramSymbol::Straight:
        case DiagramSymbol::Contact:
            return {{E, W}};
        case DiagramSymbol::Curve:
            return {{E, S}};
        case DiagramSymbol::TurnoutLeft:
            return {{N, S}, {S, W}};
        case DiagramSymbol::TurnoutRight:
            return {{N, S}, {E, S}};
        case DiagramSymbol::ThreeWay:
            return {{N, S}, {S, W}, {E, S}};
        case DiagramSymbol::Crossing:
        case DiagramSymbol::Underpass:
            return {{E, W}, {N, S}};
        case DiagramSymbol::DoubleSlip:
            return {{E, W}, {N, S}, {N, W}, {E, S}};
        case DiagramSymbol::Bumper:
        case DiagramSymbol::Link:
            return {{N, None}};
    }
    return {};
}

}  // namespace

std::string CentralStationType(const DiagramCell& cell, const ControlPlan& plan) {
    switch (cell.symbol) {
        case DiagramSymbol::Straight:
            return "gerade";
        case DiagramSymbol::Curve:
            return "bogen";
        case DiagramSymbol::TurnoutLeft:
            return "linksweiche";
        case DiagramSymbol::TurnoutRight:
            return "rechtsweiche";
        case DiagramSymbol::ThreeWay:
            return "dreiwegweiche";
        case DiagramSymbol::Crossing:
            return "kreuzung";
        case DiagramSymbol::DoubleSlip: {
            const AccessoryAddress* a = cell.pieces.empty() ? nullptr : plan.Find(cell.pieces[0]);
            return a && a->drives >= 2 ? "dkweiche_2" : "dkweiche";
        }
        case DiagramSymbol::Bumper:
            return "prellbock";
        case DiagramSymbol::Underpass:
            return "unterfuehrung";
        case DiagramSymbol::Contact:
            return "s88kontakt";
        case DiagramSymbol::Link:
            return "pfeil";
    }
    return "gerade";
}

int CentralStationRotation(const DiagramCell& cell) {
    const Tracks want = Canonical(cell.tracks);
    Tracks t = Upright(cell.symbol);
    for (int k = 0; k < 4; ++k, t = Turned(t))
        if (t == want) return k;
    return 0;
}

std::string WriteCentralStationBoard(const TrackDiagram& diagram, const ControlPlan& plan,
                                     const std::string& folder, const std::string& name) {
    if (diagram.cells.empty()) return Tr("The layout has no track to export.");
    if (diagram.width > 256 || diagram.height > 256)
        return Tr("The diagram is too large for the track board (at most 256 by 256 cells).");
    std::string page = name;
    for (char& c : page)
        if (c == '/' || c == '\\') c = '-';
    if (page.empty()) page = "Layout";
    constexpr int kPage = 1;
    std::string index = "[gleisbild]\nversion\n .major=1\ngroesse\nzuletztBenutzt\n";
    index += " .name=" + page + "\nseite\n" + Format(" .id=%d\n", kPage) + " .name=" + page + "\n";
    std::string board = Format("[gleisbildseite]\npage=%d\nversion\n .major=1\n", kPage);
    for (const DiagramCell& c : diagram.cells) {
        board += "element\n";
        board += Format(" .id=0x%x\n", (kPage << 16) | (c.y << 8) | c.x);
        board += " .typ=" + CentralStationType(c, plan) + "\n";
        if (const int r = CentralStationRotation(c)) board += Format(" .drehung=%d\n", r);
        int artikel = -1;
        if (c.symbol == DiagramSymbol::Contact && c.address > 0)
            artikel = c.address;
        else if (c.symbol == DiagramSymbol::Link)
            artikel = 0;  // the page, counted from 0
        else if (c.address > 0)
            artikel = 2 * c.address;
        board += Format(" .artikel=%d\n", artikel);
        if (!c.text.empty()) board += " .text=" + c.text + "\n";
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder) / "gleisbilder", error);
    if (error) return error.message();
    const std::string pagePath =
        (std::filesystem::path(folder) / "gleisbilder" / (page + ".cs2")).string();
    std::string failed = WriteFileAtomically(pagePath, board);
    if (failed.empty())
        failed =
            WriteFileAtomically((std::filesystem::path(folder) / "gleisbild.cs2").string(), index);
    return failed;
}
