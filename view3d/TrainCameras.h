// The cameras that ride with a train in the 3D view: following it from behind and above, and
// looking out of the cab along the track; both eased so that curves do not jerk the picture.
#pragma once

#include <cstdint>

#include "view3d/Mesh.h"

struct LinePose;
class TrainSession;

// Where a camera stands and what it looks at, in world axes (x, minus layout y, height); up is
// the world's z.
struct CameraView {
    Vec3 eye;
    Vec3 target;
};

// From the head of the train (on the rail, heading the way it runs): `eyeHeightMm` above the
// rail, looking at the track `ahead` at the same height above its rail.
CameraView CabView(const LinePose& head, const LinePose& ahead, double eyeHeightMm);
// `backMm` behind the head and `upMm` above its rail, looking at the head.
CameraView FollowView(const LinePose& head, double backMm, double upMm);

// Eases a camera towards where it should be: its viewing direction turns (and, when easeEye,
// its eye moves) by the share 1 - exp(-seconds / timeConstant) of the way each frame, so the
// picture turns smoothly however the track bends. The first view, and one far from the last,
// is taken as it is.
class CameraEasing {
public:
    explicit CameraEasing(double timeConstantS, bool easeEye)
        : timeConstant(timeConstantS), easeEye(easeEye) {}
    CameraView Ease(const CameraView& wanted, double seconds);
    void Reset() { started = false; }

    // The jump beyond which the camera is put at the wanted view at once (another train, a
    // train turned round).
    static constexpr double kJumpMm = 400.0;

private:
    double timeConstant;
    bool easeEye;
    bool started = false;
    Vec3 eye;
    double yawDeg = 0;
    double pitchDeg = 0;
};

// The view of a train camera on the session's train `watched` (or its first train): `cab` out of
// the cab, else following; eased by `easing` over `seconds`. The rail head is `railTopMm` above
// the track's height. False when there is no train.
bool TrainCameraView(const TrainSession& session, uint32_t watched, bool cab, double railTopMm,
                     CameraEasing& easing, double seconds, CameraView* view);
