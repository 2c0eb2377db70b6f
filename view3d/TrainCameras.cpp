// Cab and follow cameras and their easing.
#include "view3d/TrainCameras.h"

#include <algorithm>
#include <cmath>

#include "base/Geometry.h"
#include "network/TrackGraph.h"
#include "trains/TrainSession.h"

namespace {

Vec3 WorldPoint(const LinePose& p, double up) { return {p.x, -p.y, p.heightMm + up}; }

// The signed turn from a to b in (-180, 180].
double TurnDeg(double a, double b) {
    double d = std::fmod(b - a, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

}  // namespace

CameraView CabView(const LinePose& head, const LinePose& ahead, double eyeHeightMm) {
    return {WorldPoint(head, eyeHeightMm), WorldPoint(ahead, eyeHeightMm)};
}

CameraView FollowView(const LinePose& head, double backMm, double upMm) {
    // World headings turn the other way round: layout y runs down.
    const double a = DegToRad(head.headingDeg);
    const Vec3 at = WorldPoint(head, 0);
    return {{at.x - std::cos(a) * backMm, at.y + std::sin(a) * backMm, at.z + upMm}, at};
}

CameraView CameraEasing::Ease(const CameraView& wanted, double seconds) {
    const double dx = wanted.target.x - wanted.eye.x, dy = wanted.target.y - wanted.eye.y,
                 dz = wanted.target.z - wanted.eye.z;
    const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (distance < 1e-9) return wanted;
    const double wantedYaw = RadToDeg(std::atan2(dy, dx));
    const double wantedPitch = RadToDeg(std::asin(std::clamp(dz / distance, -1.0, 1.0)));
    const double jump = std::hypot(wanted.eye.x - eye.x, wanted.eye.y - eye.y, wanted.eye.z - eye.z);
    if (!started || jump > kJumpMm) {
        started = true;
        eye = wanted.eye;
        yawDeg = wantedYaw;
        pitchDeg = wantedPitch;
        return wanted;
    }
    const double k = timeConstant > 0 ? 1 - std::exp(-std::max(seconds, 0.0) / timeConstant) : 1;
    yawDeg += TurnDeg(yawDeg, wantedYaw) * k;
    pitchDeg += (wantedPitch - pitchDeg) * k;
    if (easeEye) {
        eye = {eye.x + (wanted.eye.x - eye.x) * k, eye.y + (wanted.eye.y - eye.y) * k,
               eye.z + (wanted.eye.z - eye.z) * k};
    } else {
        eye = wanted.eye;
    }
    const double yaw = DegToRad(yawDeg), pitch = DegToRad(pitchDeg);
    return {eye,
            {eye.x + std::cos(pitch) * std::cos(yaw) * distance,
             eye.y + std::cos(pitch) * std::sin(yaw) * distance, eye.z + std::sin(pitch) * distance}};
}

bool TrainCameraView(const TrainSession& session, uint32_t watched, bool cab, double railTopMm,
                     CameraEasing& easing, double seconds, CameraView* view) {
    const SessionTrain* train = session.Find(watched);
    if (!train && !session.Trains().empty()) train = &session.Trains().front();
    if (!train || !train->state.Valid()) return false;
    const TrackGraph& graph = session.Network();
    const LinePose head = HeadPose(graph, train->state);
    const double locomotive =
        train->consist.vehicleLengthsMm.empty() ? 100.0 : train->consist.vehicleLengthsMm.front();
    if (cab) {
        // The driver's eye, 3.3 m above the rail head, looks at the track 1.5 locomotive lengths
        // ahead: along straights exactly ahead, into curves as a driver does.
        const LinePose ahead = PoseAhead(graph, session.Switches(), train->state, 1.5 * locomotive);
        *view = easing.Ease(CabView(head, ahead, railTopMm + ModelMm(3.3, train->preset.scale)),
                            seconds);
    } else {
        *view = easing.Ease(FollowView(head, 2.5 * locomotive, 1.2 * locomotive), seconds);
    }
    return true;
}
