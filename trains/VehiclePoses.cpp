// The bogies of a train's vehicles, laid back from its head along the track it occupies.
#include "trains/VehiclePoses.h"

#include <cmath>

#include "base/Geometry.h"
#include "trains/TrackBehind.h"

std::vector<VehiclePose> VehiclePoses(const TrackGraph& graph, const TrainState& state,
                                      const TrainSpec& consist) {
    const size_t count = consist.vehicleLengthsMm.size();
    std::vector<VehiclePose> poses(count);
    if (!state.Valid() || count == 0) return poses;
    TrackBehind behind(graph, state);
    // Vehicles in the order they run, the leading one first.
    double leadingEnd = 0;  // of the current vehicle, behind the head
    for (size_t k = 0; k < count; ++k) {
        const size_t index = state.reversed ? count - 1 - k : k;
        const double length = consist.vehicleLengthsMm[index];
        const LinePose near = behind.PoseOf(behind.Locate(leadingEnd + 0.1 * length));
        const LinePose far = behind.PoseOf(behind.Locate(leadingEnd + 0.9 * length));
        // A vehicle faces the locomotive's way: backwards when the train runs reversed.
        const LinePose& front = state.reversed ? far : near;
        const LinePose& rear = state.reversed ? near : far;
        VehiclePose& pose = poses[index];
        pose.front = {front.x, front.y};
        pose.rear = {rear.x, rear.y};
        pose.frontHeightMm = front.heightMm;
        pose.rearHeightMm = rear.heightMm;
        pose.heightMm = (front.heightMm + rear.heightMm) / 2;
        const double dx = front.x - rear.x, dy = front.y - rear.y;
        // Bunched up at a dead end the bogies meet: the track's own heading still holds.
        const double travel = state.reversed ? NormalizeDeg(front.headingDeg + 180) : front.headingDeg;
        pose.headingDeg = std::hypot(dx, dy) > 1e-9 ? NormalizeDeg(RadToDeg(std::atan2(dy, dx)))
                                                    : travel;
        leadingEnd += length + consist.couplingGapMm;
    }
    return poses;
}

std::array<PointMm, 4> VehicleOutline(const VehiclePose& pose, double lengthMm, double widthMm) {
    const double cx = (pose.front.x + pose.rear.x) / 2, cy = (pose.front.y + pose.rear.y) / 2;
    const double ux = CosDeg(pose.headingDeg), uy = SinDeg(pose.headingDeg);
    // Left of the heading in layout axes (y down) is (uy, -ux).
    const double hx = ux * lengthMm / 2, hy = uy * lengthMm / 2;
    const double lx = uy * widthMm / 2, ly = -ux * widthMm / 2;
    return {PointMm{cx + hx + lx, cy + hy + ly}, PointMm{cx + hx - lx, cy + hy - ly},
            PointMm{cx - hx - lx, cy - hy - ly}, PointMm{cx - hx + lx, cy - hy + ly}};
}
