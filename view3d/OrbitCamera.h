// The orbit camera of the 3D view: angles, distance, pan and the fit to a scene's extent.
#pragma once

struct SceneBounds;

struct OrbitCamera {
    static constexpr float kPitch = 35.0f;
    static constexpr float kYaw = 30.0f;
    static constexpr float kDistance = 800.0f;
    static constexpr float kMinPitch = -89.0f;
    static constexpr float kMaxPitch = 89.0f;
    static constexpr float kMinDistance = 50.0f;
    static constexpr float kMaxDistance = 15000.0f;

    float pitch = kPitch;  // degrees about the x axis
    float yaw = kYaw;      // degrees about the z axis
    float distance = kDistance;
    float panX = 0;
    float panY = 0;
    float centreX = 0;
    float centreY = 0;

    // Left drag by (dx, dy) pixels: half a degree per pixel, pitch held within +-89.
    void Rotate(int dx, int dy);
    // Right drag by (dx, dy) pixels (y down): moves the scene along with the pointer in the ground
    // plane, faster the farther the camera.
    void Pan(int dx, int dy);
    // A wheel step: nearer for a positive rotation, farther otherwise, within 50 to 15000 mm.
    void Wheel(int rotation);
    // R: the initial angles and no pan; distance and scene centre stay.
    void Reset();
    // Centre on the middle of the extent and stand back 1.8 times its larger side (at least
    // 400 mm). An empty extent changes nothing.
    void Fit(const SceneBounds& bounds);
};
