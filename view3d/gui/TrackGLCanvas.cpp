// The 3D canvas: OpenGL context, fixed-function lighting, the draw order, and the orbit camera's
// mouse and keyboard handling.
#include "view3d/gui/TrackGLCanvas.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <wx/dcclient.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "model/LayoutDocument.h"
#include "view3d/TrackMeshes.h"
#include "view3d/TrackView.h"

namespace {

void DrawMesh(const Mesh& m) {
    if (m.Empty()) return;
    glVertexPointer(3, GL_FLOAT, 0, m.positions.data());
    glNormalPointer(GL_FLOAT, 0, m.normals.data());
    glColorPointer(3, GL_FLOAT, 0, m.colours.data());
    // With the index range given the driver need not scan the indices for it.
    glDrawRangeElements(GL_TRIANGLES, 0, static_cast<GLuint>(m.VertexCount() - 1),
                        static_cast<GLsizei>(m.indices.size()), GL_UNSIGNED_INT, m.indices.data());
}

// Draws the triangles from index `first` up to `last` of a mesh whose vertices lie in world axes.
void DrawBatchRange(const Mesh& m, uint32_t first, uint32_t last) {
    if (last <= first) return;
    uint32_t lo = m.indices[first], hi = lo;
    for (uint32_t k = first; k < last; ++k) {
        lo = std::min(lo, m.indices[k]);
        hi = std::max(hi, m.indices[k]);
    }
    glVertexPointer(3, GL_FLOAT, 0, m.positions.data());
    glNormalPointer(GL_FLOAT, 0, m.normals.data());
    glColorPointer(3, GL_FLOAT, 0, m.colours.data());
    glDrawRangeElements(GL_TRIANGLES, lo, hi, static_cast<GLsizei>(last - first), GL_UNSIGNED_INT,
                        m.indices.data() + first);
}

void DrawGridAndAxes() {
    glDisable(GL_LIGHTING);
    glColor3f(0.22f, 0.24f, 0.22f);
    glLineWidth(1);
    const float grid = static_cast<float>(kGridZ), axes = static_cast<float>(kAxesZ);
    glBegin(GL_LINES);
    for (int i = -35; i <= 35; ++i) {
        const float v = i * 100.0f;
        glVertex3f(v, -3500, grid);
        glVertex3f(v, 3500, grid);
        glVertex3f(-3500, v, grid);
        glVertex3f(3500, v, grid);
    }
    glEnd();
    glLineWidth(2);
    glBegin(GL_LINES);
    glColor3f(0.45f, 0.18f, 0.18f);
    glVertex3f(0, -3500, axes);
    glVertex3f(0, 3500, axes);
    glColor3f(0.18f, 0.45f, 0.18f);
    glVertex3f(-3500, 0, axes);
    glVertex3f(3500, 0, axes);
    glEnd();
    glLineWidth(1);
    glEnable(GL_LIGHTING);
}

}  // namespace

struct TrackGLCanvas::Visual {
    wxGLAttributes attributes;
    bool multisampled = false;
};

// The toolkit's default visual on X11 has no depth buffer, and without one the scene would be
// drawn in painter's order: ask for a double-buffered RGBA visual with 24 depth bits, or 16.
// Thin rails and distant edges stair-step without multisampling: ask for four samples first and
// do without when no visual offers them.
TrackGLCanvas::Visual TrackGLCanvas::ChooseVisual() {
    for (int samples : {4, 0}) {
        for (int depth : {24, 16}) {
            Visual v;
            v.attributes.PlatformDefaults().RGBA().DoubleBuffer().Depth(depth);
            if (samples > 0) v.attributes.SampleBuffers(1).Samplers(samples);
            v.attributes.EndList();
            v.multisampled = samples > 0;
            if (wxGLCanvas::IsDisplaySupported(v.attributes)) return v;
        }
    }
    Visual v;
    v.attributes.Defaults().EndList();
    return v;
}

TrackGLCanvas::TrackGLCanvas(wxWindow* parent, const LayoutDocument& doc)
    : TrackGLCanvas(parent, doc, ChooseVisual()) {}

TrackGLCanvas::TrackGLCanvas(wxWindow* parent, const LayoutDocument& doc, const Visual& visual)
    : wxGLCanvas(parent, visual.attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS, "GLCanvas"),
      multisampleVisual(visual.multisampled),
      document(doc) {
    wxGLContextAttrs attrs;
    attrs.PlatformDefaults().CoreProfile().OGLVersion(2, 1).EndList();
    context = std::make_unique<wxGLContext>(this, nullptr, &attrs);
    if (!context->IsOK()) {
        // Any context that still has the fixed-function pipeline will do.
        context = std::make_unique<wxGLContext>(this);
        fallbackContext = true;
    }
    Bind(wxEVT_PAINT, &TrackGLCanvas::OnPaint, this);
    Bind(wxEVT_SIZE, &TrackGLCanvas::OnSize, this);
    Bind(wxEVT_MOTION, &TrackGLCanvas::OnMotion, this);
    Bind(wxEVT_LEFT_DOWN, &TrackGLCanvas::OnButtonDown, this);
    Bind(wxEVT_RIGHT_DOWN, &TrackGLCanvas::OnButtonDown, this);
    Bind(wxEVT_LEFT_UP, &TrackGLCanvas::OnButtonUp, this);
    Bind(wxEVT_RIGHT_UP, &TrackGLCanvas::OnButtonUp, this);
    Bind(wxEVT_MOUSEWHEEL, &TrackGLCanvas::OnWheel, this);
    Bind(wxEVT_KEY_DOWN, &TrackGLCanvas::OnKeyDown, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST,
         [this](wxMouseCaptureLostEvent&) { rotating = panning = false; });
    DoRebuild();
}

TrackGLCanvas::~TrackGLCanvas() {
    if (HasCapture()) ReleaseMouse();
}

void TrackGLCanvas::DoRebuild() {
    RebuildScene(scene, document);
    camera.Fit(scene.bounds);
    rebuildPending = false;
    ++rebuildCount;
}

void TrackGLCanvas::Rebuild() {
    DoRebuild();
    Refresh();
}

void TrackGLCanvas::RequestRebuild() {
    rebuildPending = true;
    Refresh();
}

void TrackGLCanvas::InitGl() {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_NORMALIZE);
    // Given while the modelview matrix is the identity: the lights stay fixed to the viewer.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat ambient0[] = {0.22f, 0.22f, 0.20f, 1}, diffuse0[] = {0.92f, 0.90f, 0.84f, 1};
    const GLfloat specular0[] = {0.35f, 0.35f, 0.38f, 1}, position0[] = {700, 500, 1000, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient0);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse0);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular0);
    glLightfv(GL_LIGHT0, GL_POSITION, position0);
    const GLfloat ambient1[] = {0.04f, 0.04f, 0.07f, 1}, diffuse1[] = {0.22f, 0.26f, 0.34f, 1};
    const GLfloat position1[] = {-500, -700, 250, 1};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient1);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse1);
    glLightfv(GL_LIGHT1, GL_POSITION, position1);
    const GLfloat specular[] = {0.35f, 0.35f, 0.38f, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 20);
    glClearColor(0.14f, 0.16f, 0.19f, 1);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    multisampled = multisampleVisual && samples > 1;
    if (multisampled) glEnable(GL_MULTISAMPLE);
    glInitialised = true;
}

void TrackGLCanvas::DrawScene(int width, int height) {
    if (width >= 1 && height >= 1) {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // A near plane at 1 mm leaves the depth buffer too coarse metres away: track and the
        // grid under it would fight. Scaled with the distance it keeps 50 depth steps per mm
        // at the pan centre; nothing within 1/50 of the distance of the eye is ever looked at.
        const double nearPlane = std::max(1.0, camera.distance / 50.0);
        gluPerspective(kFieldOfViewDeg, static_cast<double>(width) / height, nearPlane, 60000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0, 0, camera.distance, 0, 0, 0, 0, 1, 0);
        // Turning the world by minus the pitch puts the camera on the near (-Y) side, above the
        // layout, with heights pointing up the screen; turning it by plus the pitch would show
        // the model rolled over, as if seen from below.
        glRotatef(-camera.pitch, 1, 0, 0);
        glRotatef(camera.yaw, 0, 0, 1);
        glTranslatef(camera.panX - camera.centreX, camera.panY - camera.centreY, 0);
        glGetDoublev(GL_MODELVIEW_MATRIX, lastModelview);
        glGetDoublev(GL_PROJECTION_MATRIX, lastProjection);
        lastViewport = {0, 0, width, height};
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawGridAndAxes();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    DrawMesh(scene.baseboard);
    DrawMesh(scene.decks);
    for (const SceneryInstance& s : scene.scenery) {
        const auto it = scene.sceneryModels.find(s.item);
        if (it == scene.sceneryModels.end() || it->second.Empty()) continue;
        glPushMatrix();
        glTranslatef(s.x, s.y, s.z + static_cast<float>(SceneryDrawOffset(s.item)));
        glRotatef(s.rotationDeg, 0, 0, 1);
        if (s.scaleX != 1 || s.scaleY != 1) glScalef(s.scaleX, s.scaleY, 1);
        DrawMesh(it->second);
        glPopMatrix();
    }
    DrawMesh(scene.piers);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1, -1);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const TrackView view(modelview, width, height, kFieldOfViewDeg);
    // Far instances go in runs straight from their world-axes batch: one draw per run.
    const InstanceBatch* run = nullptr;
    size_t runStart = 0, runEnd = 0;
    auto flushRun = [&] {
        if (run && runEnd > runStart)
            DrawBatchRange(run->mesh, run->first[runStart], run->first[runEnd]);
        run = nullptr;
    };
    for (size_t i = 0; i < scene.tracks.size(); ++i) {
        const TrackInstance& t = scene.tracks[i];
        const std::optional<TrackDetail> detail = view.Of(t);
        if (!detail) continue;
        if (*detail == TrackDetail::Far && i + 1 < scene.farBatch.first.size()) {
            if (run != &scene.farBatch || runEnd != i) {
                flushRun();
                run = &scene.farBatch;
                runStart = i;
            }
            runEnd = i + 1;
            continue;
        }
        const auto& meshes =
            *detail == TrackDetail::Full ? scene.pieceMeshes : scene.distantPieceMeshes;
        const auto it = meshes.find(t.article);
        if (it == meshes.end() || it->second.Empty()) continue;
        glPushMatrix();
        glTranslatef(t.x, t.y, t.z);
        glRotatef(t.rotationDeg, 0, 0, 1);
        glRotatef(-t.tiltDeg, 0, 1, 0);
        glScalef(1, -1, 1);
        DrawMesh(it->second);
        glPopMatrix();
    }
    flushRun();
    glDisable(GL_POLYGON_OFFSET_FILL);
    DrawMesh(scene.tunnels);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

bool TrackGLCanvas::RenderFrame(std::vector<uint8_t>* pixels) {
    if (!context || !IsShownOnScreen() || !SetCurrent(*context)) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!glInitialised) InitGl();
    const wxSize size = GetClientSize();
    DrawScene(size.x, size.y);
    if (pixels && size.x > 0 && size.y > 0) {
        pixels->assign(static_cast<size_t>(size.x) * size.y * 3, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, size.x, size.y, GL_RGB, GL_UNSIGNED_BYTE, pixels->data());
    }
    lastGlError = glGetError();
    while (glGetError() != GL_NO_ERROR) {
    }
    SwapBuffers();
    return true;
}

bool TrackGLCanvas::ProjectToWindow(double x, double y, double z, wxPoint& out) const {
    if (lastViewport[2] < 1 || lastViewport[3] < 1) return false;
    GLdouble wx = 0, wy = 0, wz = 0;
    if (!gluProject(x, y, z, lastModelview, lastProjection, lastViewport.data(), &wx, &wy, &wz))
        return false;
    out = wxPoint(static_cast<int>(std::lround(wx)),
                  lastViewport[3] - 1 - static_cast<int>(std::lround(wy)));
    return wz >= 0 && wz <= 1;
}

void TrackGLCanvas::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    if (rebuildPending) DoRebuild();
    RenderFrame();
}

void TrackGLCanvas::OnSize(wxSizeEvent& event) {
    Refresh();
    event.Skip();
}

void TrackGLCanvas::OnButtonDown(wxMouseEvent& event) {
    lastX = event.GetX();
    lastY = event.GetY();
    rotating = event.LeftIsDown();
    panning = event.RightIsDown();
    if (!HasCapture()) CaptureMouse();
    SetFocus();
}

void TrackGLCanvas::OnMotion(wxMouseEvent& event) {
    const int dx = event.GetX() - lastX, dy = event.GetY() - lastY;
    lastX = event.GetX();
    lastY = event.GetY();
    if (rotating) camera.Rotate(dx, dy);
    if (panning) camera.Pan(dx, dy);
    if (rotating || panning) Refresh();
}

void TrackGLCanvas::OnButtonUp(wxMouseEvent&) {
    rotating = panning = false;
    if (HasCapture()) ReleaseMouse();
}

void TrackGLCanvas::OnWheel(wxMouseEvent& event) {
    camera.Wheel(event.GetWheelRotation());
    Refresh();
}

void TrackGLCanvas::OnKeyDown(wxKeyEvent& event) {
    const int code = event.GetKeyCode();
    if (code == 'R' || code == 'r') {
        camera.Reset();
        Refresh();
        return;
    }
    event.Skip();
}
