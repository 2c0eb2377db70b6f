// The track catalog registry, the piece builders and the connector pose routine.
#include "catalog/TrackCatalog.h"

#include <algorithm>
#include <cmath>

#include "base/Translate.h"
#include "model/PlacedPiece.h"

std::string TrackSystemShortName(TrackSystem system) {
    switch (system) {
        case TrackSystem::MarklinC: return "M\u00e4rklin C";
        case TrackSystem::MarklinK: return "M\u00e4rklin K";
        case TrackSystem::MarklinZ: return "M\u00e4rklin Z";
        case TrackSystem::TrixC: return "TRIX C";
        case TrackSystem::RokuhanZ: return "Rokuhan Z";
        case TrackSystem::MinitrixN: return "Minitrix N";
        case TrackSystem::KatoN: return "Kato N";
    }
    return TR_NOOP("Unknown");
}

std::string TrackSystemLongName(TrackSystem system) {
    switch (system) {
        case TrackSystem::MarklinC: return TR_NOOP("Marklin C-Track");
        case TrackSystem::MarklinK: return TR_NOOP("Marklin K-Track");
        case TrackSystem::MarklinZ: return TR_NOOP("Marklin Z-Track");
        case TrackSystem::TrixC: return TR_NOOP("TRIX C-Track");
        case TrackSystem::MinitrixN: return "Minitrix";
        case TrackSystem::KatoN: return "Kato N";
        default: return TR_NOOP("Unknown");
    }
}

std::string TrackSystemFolderKey(TrackSystem system) {
    switch (system) {
        case TrackSystem::MarklinC: return "Marklin_C-Track";
        case TrackSystem::MarklinK: return "Marklin_K-Track";
        case TrackSystem::MarklinZ: return "Marklin_Z-Track";
        case TrackSystem::TrixC: return "TRIX_C-Track";
        case TrackSystem::MinitrixN: return "Minitrix-Track";
        default: break;
    }
    std::string key = TrackSystemLongName(system);
    std::replace(key.begin(), key.end(), ' ', '_');
    return key;
}

TrackSystem PieceDef::ConnectorSystem(int i) const {
    if (i >= 0 && i < static_cast<int>(connectorSystems.size())) return connectorSystems[i];
    return system;
}

namespace {
PieceDef BaseDef(TrackSystem system, std::string article, std::string name, PieceKind kind) {
    PieceDef d;
    d.system = system;
    d.article = std::move(article);
    d.name = std::move(name);
    d.kind = kind;
    return d;
}
void AddConnector(PieceDef& d, double x, double y, double heading) {
    d.connectors.push_back({x, y, heading, static_cast<uint32_t>(d.connectors.size())});
}
}  // namespace

PieceDef MakeStraight(TrackSystem system, std::string article, std::string name, double length) {
    PieceDef d = BaseDef(system, std::move(article), std::move(name), PieceKind::Straight);
    d.length = length;
    AddConnector(d, 0, 0, 180);
    AddConnector(d, length, 0, 0);
    return d;
}

PieceDef MakeCurve(TrackSystem system, std::string article, std::string name, double radius,
                   double angleDeg) {
    PieceDef d = BaseDef(system, std::move(article), std::move(name), PieceKind::Curve);
    d.length = radius * angleDeg * kPi / 180.0;
    d.radius = radius;
    d.angle = angleDeg;
    const double a = DegToRad(angleDeg);
    AddConnector(d, 0, 0, 180);
    AddConnector(d, radius * std::sin(a), radius * (1 - std::cos(a)), angleDeg);
    return d;
}

PieceDef MakeBumper(TrackSystem system, std::string article, std::string name, double length) {
    PieceDef d = BaseDef(system, std::move(article), std::move(name), PieceKind::Bumper);
    d.length = length;
    AddConnector(d, 0, 0, 180);
    return d;
}

PieceDef MakeTurnoutByRule(TrackSystem system, std::string article, std::string name,
                           PieceKind kind, double length, double radius, double angleDeg) {
    PieceDef d = BaseDef(system, std::move(article), std::move(name), kind);
    d.length = length;
    d.radius = radius;
    const double reach = std::min(length, radius * std::sin(DegToRad(angleDeg)));
    const double branch = std::asin(std::min(1.0, reach / radius));
    const double branchDeg = RadToDeg(branch);
    const double offset = (1 - std::cos(branch)) * radius;
    AddConnector(d, 0, 0, 180);
    AddConnector(d, length, 0, 0);
    if (kind == PieceKind::LeftTurnout) {
        AddConnector(d, reach, -offset, 360 - branchDeg);
        d.angle = -angleDeg;
    } else {
        AddConnector(d, reach, offset, branchDeg);
        d.angle = angleDeg;
    }
    return d;
}

PieceDef MakeExplicit(TrackSystem system, std::string article, std::string name, PieceKind kind,
                      double length, double radius, double angleDeg,
                      std::initializer_list<ConnectorSpec> connectors) {
    PieceDef d = BaseDef(system, std::move(article), std::move(name), kind);
    d.length = length;
    d.radius = radius;
    d.angle = angleDeg;
    for (const ConnectorSpec& c : connectors) AddConnector(d, c.x, c.y, c.heading);
    return d;
}

TrackCatalog& TrackCatalog::Instance() {
    static TrackCatalog catalog;
    if (!catalog.filled) catalog.FillBuiltInTables();
    return catalog;
}

const PieceDef* TrackCatalog::Find(std::string_view article) const {
    auto it = byArticle.find(std::string(article));
    return it == byArticle.end() ? nullptr : &pieces[it->second];
}

const PieceDef* TrackCatalog::At(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return &pieces[index];
}

void TrackCatalog::Add(PieceDef def) {
    byArticle[def.article] = Count();
    pieces.push_back(std::move(def));
}

ConnectorPose GetConnectorPose(const PlacedPiece& piece, const PieceDef& def, int connector) {
    ConnectorPose pose;
    if (connector < 0 || connector >= static_cast<int>(def.connectors.size())) return pose;
    const Connector& c = def.connectors[connector];
    const double r = DegToRad(piece.heading);
    const double cr = std::cos(r), sr = std::sin(r);
    pose.x = c.x * cr - c.y * sr + piece.x;
    pose.y = c.x * sr + c.y * cr + piece.y;
    pose.heading = NormalizeDeg(piece.heading + c.heading);
    pose.open = connector >= static_cast<int>(piece.joints.size()) ||
                piece.joints[connector].target == kNoId;
    pose.number = connector;
    return pose;
}

bool IsTwoRail(TrackSystem system) {
    return system != TrackSystem::MarklinC && system != TrackSystem::MarklinK;
}
