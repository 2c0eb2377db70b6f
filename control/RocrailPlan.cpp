// The control program's plan file: tracks, switches, sensors and blocks on one level.
#include "control/RocrailPlan.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/Format.h"
#include "persistence/LayoutFile.h"

namespace {

const char* SideName(DiagramSide side) {
    switch (side) {
        case DiagramSide::North:
            return "north";
        case DiagramSide::East:
            return "east";
        case DiagramSide::South:
            return "south";
        default:
            return "west";
    }
}

bool Across(const DiagramCell& c) { return HasSide(c, DiagramSide::West); }

// The side every track of a switch starts from: the root.
DiagramSide Root(const DiagramCell& c) {
    for (DiagramSide s :
         {DiagramSide::North, DiagramSide::East, DiagramSide::South, DiagramSide::West}) {
        bool all = true;
        for (const auto& [a, b] : c.tracks) all = all && (a == s || b == s);
        if (all) return s;
    }
    return DiagramSide::West;
}

// A curve's orientation: west joins west and south, and each quarter turn clockwise on the
// screen (north, east, south) turns the corner with it.
const char* CurveOri(const DiagramCell& c) {
    const bool n = HasSide(c, DiagramSide::North), e = HasSide(c, DiagramSide::East),
               s = HasSide(c, DiagramSide::South), w = HasSide(c, DiagramSide::West);
    if (w && s) return "west";
    if (n && w) return "north";
    if (e && n) return "east";
    return "south";
}

// A decoder address as module address and port (four ports a module).
std::string Mada(int address, int drive) {
    if (address <= 0) return {};
    const int a = address - 1;
    return Format(" addr%d=\"%d\" port%d=\"%d\"", drive, a / 4 + 1, drive, a % 4 + 1);
}

bool Plain(const DiagramCell& c) {
    return c.symbol == DiagramSymbol::Straight || c.symbol == DiagramSymbol::Curve ||
           c.symbol == DiagramSymbol::Contact;
}

// Stretches of plain track: cells joined through their facing sides, not past a switch.
std::vector<std::vector<const DiagramCell*>> PlainStretches(const TrackDiagram& diagram) {
    std::map<std::pair<int, int>, int> stretchOf;
    std::vector<std::vector<const DiagramCell*>> stretches;
    for (const DiagramCell& start : diagram.cells) {
        if (!Plain(start) || stretchOf.count({start.x, start.y})) continue;
        const int id = static_cast<int>(stretches.size());
        stretches.emplace_back();
        std::vector<const DiagramCell*> todo{&start};
        stretchOf[{start.x, start.y}] = id;
        while (!todo.empty()) {
            const DiagramCell* c = todo.back();
            todo.pop_back();
            stretches[id].push_back(c);
            for (const auto& [a, b] : c->tracks)
                for (DiagramSide side : {a, b}) {
                    int x = c->x, y = c->y;
                    StepToSide(side, x, y);
                    const DiagramCell* n = diagram.At(x, y);
                    if (!n || !Plain(*n) || !HasSide(*n, OppositeSide(side)) ||
                        stretchOf.count({x, y}))
                        continue;
                    stretchOf[{x, y}] = id;
                    todo.push_back(n);
                }
        }
    }
    return stretches;
}

// One block on the first straight of each stretch, reporting through the stretch's contacts;
// the cells that carry a block are added to blockCells.
std::string BlockElements(std::vector<std::vector<const DiagramCell*>>& stretches,
                          std::set<std::pair<int, int>>& blockCells) {
    std::string blocks;
    int k = 0;
    for (auto& stretch : stretches) {
        ++k;
        std::sort(stretch.begin(), stretch.end(), [](const DiagramCell* a, const DiagramCell* b) {
            return std::pair(a->y, a->x) < std::pair(b->y, b->x);
        });
        const DiagramCell* at = nullptr;
        for (const DiagramCell* c : stretch)
            if (c->symbol == DiagramSymbol::Straight && !at) at = c;
        if (!at) continue;
        blockCells.insert({at->x, at->y});
        blocks +=
            Format("    <bk id=\"bk%d\" x=\"%d\" y=\"%d\" z=\"0\" ori=\"%s\" smallsymbol=\"true\"",
                   k, at->x, at->y, Across(*at) ? "west" : "north");
        std::vector<const DiagramCell*> contacts;
        for (const DiagramCell* c : stretch)
            if (c->symbol == DiagramSymbol::Contact && c->address > 0) contacts.push_back(c);
        if (contacts.empty()) {
            blocks += "/>\n";
            continue;
        }
        blocks += ">\n";
        for (size_t i = 0; i < contacts.size(); ++i)
            blocks += Format("      <fbevent id=\"fb%d\" action=\"%s\" from=\"all\"/>\n",
                             contacts[i]->address, i + 1 == contacts.size() ? "in" : "enter");
        blocks += "    </bk>\n";
    }
    return blocks;
}

// The switch element of a turnout, double slip or crossing cell.
std::string SwitchElement(const DiagramCell& c, const ControlPlan& plan, const char* prot,
                          const std::string& at, const std::string& id) {
    switch (c.symbol) {
        case DiagramSymbol::TurnoutLeft:
        case DiagramSymbol::TurnoutRight:
        case DiagramSymbol::ThreeWay:
            return Format("    <sw id=\"sw%s\" type=\"%s\" %s ori=\"%s\" prot=\"%s\"%s%s/>\n",
                          id.c_str(),
                          c.symbol == DiagramSymbol::ThreeWay      ? "threeway"
                          : c.symbol == DiagramSymbol::TurnoutLeft ? "left"
                                                                   : "right",
                          at.c_str(), SideName(Root(c)), prot, Mada(c.address, 1).c_str(),
                          c.symbol == DiagramSymbol::ThreeWay && c.address > 0
                              ? Mada(c.address + 1, 2).c_str()
                              : "");
        case DiagramSymbol::DoubleSlip: {
            const AccessoryAddress* a = c.pieces.empty() ? nullptr : plan.Find(c.pieces[0]);
            const bool two = a && a->drives >= 2 && c.address > 0;
            // Its corners join west and north (ori west) or north and east (ori north).
            bool west = false;
            for (const auto& [p, q] : c.tracks)
                west = west || (std::min(p, q) == DiagramSide::North &&
                                std::max(p, q) == DiagramSide::West);
            return Format(
                "    <sw id=\"sw%s\" type=\"dcrossing\" %s ori=\"%s\" "
                "prot=\"%s\"%s%s/>\n",
                id.c_str(), at.c_str(), west ? "west" : "north", prot, Mada(c.address, 1).c_str(),
                two ? Mada(c.address + 1, 2).c_str() : "");
        }
        default:
            return Format(
                "    <sw id=\"sw%s\" type=\"crossing\" rectcrossing=\"true\" %s "
                "ori=\"west\"/>\n",
                id.c_str(), at.c_str());
    }
}

// The plan's element lists, filled cell by cell.
struct PlanLists {
    std::string tracks, switches, sensors;
    std::set<int> sensorsWritten;
};

void AddCellElement(const DiagramCell& c, const ControlPlan& plan, const char* prot,
                    const std::set<std::pair<int, int>>& blockCells, PlanLists& lists) {
    const std::string at = Format("x=\"%d\" y=\"%d\" z=\"0\"", c.x, c.y);
    const std::string id = Format("%d-%d", c.x, c.y);
    switch (c.symbol) {
        case DiagramSymbol::Straight:
            if (blockCells.count({c.x, c.y})) break;
            lists.tracks += Format("    <tk id=\"tk%s\" type=\"straight\" %s ori=\"%s\"/>\n",
                                   id.c_str(), at.c_str(), Across(c) ? "west" : "north");
            break;
        case DiagramSymbol::Curve:
            lists.tracks += Format("    <tk id=\"tk%s\" type=\"curve\" %s ori=\"%s\"/>\n",
                                   id.c_str(), at.c_str(), CurveOri(c));
            break;
        case DiagramSymbol::Bumper:
        case DiagramSymbol::Link:
            // The buffer faces away from the track.
            lists.tracks +=
                Format("    <tk id=\"tk%s\" type=\"%s\" %s ori=\"%s\"%s/>\n", id.c_str(),
                       c.symbol == DiagramSymbol::Bumper ? "buffer" : "connector", at.c_str(),
                       SideName(OppositeSide(c.tracks[0].first)),
                       c.text.empty() ? "" : (" desc=\"" + EscapeXml(c.text) + "\"").c_str());
            break;
        case DiagramSymbol::Contact:
            if (lists.sensorsWritten.insert(c.address).second)
                lists.sensors +=
                    Format("    <fb id=\"fb%d\" addr=\"%d\" %s ori=\"%s\"/>\n", c.address,
                           c.address, at.c_str(), Across(c) ? "west" : "north");
            else
                lists.tracks += Format("    <tk id=\"tk%s\" type=\"straight\" %s ori=\"%s\"/>\n",
                                       id.c_str(), at.c_str(), Across(c) ? "west" : "north");
            break;
        case DiagramSymbol::TurnoutLeft:
        case DiagramSymbol::TurnoutRight:
        case DiagramSymbol::ThreeWay:
        case DiagramSymbol::DoubleSlip:
        case DiagramSymbol::Crossing:
        case DiagramSymbol::Underpass:
            lists.switches += SwitchElement(c, plan, prot, at, id);
            break;
    }
}

}  // namespace

bool WriteRocrailPlan(const TrackDiagram& diagram, const ControlPlan& plan, std::string& xml) {
    xml.clear();
    if (diagram.cells.empty()) return false;
    const bool dcc =
        plan.protocol.value_or(DigitalProtocol::MarklinMotorola) == DigitalProtocol::Dcc;
    const char* prot = dcc ? "N" : "M";
    std::vector<std::vector<const DiagramCell*>> stretches = PlainStretches(diagram);
    std::set<std::pair<int, int>> blockCells;
    const std::string blocks = BlockElements(stretches, blockCells);
    PlanLists lists;
    for (const DiagramCell& c : diagram.cells) AddCellElement(c, plan, prot, blockCells, lists);
    const std::string& tracks = lists.tracks;
    const std::string& switches = lists.switches;
    const std::string& sensors = lists.sensors;
    xml.reserve(tracks.size() + switches.size() + sensors.size() + blocks.size() + 512);
    xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plan title=\"Track diagram\">\n";
    xml += "  <zlevel z=\"0\" title=\"Level 1\"/>\n";
    xml += "  <tklist>\n" + tracks + "  </tklist>\n";
    xml += "  <swlist>\n" + switches + "  </swlist>\n";
    xml += "  <fblist>\n" + sensors + "  </fblist>\n";
    xml += "  <bklist>\n" + blocks + "  </bklist>\n";
    xml += "</plan>\n";
    return true;
}
