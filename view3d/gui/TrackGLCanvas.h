// The OpenGL canvas of the 3D view: the scene of the layout, lit, over a ground grid, seen by an
// orbit camera that the mouse turns, pans and zooms.
#pragma once

#include <wx/glcanvas.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "view3d/OrbitCamera.h"
#include "view3d/Scene3D.h"
#include "view3d/TrainCameras.h"
#include "view3d/TrainScene.h"

class LayoutDocument;
class TrainSession;
class TrackView;

class TrackGLCanvas : public wxGLCanvas {
public:
    TrackGLCanvas(wxWindow* parent, const LayoutDocument& document);
    ~TrackGLCanvas() override;

    // Rebuilds the scene from the document now, fits the camera to it, and repaints.
    void Rebuild();
    // Marks the scene stale and repaints; the rebuild happens at the next paint, so a burst of
    // changes (a drag) costs one rebuild per drawn frame.
    void RequestRebuild();
    bool RebuildPending() const { return rebuildPending; }
    // Copies every mesh to the graphics card again at the next frame, instead of only what the
    // edits since the last frame changed.
    void CopyAllMeshesAgain();
    // How many times the scene was built since the canvas was made.
    int RebuildCount() const { return rebuildCount; }

    const Scene3D& Scene() const { return scene; }
    OrbitCamera& Camera() { return camera; }
    const OrbitCamera& Camera() const { return camera; }
    // True when the requested context was refused and a default one is used instead.
    bool UsesFallbackContext() const { return fallbackContext; }
    // True once the first frame found a multisampled visual in use (false when none is offered).
    bool UsesMultisampling() const { return multisampled; }
    static constexpr double kFieldOfViewDeg = 40.0;

    // Where a world point fell in the window (pixels, y down) in the last frame drawn; false
    // when it lay outside the depth range or nothing was drawn yet.
    bool ProjectToWindow(double x, double y, double z, wxPoint& out) const;

    // The trains to draw, and the one the train cameras ride with (null: none). The canvas only
    // reads them while it draws; the owner clears them before they go.
    void SetTrains(const TrainSession* session, uint32_t watchedTrain);
    // O: the orbit camera; F: following the watched train; C: out of its cab. Without a train
    // the orbit camera is used.
    enum class CameraMode { Orbit, Follow, Cab };
    void SetCameraMode(CameraMode mode);
    CameraMode Mode() const { return cameraMode; }
    // The trains' vehicles as last drawn: each a shared model and where it stands.
    const std::vector<PlacedVehicle>& TrainVehicles() const { return trainVehicles; }
    // How many vehicle models the canvas has made since it was created (one per size of vehicle,
    // however many frames the trains run).
    int VehicleModelsMade() const { return vehicleModelsMade; }
    // Where the camera stood for the last frame, in world axes.
    const CameraView& LastView() const { return lastView; }
    // The vehicles the last frame left out because the cab camera stood inside them.
    int HiddenFromCab() const { return hiddenFromCab; }

    // The layout's background pictures lying on the baseboard (off by default): each picture the
    // layout shows, at its place, width, turn and opacity, on its deck's board where it has one.
    void ShowPictures(bool show);
    bool PicturesShown() const { return showPictures; }
    // The layout's pictures changed: laid again at the next frame when they are shown.
    void PicturesChanged();
    // How many pictures lie on the board, and how many picture textures the canvas has copied to
    // the graphics card since it was made (one per image file, kept while the file is laid).
    size_t PicturesLaid() const;
    int PictureTexturesMade() const;

    // Draws one frame into the back buffer and shows it; with `pixels`, first reads the frame
    // back as RGB rows from the bottom up. False when the context cannot be made current.
    bool RenderFrame(std::vector<uint8_t>* pixels = nullptr);
    // The first OpenGL error the last frame raised (GL_NO_ERROR when none).
    unsigned LastGlError() const { return lastGlError; }

private:
    struct Visual;
    static Visual ChooseVisual();
    TrackGLCanvas(wxWindow* parent, const LayoutDocument& document, const Visual& visual);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnButtonDown(wxMouseEvent& event);
    void OnButtonUp(wxMouseEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnKeyDown(wxKeyEvent& event);

    void InitGl();
    // Sets the modelview of a train camera; false when there is no train to ride with.
    bool LookFromTrain(double seconds);
    void SetUpView(int width, int height);
    void DrawScene(int width, int height);
    void DrawTrack(const TrackView& view);
    // With the detail (or culled) of each track instance.
    void DrawPiers(const std::vector<int8_t>& detail, const std::vector<uint8_t>& smallParts);
    void DrawBatch(const std::vector<uint32_t>& instances);
    void DrawTrackInstances(const std::vector<int8_t>& detail,
                            const std::vector<uint8_t>& smallParts);
    void DrawTrains();
    void DoRebuild();
    void LayPictures();
    void DrawPictures();

    // The meshes copied to the graphics card's buffers, kept while the context lives.
    struct GpuMeshes;
    std::unique_ptr<GpuMeshes> gpu;
    // The pictures laid on the board and their textures.
    struct BoardPictures;
    std::unique_ptr<BoardPictures> boardPictures;
    bool showPictures = false;
    bool picturesPending = false;
    std::unique_ptr<wxGLContext> context;
    bool fallbackContext = false;
    bool glInitialised = false;
    bool multisampleVisual = false;
    bool multisampled = false;
    double lastModelview[16] = {};
    double lastProjection[16] = {};
    std::array<int, 4> lastViewport{};
    const LayoutDocument& document;
    Scene3D scene;
    OrbitCamera camera;
    bool rebuildPending = false;
    bool farMeshesDue = false;  // a frame wanted far track: the next one makes the far meshes
    int rebuildCount = 0;
    unsigned lastGlError = 0;

    const TrainSession* trains = nullptr;
    uint32_t watched = 0;
    CameraMode cameraMode = CameraMode::Orbit;
    CameraEasing followEasing{0.6, true};
    CameraEasing cabEasing{0.35, false};
    CameraView lastView;
    int hiddenFromCab = 0;
    std::vector<PlacedVehicle> trainVehicles;
    int vehicleModelsMade = 0;
    double lastFrameS = -1;

    int lastX = 0;
    int lastY = 0;
    bool rotating = false;
    bool panning = false;
};
