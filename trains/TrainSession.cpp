// The session's trains: adding, running, stopping, turning and taking them off.
#include "trains/TrainSession.h"

#include <algorithm>
#include <cmath>

#include "base/Format.h"
#include "base/Translate.h"
#include "trains/TrackBehind.h"

namespace {

// Seen along every edge direction of both, the outlines' shadows overlap.
bool Separated(const std::array<PointMm, 4>& a, const std::array<PointMm, 4>& b) {
    for (size_t i = 0; i < 4; ++i) {
        const PointMm& p = a[i];
        const PointMm& q = a[(i + 1) % 4];
        const double nx = q.y - p.y, ny = p.x - q.x;
        double aMin = 1e300, aMax = -1e300, bMin = 1e300, bMax = -1e300;
        for (const PointMm& c : a) {
            const double v = c.x * nx + c.y * ny;
            aMin = std::min(aMin, v);
            aMax = std::max(aMax, v);
        }
        for (const PointMm& c : b) {
            const double v = c.x * nx + c.y * ny;
            bMin = std::min(bMin, v);
            bMax = std::max(bMax, v);
        }
        if (aMax < bMin || bMax < aMin) return true;
    }
    return false;
}

}  // namespace

bool OutlinesOverlap(const std::array<PointMm, 4>& a, const std::array<PointMm, 4>& b) {
    return !Separated(a, b) && !Separated(b, a);
}

int TrainSession::SetNetwork(TrackGraph network) {
    graph = std::move(network);
    ++switchVersion;
    const size_t before = trains.size();
    std::erase_if(trains, [this](const SessionTrain& t) {
        if (graph.RouteLength(t.state.step.piece, t.state.step.entry, t.state.step.exit) < 0)
            return true;
        return std::any_of(t.occupied.begin(), t.occupied.end(),
                           [this](uint32_t piece) { return graph.Find(piece) == nullptr; });
    });
    for (SessionTrain& t : trains) {
        t.running = false;
        Pose(t);
    }
    return static_cast<int>(before - trains.size());
}

void TrainSession::Clear() {
    trains.clear();
    switches.legs.clear();
    graph = TrackGraph{};
    ++switchVersion;
}

std::string TrainSession::AddTrain(const TrainPreset& preset, int carCount, GraphEnd at,
                                   double offsetMm, uint32_t* id) {
    SessionTrain train;
    train.preset = preset;
    train.consist = MakeTrainSpec(preset, std::max(carCount, 0));
    train.state = PlaceTrain(graph, at, offsetMm);
    if (!train.state.Valid()) return Tr("There is no track to put the train on.");
    const GraphPiece* piece = graph.Find(at.piece);
    if (piece && piece->def && ScaleOf(piece->def->system) != preset.scale)
        return Format(Tr("This train does not run on %s track.").c_str(),
                      ScaleName(ScaleOf(piece->def->system)).c_str());
    // The head moves on until the whole train stands on track.
    const double length = TrainLengthMm(train.consist);
    TrackBehind behind(graph, train.state);
    const double shortBy = length - behind.Reach(length);
    if (shortBy > 0) AdvanceTrain(graph, switches, train.state, shortBy);
    Pose(train);
    for (const SessionTrain& other : trains)
        if (Overlaps(train, other, false)) return Tr("Another train stands there.");
    train.id = nextId++;
    train.name = Format(Tr("Train %u").c_str(), static_cast<unsigned>(train.id));
    trains.push_back(std::move(train));
    if (id) *id = trains.back().id;
    return "";
}

bool TrainSession::Remove(uint32_t id) {
    return std::erase_if(trains, [id](const SessionTrain& t) { return t.id == id; }) > 0;
}

const SessionTrain* TrainSession::Find(uint32_t id) const {
    for (const SessionTrain& t : trains)
        if (t.id == id) return &t;
    return nullptr;
}

SessionTrain* TrainSession::FindMutable(uint32_t id) {
    return const_cast<SessionTrain*>(Find(id));
}

void TrainSession::SetRunning(uint32_t id, bool running) {
    SessionTrain* t = FindMutable(id);
    if (!t) return;
    t->running = running;
    if (running) {
        t->collided = false;
        t->lastStop = StopReason::None;
    }
}

void TrainSession::StopAll() {
    for (SessionTrain& t : trains) t.running = false;
}

bool TrainSession::AnyRunning() const {
    return std::any_of(trains.begin(), trains.end(), [](const SessionTrain& t) { return t.running; });
}

void TrainSession::Reverse(uint32_t id) {
    SessionTrain* t = FindMutable(id);
    if (!t) return;
    ReverseTrain(graph, t->state, t->consist);
    t->collided = false;
    t->lastStop = StopReason::None;
    Pose(*t);
}

void TrainSession::SetSpeed(uint32_t id, double scaleKmh) {
    if (SessionTrain* t = FindMutable(id)) t->speedKmh = std::max(scaleKmh, 0.0);
}

void TrainSession::Pose(SessionTrain& train) {
    train.poses = VehiclePoses(graph, train.state, train.consist);
    train.occupied.clear();
    TrackBehind behind(graph, train.state);
    const TrackBehind::Place tail = behind.Locate(TrainLengthMm(train.consist));
    for (size_t k = 0; k <= tail.step && k < behind.Steps().size(); ++k)
        train.occupied.push_back(behind.Steps()[k].piece);
}

bool TrainSession::Overlaps(const SessionTrain& a, const SessionTrain& b, bool leadingOnly) const {
    if (a.id == b.id && a.id != 0) return false;
    const size_t n = a.poses.size();
    for (size_t i = 0; i < n; ++i) {
        // The leading vehicle: the locomotive, or the last one when the train runs reversed.
        if (leadingOnly && i != (a.state.reversed ? n - 1 : 0)) continue;
        const auto outline = VehicleOutline(a.poses[i], a.consist.vehicleLengthsMm[i], a.WidthMm());
        for (size_t j = 0; j < b.poses.size(); ++j) {
            // Trains at different heights pass over each other.
            if (std::abs(a.poses[i].heightMm - b.poses[j].heightMm) > a.HeightMm()) continue;
            if (OutlinesOverlap(outline, VehicleOutline(b.poses[j], b.consist.vehicleLengthsMm[j],
                                                        b.WidthMm())))
                return true;
        }
    }
    return false;
}

const SessionTrain* TrainSession::HitBy(const SessionTrain& train) const {
    for (const SessionTrain& other : trains)
        if (other.id != train.id && Overlaps(train, other, true)) return &other;
    return nullptr;
}

std::vector<std::string> TrainSession::Run(double seconds) {
    std::vector<std::string> messages;
    for (SessionTrain& t : trains) {
        if (!t.running) continue;
        const double distance = ModelMmPerSecond(t.speedKmh, t.preset.scale) * seconds;
        const AdvanceResult r = AdvanceTrain(graph, switches, t.state, distance);
        Pose(t);
        if (r.reason != StopReason::None) {
            t.running = false;
            t.lastStop = r.reason;
            messages.push_back(Format(Tr("%s stopped: %s").c_str(), t.name.c_str(),
                                      StopReasonName(r.reason).c_str()));
        }
        if (const SessionTrain* hit = HitBy(t)) {
            SessionTrain& other = *FindMutable(hit->id);
            t.running = other.running = false;
            t.collided = other.collided = true;
            messages.push_back(
                Format(Tr("%s ran into %s").c_str(), t.name.c_str(), other.name.c_str()));
        }
    }
    return messages;
}

bool TrainSession::ThrowSwitch(uint32_t piece) {
    if (!::ThrowSwitch(graph, switches, piece)) return false;
    ++switchVersion;
    return true;
}
