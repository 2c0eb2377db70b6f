// Reading background pictures, and drawing them from copies scaled and turned once per zoom.
#include "canvas/gui/PictureLayer.h"

#include <wx/dc.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/graphics.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/utils.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/LayoutDocument.h"
#include "persistence/ImageHeader.h"

namespace {

// Pictures read as more than this many pixels are reduced to it: drawing never needs more.
constexpr uint64_t kKeptPixels = kMaxPicturePixels / 3;
// The longest side of the first page of a PDF, in pixels.
constexpr int kPdfPixels = 6000;
// A copy for paper holds at most this many pixels; a larger page draws it stretched.
constexpr double kMaxCopyPixels = 24e6;

wxString Megapixels(uint64_t pixels) {
    return wxString::Format("%.0f", static_cast<double>(pixels) / 1e6);
}

// The first page of a PDF as a PNG file beside `base`, through pdftoppm; "" when that failed.
wxString RenderFirstPage(const wxString& pdf, const wxString& base) {
    const wxString args[] = {
        "pdftoppm", "-f",          "1", "-l", "1", "-scale-to", wxString::Format("%d", kPdfPixels),
        "-png",     "-singlefile", pdf, base};
    std::vector<const wxChar*> argv;
    for (const wxString& a : args) argv.push_back(a.wc_str());
    argv.push_back(nullptr);
    const long code = wxExecute(const_cast<wchar_t**>(argv.data()), wxEXEC_SYNC | wxEXEC_NOEVENTS);
    const wxString png = base + ".png";
    return code == 0 && wxFileExists(png) ? png : wxString();
}

void MakeHalves(PictureImage& p) {
    const wxImage* from = &p.image;
    while (std::max(from->GetWidth(), from->GetHeight()) > 256) {
        p.halves.push_back(from->Scale(std::max(from->GetWidth() / 2, 1),
                                       std::max(from->GetHeight() / 2, 1),
                                       wxIMAGE_QUALITY_BOX_AVERAGE));
        from = &p.halves.back();
    }
}

// Decodes the picture file (the first page's picture for a PDF): a JPEG too large to show is
// read at a fraction of its size, any other too large picture is refused with the reason in
// `error`.
wxImage LoadImageFile(const wxString& file, const ImageHeader& header, const wxString& path,
                      wxString* error) {
    wxImage image;
    wxLogNull quiet;  // the reasons go into the messages instead
    if (header.Pixels() > kMaxPicturePixels) {
        if (header.kind != ImageKind::Jpeg) {
            *error = wxString::Format(
                _("The picture is too large to show (%s megapixels, at most %s):\n%s"),
                Megapixels(header.Pixels()), Megapixels(kMaxPicturePixels), path);
            return image;
        }
        // The JPEG decoder reads it at a half, a quarter or an eighth of its size.
        const double shrink = std::sqrt(static_cast<double>(header.Pixels()) / kKeptPixels);
        image.SetOption(wxIMAGE_OPTION_MAX_WIDTH, static_cast<int>(header.width / shrink));
        image.SetOption(wxIMAGE_OPTION_MAX_HEIGHT, static_cast<int>(header.height / shrink));
    }
    image.LoadFile(file, wxBITMAP_TYPE_ANY);
    return image;
}

// Shrinks a picture of more pixels than are kept; the note that says so, or nothing.
wxString KeepFewerPixels(wxImage& image, const ImageHeader& header) {
    const uint64_t pixels = static_cast<uint64_t>(image.GetWidth()) * image.GetHeight();
    if (pixels <= kKeptPixels && header.Pixels() <= kMaxPicturePixels) return wxString();
    const double shrink = std::max(1.0, std::sqrt(static_cast<double>(pixels) / kKeptPixels));
    const int w = std::max(1, static_cast<int>(image.GetWidth() / shrink));
    const int h = std::max(1, static_cast<int>(image.GetHeight() / shrink));
    if (w != image.GetWidth()) image.Rescale(w, h, wxIMAGE_QUALITY_BOX_AVERAGE);
    return wxString::Format(_("The picture has %s megapixels; it is shown with %d x %d pixels."),
                            Megapixels(std::max(pixels, header.Pixels())), w, h);
}

}  // namespace

std::shared_ptr<const PictureImage> ReadPictureImage(const wxString& path) {
    auto p = std::make_shared<PictureImage>();
    if (!wxFileExists(path)) {
        p->error = wxString::Format(_("The picture file was not found:\n%s"), path);
        return p;
    }
    wxString file = path;
    wxString pageBase;
    if (wxFileName(path).GetExt().Lower() == "pdf") {
        pageBase = wxFileName::CreateTempFileName("quillmore-page");
        file = pageBase.empty() ? wxString() : RenderFirstPage(path, pageBase);
        if (file.empty()) {
            if (!pageBase.empty()) wxRemoveFile(pageBase);
            p->error = wxString::Format(
                _("The first page of this PDF could not be read (pdftoppm from poppler is "
                  "needed):\n%s"),
                path);
            return p;
        }
    }
    const ImageHeader header = ReadImageHeaderOf(file.utf8_string());
    wxImage image = LoadImageFile(file, header, path, &p->error);
    // The page's picture is read, or refused: either way it is no longer needed.
    if (!pageBase.empty()) {
        wxRemoveFile(file);
        wxRemoveFile(pageBase);
    }
    if (!p->error.empty()) return p;
    if (!image.IsOk()) {
        p->error = wxString::Format(_("The picture could not be read:\n%s"), path);
        return p;
    }
    p->note = KeepFewerPixels(image, header);
    if (image.HasMask() && !image.HasAlpha()) image.InitAlpha();
    p->image = std::move(image);
    MakeHalves(*p);
    return p;
}

PictureImages& PictureImages::Shared() {
    static PictureImages images;
    return images;
}

std::shared_ptr<const PictureImage> PictureImages::Get(const std::string& path) {
    auto it = images.find(path);
    if (it != images.end()) return it->second;
    auto image = ReadPictureImage(wxString::FromUTF8(path));
    images[path] = image;
    return image;
}

void PictureImages::Put(const std::string& path, std::shared_ptr<const PictureImage> image) {
    images[path] = std::move(image);
}

namespace {

// A rectangle of doubles cut to the rectangle `limit` and made whole pixels.
wxRect Cut(double x0, double y0, double x1, double y1, const wxRect& limit) {
    const double l = std::max(std::floor(x0), double(limit.x));
    const double t = std::max(std::floor(y0), double(limit.y));
    const double r = std::min(std::ceil(x1), double(limit.GetRight() + 1));
    const double b = std::min(std::ceil(y1), double(limit.GetBottom() + 1));
    if (r <= l || b <= t) return {};
    return wxRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r - l),
                  static_cast<int>(b - t));
}

// The picture sampled for the pixels `region` of the layout zoomed by `zoom`, at its opacity.
wxImage SampleCopy(const BackgroundPicture& picture, const PictureImage& image, double zoom,
                   const wxRect& region) {
    const double width = image.Width();
    // The coarsest halving whose pixels are still no larger than a pixel of the copy.
    const double screenPerPixel = picture.widthMm / width * zoom;
    size_t halving = 0;
    while (halving < image.halves.size() && screenPerPixel * std::ldexp(1.0, halving + 1) <= 1.0)
        ++halving;
    const wxImage& source = halving == 0 ? image.image : image.halves[halving - 1];
    const int sw = source.GetWidth(), sh = source.GetHeight();
    const double toSource = sw / width;
    auto at = [&](double zx, double zy) {
        const PointMm p = LayoutToPicture(picture, width, {zx / zoom, zy / zoom});
        return PointMm{p.x * toSource, p.y * toSource};
    };
    const PointMm p0 = at(region.x + 0.5, region.y + 0.5);
    const PointMm pu = at(region.x + 1.5, region.y + 0.5);
    const PointMm pv = at(region.x + 0.5, region.y + 1.5);
    const double dux = pu.x - p0.x, duy = pu.y - p0.y, dvx = pv.x - p0.x, dvy = pv.y - p0.y;

    wxImage copy(region.width, region.height, false);
    copy.SetAlpha();
    unsigned char* rgb = copy.GetData();
    unsigned char* alpha = copy.GetAlpha();
    std::memset(alpha, 0, static_cast<size_t>(region.width) * region.height);
    const unsigned char* from = source.GetData();
    const unsigned char* fromAlpha = source.HasAlpha() ? source.GetAlpha() : nullptr;
    const double opacity = std::clamp(picture.opacity, 0.0, 1.0);
    const auto full = static_cast<unsigned char>(std::lround(opacity * 255));
    for (int v = 0; v < region.height; ++v) {
        double x = p0.x + v * dvx, y = p0.y + v * dvy;
        size_t out = static_cast<size_t>(v) * region.width;
        for (int u = 0; u < region.width; ++u, ++out, x += dux, y += duy) {
            if (x < 0 || y < 0 || x >= sw || y >= sh) continue;
            const size_t in = static_cast<size_t>(y) * sw + static_cast<size_t>(x);
            std::memcpy(rgb + out * 3, from + in * 3, 3);
            alpha[out] =
                fromAlpha ? static_cast<unsigned char>(fromAlpha[in] * opacity + 0.5) : full;
        }
    }
    return copy;
}

}  // namespace

const PictureLayer::Kept* PictureLayer::CopyFor(const BackgroundPicture& picture,
                                                const ViewTransform& view, const wxRect& bounds,
                                                const wxRect& needed, wxSize client) {
    auto image = PictureImages::Shared().Get(picture.path);
    if (!image->Ok()) return nullptr;
    for (const Kept& k : kept)
        if (k.picture == picture && k.image == image && k.zoom == view.zoom &&
            k.region.Contains(needed))
            return &k;
    // The window with its margin, in pixels of the zoomed layout, cut to the picture.
    const double mx = client.x * margin, my = client.y * margin;
    wxRect region = Cut(-view.offsetX - mx, -view.offsetY - my, -view.offsetX + client.x + mx,
                        -view.offsetY + client.y + my, bounds);
    if (region.IsEmpty()) return nullptr;
    // A page far larger than a window is sampled more coarsely and drawn stretched.
    double density = 1;
    const double pixels = double(region.width) * region.height;
    if (pixels > kMaxCopyPixels) density = std::sqrt(kMaxCopyPixels / pixels);
    const wxRect sampled(static_cast<int>(std::floor(region.x * density)),
                         static_cast<int>(std::floor(region.y * density)),
                         std::max(1, static_cast<int>(std::ceil(region.width * density))),
                         std::max(1, static_cast<int>(std::ceil(region.height * density))));
    Kept k;
    k.picture = picture;
    k.image = image;
    k.zoom = view.zoom;
    k.region = density == 1 ? region
                            : wxRect(static_cast<int>(sampled.x / density),
                                     static_cast<int>(sampled.y / density),
                                     static_cast<int>(std::ceil(sampled.width / density)),
                                     static_cast<int>(std::ceil(sampled.height / density)));
    k.bitmap = wxBitmap(SampleCopy(picture, *image, view.zoom * density, sampled), 32);
    ++made;
    kept.push_back(std::move(k));
    return &kept.back();
}

void PictureLayer::Draw(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                        wxSize client, const std::vector<wxRect>& areasIn) {
    const std::vector<wxRect> areas =
        areasIn.empty() ? std::vector<wxRect>{wxRect(wxPoint(0, 0), client)} : areasIn;
    const wxRect everywhere(-1'000'000'000, -1'000'000'000, 2'000'000'000, 2'000'000'000);
    std::vector<const Kept*> used;
    for (const BackgroundPicture& picture : doc.pictures) {
        if (!PictureDrawn(doc, picture)) continue;
        auto image = PictureImages::Shared().Get(picture.path);
        if (!image->Ok()) continue;
        const double w = image->Width(), h = image->image.GetHeight() * w / image->Width();
        double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
        for (PointMm corner : {PointMm{0, 0}, PointMm{w, 0}, PointMm{0, h}, PointMm{w, h}}) {
            const PointMm p = PictureToLayout(picture, w, corner);
            x0 = std::min(x0, p.x * view.zoom), x1 = std::max(x1, p.x * view.zoom);
            y0 = std::min(y0, p.y * view.zoom), y1 = std::max(y1, p.y * view.zoom);
        }
        const wxRect bounds = Cut(x0, y0, x1, y1, everywhere);
        const wxRect needed = Cut(-view.offsetX, -view.offsetY, -view.offsetX + client.x,
                                  -view.offsetY + client.y, bounds);
        if (needed.IsEmpty()) continue;
        const Kept* copy = CopyFor(picture, view, bounds, needed, client);
        if (!copy) continue;
        used.push_back(copy);
        const wxRect onScreen(static_cast<int>(std::lround(copy->region.x + view.offsetX)),
                              static_cast<int>(std::lround(copy->region.y + view.offsetY)),
                              copy->region.width, copy->region.height);
        const bool stretched = copy->bitmap.GetWidth() != copy->region.width;
        wxGraphicsContext* gc = stretched ? dc.GetGraphicsContext() : nullptr;
        for (const wxRect& area : areas) {
            const wxRect clip = area.Intersect(onScreen);
            if (clip.IsEmpty()) continue;
            // A copy inside the area is drawn unclipped: some devices (PDF pages) cannot undo
            // a clip.
            const bool clipped = clip != onScreen;
            if (clipped) dc.SetClippingRegion(clip);
            if (gc)
                gc->DrawBitmap(copy->bitmap, onScreen.x, onScreen.y, onScreen.width,
                               onScreen.height);
            else if (!stretched)
                dc.DrawBitmap(copy->bitmap, onScreen.x, onScreen.y, true);
            if (clipped) dc.DestroyClippingRegion();
        }
    }
    // Copies of pictures that were moved, changed or removed are let go.
    kept.remove_if(
        [&](const Kept& k) { return std::find(used.begin(), used.end(), &k) == used.end(); });
}

PictureImageSize SharedPictureSizes() {
    return [](const std::string& path) {
        const auto image = PictureImages::Shared().Get(path);
        if (!image || !image->Ok()) return PointMm{};
        return PointMm{image->Width(), static_cast<double>(image->image.GetHeight())};
    };
}
