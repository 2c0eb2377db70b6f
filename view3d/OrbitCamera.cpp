// Orbit camera arithmetic shared by the 3D window and its tests.
#include "view3d/OrbitCamera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "view3d/Scene3D.h"

void OrbitCamera::Rotate(int dx, int dy) {
    yaw += dx * 0.5f;
    pitch = std::clamp(pitch + dy * 0.5f, kMinPitch, kMaxPitch);
}

void OrbitCamera::Pan(int dx, int dy) {
    const float a = yaw * std::numbers::pi_v<float> / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    // The drag in screen axes (y down) turned back by the yaw into the ground plane, so that the
    // scene moves with the pointer on both axes.
    panX += (c * dx - s * dy) * distance / 900.0f;
    panY -= (s * dx + c * dy) * distance / 900.0f;
}

void OrbitCamera::Wheel(int rotation) {
    distance *= rotation > 0 ? 0.88f : 1.0f / 0.88f;
    distance = std::clamp(distance, kMinDistance, kMaxDistance);
}

void OrbitCamera::Reset() {
    pitch = kPitch;
    yaw = kYaw;
    panX = 0;
    panY = 0;
}

void OrbitCamera::Fit(const SceneBounds& bounds) {
    if (!bounds.any) return;
    centreX = static_cast<float>((bounds.minX + bounds.maxX) / 2);
    centreY = static_cast<float>((bounds.minY + bounds.maxY) / 2);
    const double side = std::max(bounds.maxX - bounds.minX, bounds.maxY - bounds.minY);
    distance = static_cast<float>(std::max(400.0, 1.8 * side));
}
