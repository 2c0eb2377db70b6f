// The 3D canvas: OpenGL context, fixed-function lighting, the draw order, and the orbit camera's
// mouse and keyboard handling.
#include "view3d/gui/TrackGLCanvas.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
#include <wx/dcclient.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numbers>
#include <tuple>
#include <unordered_map>

#include "canvas/gui/PictureLayer.h"
#include "model/LayoutDocument.h"
#include "view3d/ChunkRuns.h"
#include "view3d/PictureQuad.h"
#include "view3d/TrackMeshes.h"
#include "view3d/TrackView.h"
#include "view3d/TrainScene.h"

// The buffer-object calls of OpenGL 1.5, which every context the canvas gets has and the GL
// library exports (the toolkit's headers include gl.h before this file could ask for them).
extern "C" {
GLAPI void APIENTRY glGenBuffers(GLsizei n, GLuint* buffers);
GLAPI void APIENTRY glBindBuffer(GLenum target, GLuint buffer);
GLAPI void APIENTRY glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
GLAPI void APIENTRY glBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size,
                                    const void* data);
// From GLX, declared here because its header's macros (None, Bool) break ours.
void (*glXGetProcAddressARB(const GLubyte* name))();
}

namespace {

// A mesh in the graphics card's memory: one buffer with the positions, then the normals, then
// the colours, and one with the indices.
struct GpuMesh {
    GLuint buffer = 0;
    GLuint indexBuffer = 0;
    size_t vertices = 0;
    size_t indices = 0;
    float reach = 0;  // of an article's mesh or a scenery model: see Reach
};

// The storage a mesh's buffers have, for a mesh made again and again.
struct BufferRoom {
    size_t arrayBytes = 0;
    size_t indexBytes = 0;
};

// Copies a mesh into its buffers. With room, the buffers keep their storage while the mesh fits
// (new storage costs the driver fresh pages to clear each time) and grow by half as much again;
// without, the storage is made anew to the mesh's size.
void Upload(GpuMesh& g, const Mesh& m, BufferRoom* room = nullptr) {
    if (!g.buffer) {
        glGenBuffers(1, &g.buffer);
        glGenBuffers(1, &g.indexBuffer);
    }
    const size_t arrayBytes = m.positions.size() * sizeof(float);
    const size_t indexBytes = m.indices.size() * sizeof(uint32_t);
    const auto make = [room](GLenum target, size_t bytes, size_t* had) {
        if (room && bytes <= *had) return;
        const size_t made = room ? bytes + bytes / 2 : bytes;
        glBufferData(target, static_cast<GLsizeiptr>(made), nullptr,
                     room ? GL_STREAM_DRAW : GL_STATIC_DRAW);
        if (room) *had = made;
    };
    glBindBuffer(GL_ARRAY_BUFFER, g.buffer);
    make(GL_ARRAY_BUFFER, 3 * arrayBytes, room ? &room->arrayBytes : nullptr);
    const std::vector<float>* arrays[] = {&m.positions, &m.normals, &m.colours};
    for (size_t k = 0; k < 3; ++k)
        glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(k * arrayBytes),
                        static_cast<GLsizeiptr>(arrayBytes), arrays[k]->data());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.indexBuffer);
    make(GL_ELEMENT_ARRAY_BUFFER, indexBytes, room ? &room->indexBytes : nullptr);
    glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(indexBytes),
                    m.indices.data());
    g.vertices = m.VertexCount();
    g.indices = m.indices.size();
}

// How far the farthest vertex of a mesh lies from its origin.
float Reach(const Mesh& m) {
    float reach2 = 0;
    for (size_t i = 0; i + 2 < m.positions.size(); i += 3)
        reach2 = std::max(reach2, m.positions[i] * m.positions[i] +
                                      m.positions[i + 1] * m.positions[i + 1] +
                                      m.positions[i + 2] * m.positions[i + 2]);
    return std::sqrt(reach2);
}

// Copies what changed since the last copy: the whole mesh when its size changed, else the
// ranges of vertices and indices an edit replaced.
void CopyChanges(GpuMesh& g, const Mesh& m, MeshChange& change) {
    if (!change.Any() && g.buffer) return;
    if (change.whole || !g.buffer || g.vertices != m.VertexCount() ||
        g.indices != m.indices.size()) {
        Upload(g, m);
    } else {
        const size_t v0 = std::min(change.firstVertex, g.vertices);
        const size_t v1 = std::min(change.endVertex, g.vertices);
        if (v0 < v1) {
            glBindBuffer(GL_ARRAY_BUFFER, g.buffer);
            const size_t arrayBytes = g.vertices * 3 * sizeof(float);
            const size_t offset = v0 * 3 * sizeof(float), bytes = (v1 - v0) * 3 * sizeof(float);
            const std::vector<float>* arrays[] = {&m.positions, &m.normals, &m.colours};
            for (size_t k = 0; k < 3; ++k)
                glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(k * arrayBytes + offset),
                                static_cast<GLsizeiptr>(bytes), arrays[k]->data() + 3 * v0);
        }
        const size_t i0 = std::min(change.firstIndex, g.indices);
        const size_t i1 = std::min(change.endIndex, g.indices);
        if (i0 < i1) {
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.indexBuffer);
            glBufferSubData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLintptr>(i0 * sizeof(uint32_t)),
                            static_cast<GLsizeiptr>((i1 - i0) * sizeof(uint32_t)),
                            m.indices.data() + i0);
        }
    }
    change = MeshChange{};
}

void BindMesh(const GpuMesh& g) {
    const size_t arrayBytes = g.vertices * 3 * sizeof(float);
    glBindBuffer(GL_ARRAY_BUFFER, g.buffer);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glNormalPointer(GL_FLOAT, 0, reinterpret_cast<const void*>(arrayBytes));
    glColorPointer(3, GL_FLOAT, 0, reinterpret_cast<const void*>(2 * arrayBytes));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.indexBuffer);
}

// Draws the triangles from index `first` to `last` of a bound mesh, whose vertices lie within
// lo to hi: with the range given the driver need not scan the indices for it.
void DrawBound(size_t lo, size_t hi, size_t first, size_t last) {
    if (last <= first || hi < lo) return;
    glDrawRangeElements(GL_TRIANGLES, static_cast<GLuint>(lo), static_cast<GLuint>(hi),
                        static_cast<GLsizei>(last - first), GL_UNSIGNED_INT,
                        reinterpret_cast<const void*>(first * sizeof(uint32_t)));
}

void Draw(const GpuMesh& g) {
    if (g.indices == 0) return;
    BindMesh(g);
    DrawBound(0, g.vertices - 1, 0, g.indices);
}

// True when the display's OpenGL runs on the processor (Mesa's llvmpipe, as under Xvfb), asked
// before any context exists. There four samples a pixel cost two thirds of every frame, and the
// level of detail already merges what would stair-step into bands of its colour.
bool SoftwareRenderer() {
    _XDisplay* display = wxGetX11Display();
    if (!display) return false;
    // glXQueryRendererIntegerMESA with GLX_RENDERER_ACCELERATED_MESA.
    constexpr int kAccelerated = 0x8186;
    using Query = int (*)(_XDisplay*, int, int, int, unsigned int*);
    const auto query = reinterpret_cast<Query>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    unsigned int accelerated = 1;
    // The toolkit opens one screen: the display's first.
    if (!query || !query(display, 0, 0, kAccelerated, &accelerated)) return false;
    return accelerated == 0;
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

struct TrackGLCanvas::GpuMeshes {
    // Article meshes by article and scenery models by item: once made they never change.
    std::unordered_map<std::string, GpuMesh> full;
    std::unordered_map<std::string, GpuMesh> scenery;
    GpuMesh farBatch;
    GpuMesh piers;
    GpuMesh farPiers;
    GpuMesh baseboard;
    GpuMesh decks;
    GpuMesh tunnels;
    // The full mesh of every track instance and the meshes it is batched from when it is not
    // drawn full (null where there are none), found again when the instances change.
    std::vector<const GpuMesh*> fullOf;
    std::vector<const Mesh*> distantOf;
    std::vector<const Mesh*> smallBridgeOf;  // null for a piece that is no bridge
    // The instances drawn in neither full nor far detail, placed in one mesh (a draw per piece
    // would cost more than placing its few vertices): made again when other instances are in it
    // or the instances changed, and kept while the camera stands, as it does when trains run.
    Mesh batchMesh;
    GpuMesh batch;
    BufferRoom batchRoom;
    std::vector<uint32_t> batched;
    bool batchStale = true;
    // Set by each rebuild of the scene: the instances may have other articles at the same places
    // in the list, which the far batch does not tell of while nothing is far.
    bool instancesChanged = true;
    // Vehicle models by length, width, height and whether a locomotive.
    std::map<std::tuple<double, double, double, bool>, GpuMesh> vehicles;

    const GpuMesh* Article(std::unordered_map<std::string, GpuMesh>& gpuMeshes,
                           const std::unordered_map<std::string, Mesh>& meshes,
                           const std::string& article) {
        auto it = gpuMeshes.find(article);
        if (it != gpuMeshes.end()) return &it->second;
        const auto m = meshes.find(article);
        if (m == meshes.end() || m->second.Empty()) return nullptr;
        GpuMesh& g = gpuMeshes[article];
        Upload(g, m->second);
        g.reach = Reach(m->second);
        return &g;
    }

    static const Mesh* Local(const std::unordered_map<std::string, Mesh>& meshes,
                             const std::string& article) {
        const auto m = meshes.find(article);
        return m == meshes.end() || m->second.Empty() ? nullptr : &m->second;
    }

    // Brings the buffers up to date with the scene's meshes, copying only what changed.
    void Sync(Scene3D& scene) {
        SceneChanges& c = scene.changes;
        MeshChange whole;
        whole.MarkWhole();
        MeshChange none;
        const bool tracksChanged = instancesChanged || scene.farBatch.change.Any() ||
                                   !farBatch.buffer || fullOf.size() != scene.tracks.size();
        CopyChanges(farBatch, scene.farBatch.mesh, scene.farBatch.change);
        CopyChanges(piers, scene.piers.mesh, scene.piers.change);
        CopyChanges(farPiers, scene.farPiers.mesh, scene.farPiers.change);
        CopyChanges(baseboard, scene.baseboard, c.baseboard || !baseboard.buffer ? whole : none);
        whole.MarkWhole();
        CopyChanges(decks, scene.decks, c.decks || !decks.buffer ? whole : none);
        whole.MarkWhole();
        CopyChanges(tunnels, scene.tunnels, c.tunnels || !tunnels.buffer ? whole : none);
        c = SceneChanges{false, false, false};
        if (!tracksChanged) return;
        fullOf.resize(scene.tracks.size());
        distantOf.resize(scene.tracks.size());
        smallBridgeOf.resize(scene.tracks.size());
        for (size_t i = 0; i < scene.tracks.size(); ++i) {
            const std::string& article = scene.tracks[i].article;
            fullOf[i] = Article(full, scene.pieceMeshes, article);
            distantOf[i] = Local(scene.distantPieceMeshes, article);
            smallBridgeOf[i] = Local(scene.smallBridgeMeshes, article);
        }
        instancesChanged = false;
        batchStale = true;
    }
};

// Each picture laid on the board with the image it was laid from, and one texture per image file,
// made again when the file's image is another one.
struct TrackGLCanvas::BoardPictures {
    struct Laid {
        PictureQuad quad;
        std::string path;
        std::shared_ptr<const PictureImage> image;
    };
    struct Texture {
        GLuint id = 0;
        std::shared_ptr<const PictureImage> image;
    };
    std::vector<Laid> laid;
    std::map<std::string, Texture> textures;
    int made = 0;
};

namespace {

// Copies a picture's image into a texture, reduced to a size the GL takes: from the smallest
// halving of the image still at least that large.
void UploadPicture(GLuint& id, const PictureImage& image) {
    GLint most = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &most);
    const wxImage& full = image.image;
    const auto [w, h] = PictureTextureSize({double(full.GetWidth()), double(full.GetHeight())},
                                           static_cast<int>(most));
    const wxImage* source = &full;
    for (const wxImage& half : image.halves)
        if (half.GetWidth() >= w && half.GetHeight() >= h) source = &half;
    const wxImage scaled = source->GetWidth() == w && source->GetHeight() == h
                               ? *source
                               : source->Scale(w, h, wxIMAGE_QUALITY_BILINEAR);
    const size_t pixels = static_cast<size_t>(w) * h;
    std::vector<uint8_t> rgba(pixels * 4, 255);
    const unsigned char* rgb = scaled.GetData();
    const unsigned char* alpha = scaled.HasAlpha() ? scaled.GetAlpha() : nullptr;
    for (size_t i = 0; i < pixels; ++i) {
        std::copy(rgb + 3 * i, rgb + 3 * i + 3, rgba.begin() + static_cast<std::ptrdiff_t>(4 * i));
        if (alpha) rgba[4 * i + 3] = alpha[i];
    }
    if (!id) glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Seen at a slant from afar the picture would shimmer without its smaller levels.
    glTexParameteri(GL_TEXTURE_2D, GL_GENERATE_MIPMAP, GL_TRUE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

}  // namespace

struct TrackGLCanvas::Visual {
    wxGLAttributes attributes;
    bool multisampled = false;
};

// The toolkit's default visual on X11 has no depth buffer, and without one the scene would be
// drawn in painter's order: ask for a double-buffered RGBA visual with 24 depth bits, or 16.
// Thin rails and distant edges stair-step without multisampling: ask for four samples first and
// do without when no visual offers them, or when the renderer is software (see above).
TrackGLCanvas::Visual TrackGLCanvas::ChooseVisual() {
    const bool software = SoftwareRenderer();
    for (int samples : {4, 0}) {
        if (samples > 0 && software) continue;
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
      gpu(std::make_unique<GpuMeshes>()),
      boardPictures(std::make_unique<BoardPictures>()),
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
    if (gpu) gpu->instancesChanged = true;
    if (showPictures) LayPictures();
    camera.Fit(scene.bounds);
    rebuildPending = false;
    ++rebuildCount;
}

void TrackGLCanvas::Rebuild() {
    DoRebuild();
    Refresh();
}

void TrackGLCanvas::CopyAllMeshesAgain() {
    scene.farBatch.change.MarkWhole();
    scene.piers.change.MarkWhole();
    scene.farPiers.change.MarkWhole();
    scene.changes = SceneChanges{};
    gpu->fullOf.clear();
    Refresh();
}

void TrackGLCanvas::ShowPictures(bool show) {
    showPictures = show;
    LayPictures();
    Refresh();
}

void TrackGLCanvas::PicturesChanged() {
    if (!showPictures) return;
    picturesPending = true;
    Refresh();
}

size_t TrackGLCanvas::PicturesLaid() const { return boardPictures->laid.size(); }

int TrackGLCanvas::PictureTexturesMade() const { return boardPictures->made; }

void TrackGLCanvas::LayPictures() {
    picturesPending = false;
    std::vector<BoardPictures::Laid>& laid = boardPictures->laid;
    laid.clear();
    if (!showPictures) return;
    for (const BackgroundPicture& p : document.pictures) {
        if (!PictureDrawn(document, p)) continue;  // its file is not even read
        std::shared_ptr<const PictureImage> image = PictureImages::Shared().Get(p.path);
        if (!image->Ok()) continue;
        const PointMm pixels{double(image->image.GetWidth()), double(image->image.GetHeight())};
        if (const auto quad = MakePictureQuad(document, p, pixels))
            laid.push_back({*quad, p.path, std::move(image)});
    }
}

// Unlit, blended at their opacity, and without writing depth: the track and the scenery over
// them are drawn as over the bare board.
void TrackGLCanvas::DrawPictures() {
    BoardPictures& b = *boardPictures;
    for (auto it = b.textures.begin(); it != b.textures.end();) {
        const bool used =
            std::any_of(b.laid.begin(), b.laid.end(),
                        [&](const BoardPictures::Laid& l) { return l.path == it->first; });
        if (used) {
            ++it;
            continue;
        }
        glDeleteTextures(1, &it->second.id);
        it = b.textures.erase(it);
    }
    if (b.laid.empty()) return;
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1, -1);
    for (const BoardPictures::Laid& l : b.laid) {
        BoardPictures::Texture& t = b.textures[l.path];
        if (!t.id || t.image != l.image) {
            UploadPicture(t.id, *l.image);
            t.image = l.image;
            ++b.made;
        }
        glBindTexture(GL_TEXTURE_2D, t.id);
        glColor4f(1, 1, 1, l.quad.opacity);
        glBegin(GL_QUADS);
        for (size_t k = 0; k < 4; ++k) {
            glTexCoord2f(l.quad.texCoords[k][0], l.quad.texCoords[k][1]);
            glVertex3d(l.quad.corners[k].x, l.quad.corners[k].y, l.quad.corners[k].z);
        }
        glEnd();
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
}

void TrackGLCanvas::RequestRebuild() {
    rebuildPending = true;
    Refresh();
}

void TrackGLCanvas::SetTrains(const TrainSession* session, uint32_t watchedTrain) {
    trains = session;
    watched = watchedTrain;
    Refresh();
}

void TrackGLCanvas::SetCameraMode(CameraMode mode) {
    cameraMode = mode;
    followEasing.Reset();
    cabEasing.Reset();
    Refresh();
}

bool TrackGLCanvas::LookFromTrain(double seconds) {
    if (cameraMode == CameraMode::Orbit || !trains) return false;
    const bool cab = cameraMode == CameraMode::Cab;
    if (!TrainCameraView(*trains, watched, cab, kRailTop, cab ? cabEasing : followEasing, seconds,
                         &lastView))
        return false;
    gluLookAt(lastView.eye.x, lastView.eye.y, lastView.eye.z, lastView.target.x, lastView.target.y,
              lastView.target.z, 0, 0, 1);
    return true;
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
    // Every mesh has unit normals and most are placed without scaling: only what is scaled has
    // its normals made unit again, which spares every other vertex a square root.
    glDisable(GL_NORMALIZE);
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

// The projection and the camera for a window of width by height pixels, kept for ProjectToWindow.
void TrackGLCanvas::SetUpView(int width, int height) {
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const double nowS = std::chrono::duration<double>(now).count();
    const double seconds = lastFrameS < 0 ? 0.0 : nowS - lastFrameS;
    lastFrameS = nowS;
    // A near plane at 1 mm leaves the depth buffer too coarse metres away: track and the
    // grid under it would fight. Scaled with the distance it keeps 50 depth steps per mm
    // at the pan centre; nothing within 1/50 of the distance of the eye is ever looked at.
    // The train cameras stand close to the track and look a few metres at most.
    const bool onTrain = cameraMode != CameraMode::Orbit && trains && HasTrains(*trains);
    const double nearPlane = onTrain ? 3.0 : std::max(1.0, camera.distance / 50.0);
    gluPerspective(kFieldOfViewDeg, static_cast<double>(width) / height, nearPlane,
                   onTrain ? 20000.0 : 60000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (!LookFromTrain(seconds)) {
        gluLookAt(0, 0, camera.distance, 0, 0, 0, 0, 1, 0);
        // Turning the world by minus the pitch puts the camera on the near (-Y) side, above
        // the layout, with heights pointing up the screen; turning it by plus the pitch
        // would show the model rolled over, as if seen from below.
        glRotatef(-camera.pitch, 1, 0, 0);
        glRotatef(camera.yaw, 0, 0, 1);
        glTranslatef(camera.panX - camera.centreX, camera.panY - camera.centreY, 0);
    }
    glGetDoublev(GL_MODELVIEW_MATRIX, lastModelview);
    glGetDoublev(GL_PROJECTION_MATRIX, lastProjection);
    lastViewport = {0, 0, width, height};
}

void TrackGLCanvas::DrawScene(int width, int height) {
    if (width >= 1 && height >= 1) SetUpView(width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawGridAndAxes();

    gpu->Sync(scene);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    Draw(gpu->baseboard);
    Draw(gpu->decks);
    if (showPictures || !boardPictures->textures.empty()) DrawPictures();
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    const TrackView view(modelview, width, height, kFieldOfViewDeg);
    for (const SceneryInstance& s : scene.scenery) {
        const GpuMesh* model = gpu->Article(gpu->scenery, scene.sceneryModels, s.item);
        if (!model) continue;
        const double scale = std::max({1.0f, std::abs(s.scaleX), std::abs(s.scaleY)});
        if (!view.Sees(s.x, s.y, s.z, model->reach * scale + 5)) continue;
        glPushMatrix();
        glTranslatef(s.x, s.y, s.z + static_cast<float>(SceneryDrawOffset(s.item)));
        glRotatef(s.rotationDeg, 0, 0, 1);
        const bool scaled = s.scaleX != 1 || s.scaleY != 1;
        if (scaled) {
            glScalef(s.scaleX, s.scaleY, 1);
            glEnable(GL_NORMALIZE);
        }
        Draw(*model);
        if (scaled) glDisable(GL_NORMALIZE);
        glPopMatrix();
    }
    DrawTrack(view);
    // A vehicle's placing is taken as it comes.
    glEnable(GL_NORMALIZE);
    DrawTrains();
    glDisable(GL_NORMALIZE);
    Draw(gpu->tunnels);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

namespace {

// Draws the runs of consecutive chunks of a chunked mesh, binding its buffers at the first.
class RunDrawer {
public:
    RunDrawer(const ChunkedMesh& mesh, const GpuMesh& gpu) : runs(mesh), gpu(gpu) {}
    void Add(size_t chunk) { DrawRun(runs.Add(chunk)); }
    // Draws the pending run.
    void Flush() { DrawRun(runs.Flush()); }

private:
    void DrawRun(const std::optional<ChunkRun>& run) {
        if (!run) return;
        if (!bound) BindMesh(gpu);
        bound = true;
        DrawBound(run->lowVertex, run->highVertex, run->firstIndex, run->endIndex);
    }

    ChunkRuns runs;
    const GpuMesh& gpu;
    bool bound = false;
};

// Culled, or drawn in how much detail (a TrackDetail): the piers under a piece go with it.
constexpr int8_t kCulled = -1;
constexpr int8_t kFar = static_cast<int8_t>(TrackDetail::Far);

}  // namespace

void TrackGLCanvas::DrawTrack(const TrackView& view) {
    std::vector<int8_t> detail(scene.tracks.size(), kCulled);
    std::vector<uint8_t> smallParts(scene.tracks.size(), 0);
    bool farWanted = false;
    for (size_t i = 0; i < scene.tracks.size(); ++i) {
        if (const std::optional<TrackSight> sight = view.SightOf(scene.tracks[i])) {
            detail[i] = static_cast<int8_t>(sight->detail);
            smallParts[i] = sight->smallParts;
            farWanted = farWanted || sight->smallParts;  // far track has small parts too
        }
    }
    // The far meshes are made by the frame after the first that wants them, so that the window
    // shows its first picture without waiting: that one draws far track in its distant meshes
    // and every pier round.
    if (farWanted && !scene.farMade) {
        if (farMeshesDue) {
            MakeFarMeshes(scene);
            gpu->Sync(scene);
        } else {
            farMeshesDue = true;
            CallAfter([this] { Refresh(); });
        }
    }
    // Piers and track show the eye a face from any side: those turned away are behind others.
    glEnable(GL_CULL_FACE);
    DrawPiers(detail, smallParts);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1, -1);
    DrawTrackInstances(detail, smallParts);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_CULL_FACE);
}

// Piers go first, under the track: helix columns and deck legs always, each piece's piers as
// boxes when they are small on screen (once the boxes are made).
void TrackGLCanvas::DrawPiers(const std::vector<int8_t>& detail,
                              const std::vector<uint8_t>& smallParts) {
    const bool piersChunked =
        scene.pierChunkOfTrack.size() == scene.tracks.size() &&
        (!scene.farMade || scene.farPiers.ChunkCount() + 2 == scene.piers.ChunkCount());
    if (!piersChunked) {
        Draw(gpu->piers);
        return;
    }
    RunDrawer near(scene.piers, gpu->piers), far(scene.farPiers, gpu->farPiers);
    near.Add(0);
    for (size_t i = 0; i < scene.tracks.size(); ++i) {
        const uint32_t chunk = scene.pierChunkOfTrack[i];
        if (detail[i] == kCulled || chunk == Scene3D::kNoPiers) continue;
        if (!smallParts[i] || !scene.farMade) near.Add(chunk + 1);
    }
    near.Add(scene.piers.ChunkCount() - 1);
    near.Flush();
    for (size_t i = 0; i < scene.tracks.size(); ++i) {
        const uint32_t chunk = scene.pierChunkOfTrack[i];
        if (smallParts[i] && chunk != Scene3D::kNoPiers && scene.farMade) far.Add(chunk);
    }
    far.Flush();
}

// Far instances go in runs straight from their world-axes batch, one draw per run; full ones
// each with their article's mesh, placed; the others in one batch. Far track is the bed's top
// alone, seen from either side; the other meshes turn a face to the eye from any side (distant
// track its underside from below), and the mirror that places them turns their faces' winding
// over.
void TrackGLCanvas::DrawTrackInstances(const std::vector<int8_t>& detail,
                                       const std::vector<uint8_t>& smallParts) {
    const bool batched = scene.farBatch.ChunkCount() == scene.tracks.size() && gpu->farBatch.buffer;
    RunDrawer farTrack(scene.farBatch, gpu->farBatch);
    glDisable(GL_CULL_FACE);
    // Each batched instance as its index and whether it is drawn as a small bridge.
    std::vector<uint32_t> toBatch;
    for (size_t i = 0; i < scene.tracks.size(); ++i) {
        if (detail[i] == kCulled) continue;
        if (detail[i] == kFar && batched) {
            farTrack.Add(i);
        } else if (detail[i] != static_cast<int8_t>(TrackDetail::Full)) {
            toBatch.push_back(static_cast<uint32_t>(2 * i) |
                              (smallParts[i] && gpu->smallBridgeOf[i] ? 1u : 0u));
        }
    }
    farTrack.Flush();
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    DrawBatch(toBatch);
    const GpuMesh* bound = nullptr;
    for (size_t i = 0; i < scene.tracks.size(); ++i) {
        const GpuMesh* mesh = gpu->fullOf[i];
        if (detail[i] != static_cast<int8_t>(TrackDetail::Full) || !mesh) continue;
        if (mesh != bound) BindMesh(*mesh);
        bound = mesh;
        const TrackInstance& t = scene.tracks[i];
        glPushMatrix();
        glTranslatef(t.x, t.y, t.z);
        glRotatef(t.rotationDeg, 0, 0, 1);
        glRotatef(-t.tiltDeg, 0, 1, 0);
        glScalef(1, -1, 1);
        DrawBound(0, mesh->vertices - 1, 0, mesh->indices);
        glPopMatrix();
    }
    glFrontFace(GL_CCW);
}

void TrackGLCanvas::DrawBatch(const std::vector<uint32_t>& instances) {
    GpuMeshes& g = *gpu;
    if (g.batchStale || instances != g.batched) {
        g.batchMesh.Clear();
        for (uint32_t key : instances) {
            const size_t i = key / 2;
            if (const Mesh* local = key % 2 ? g.smallBridgeOf[i] : g.distantOf[i])
                AppendPlaced(g.batchMesh, *local, scene.tracks[i]);
        }
        Upload(g.batch, g.batchMesh, &g.batchRoom);
        g.batched = instances;
        g.batchStale = false;
    }
    Draw(g.batch);
}

// Each vehicle's model is made once and copied to the card; a frame only moves it.
void TrackGLCanvas::DrawTrains() {
    trainVehicles.clear();
    if (!trains) return;
    trainVehicles = PlaceTrainVehicles(*trains, kRailTop);
    // Out of the cab the camera stands inside its own locomotive: it is left out, or the inside
    // of its walls would cover part of the picture on every curve.
    constexpr double kCabClearMm = 10;
    const bool cab = cameraMode == CameraMode::Cab;
    hiddenFromCab = 0;
    for (const PlacedVehicle& v : trainVehicles) {
        if (cab && VehicleAroundEye(v, lastView.eye, kCabClearMm)) {
            ++hiddenFromCab;
            continue;
        }
        const auto key = std::tuple(v.lengthMm, v.widthMm, v.heightMm, v.locomotive);
        auto it = gpu->vehicles.find(key);
        if (it == gpu->vehicles.end()) {
            it = gpu->vehicles.emplace(key, GpuMesh{}).first;
            Upload(it->second, VehicleModel(v));
            ++vehicleModelsMade;
        }
        glPushMatrix();
        glMultMatrixf(v.transform.data());
        Draw(it->second);
        glPopMatrix();
    }
}

bool TrackGLCanvas::RenderFrame(std::vector<uint8_t>* pixels) {
    if (!context || !IsShownOnScreen() || !SetCurrent(*context)) return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (!glInitialised) InitGl();
    if (picturesPending) LayPictures();
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
    if (code == 'O' || code == 'F' || code == 'C') {
        SetCameraMode(code == 'O'   ? CameraMode::Orbit
                      : code == 'F' ? CameraMode::Follow
                                    : CameraMode::Cab);
        return;
    }
    event.Skip();
}
