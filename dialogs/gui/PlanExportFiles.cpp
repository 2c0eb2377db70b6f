// Writing the plan as PNG, SVG and PDF.
#include "dialogs/gui/PlanExportFiles.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <wx/bitmap.h>
#include <wx/cmndata.h>
#include <wx/dcgraph.h>
#include <wx/dcmemory.h>
#include <wx/dcsvg.h>
#include <wx/filename.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/mstream.h>
#include <wx/paper.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <utility>

#include "base/gui/NumberSpinCtrl.h"
#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/PictureLayer.h"
#include "dialogs/gui/LayoutPrintout.h"
#include "persistence/AtomicFile.h"

namespace {

// Page pixels per inch of PDF pages: the printout's pages at a printer's resolution, drawn as
// vectors scaled down to points, so that positions are not rounded to whole points.
constexpr int kPdfDpi = 300;

// The canvas's grid and selection stay off the picture; they come back however the drawing ends.
class ScreenMarksOff {
public:
    explicit ScreenMarksOff(LayoutDocument& d) : doc(d), shown(d.gridShown), selection(d) {
        doc.gridShown = false;
    }
    ~ScreenMarksOff() { doc.gridShown = shown; }

private:
    LayoutDocument& doc;
    bool shown;
    SelectionHidden selection;
};

// Marks sized in pixels grow with the picture (PicturePixelScale).
ViewTransform ViewOf(const PictureFrame& f) {
    return ViewTransform{f.zoom, f.offsetX, f.offsetY, PicturePixelScale(f)};
}


std::string WritePng(LayoutDocument& doc, const std::string& path, const PictureFrame& f,
                     PictureLayer* pictures) {
    wxBitmap bitmap(f.width, f.height, 24);
    if (!bitmap.IsOk())
        return wxString::Format(_("Not enough memory for a picture of %s."),
                                wxString::FromUTF8(PictureSizeText(f)))
            .utf8_string();
    {
        wxMemoryDC dc(bitmap);
        ScreenMarksOff plain(doc);
        DrawLayout(dc, doc, ViewOf(f), wxSize(f.width, f.height), pictures);
    }
    wxMemoryOutputStream out;
    if (!bitmap.ConvertToImage().SaveFile(out, wxBITMAP_TYPE_PNG))
        return _("Cannot encode the picture as PNG.").utf8_string();
    std::string bytes(out.GetLength(), '\0');
    out.CopyTo(bytes.data(), bytes.size());
    return WriteFileAtomically(path, bytes);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string WriteSvg(LayoutDocument& doc, const std::string& path, const PictureFrame& f,
                     int scaleDenominator, PictureLayer* pictures) {
    // The SVG device context writes to a file of its own: a temporary one, copied into place
    // as a whole.
    const wxString temp = wxFileName::CreateTempFileName("quillmore-svg");
    if (temp.empty()) return _("Cannot create a temporary file.").utf8_string();
    {
        // The resolution makes the stated size the layout's at 1 : N.
        wxSVGFileDC dc(temp, f.width, f.height, SvgDotsPerInch(f, scaleDenominator),
                       wxString::FromUTF8(SvgTitle(scaleDenominator)));
        if (!dc.IsOk()) {
            wxRemoveFile(temp);
            return _("Cannot create a temporary file.").utf8_string();
        }
        ScreenMarksOff plain(doc);
        DrawLayout(dc, doc, ViewOf(f), wxSize(f.width, f.height), pictures);
    }
    std::string bytes = ReadAll(temp.utf8_string());
    wxRemoveFile(temp);
    if (bytes.empty()) return _("Cannot write the SVG drawing.").utf8_string();
    // The toolkit describes the file as its own work; the description states the scale instead.
    return WriteFileAtomically(path, WithSvgDescription(std::move(bytes), scaleDenominator));
}

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::string WritePicture(LayoutDocument& doc, const std::string& path, double pxPerMm,
                         int scaleDenominator, bool withPictures) {
    const PictureFrame frame =
        PictureFrameFor(doc, pxPerMm, withPictures ? SharedPictureSizes() : PictureImageSize{});
    PictureLayer layer(0);
    PictureLayer* pictures = withPictures ? &layer : nullptr;
    const std::string problem = PictureSizeProblem(frame);
    if (!problem.empty()) return problem;
    switch (ExportKindForPath(path)) {
        case ExportKind::Png:
            return WritePng(doc, path, frame, pictures);
        case ExportKind::Svg:
            return WriteSvg(doc, path, frame, scaleDenominator, pictures);
        default:
            return _("The file name needs the extension .png or .svg.").utf8_string();
    }
}

void PaperSizeMm(const wxPrintData& data, double* widthMm, double* heightMm) {
    double w = 215.9, h = 279.4;  // Letter
    const wxPrintPaperType* type = wxThePrintPaperDatabase && data.GetPaperId() != wxPAPER_NONE
                                       ? wxThePrintPaperDatabase->FindPaperType(data.GetPaperId())
                                       : nullptr;
    if (type) {
        w = type->GetWidth() / 10.0;  // tenths of a millimetre
        h = type->GetHeight() / 10.0;
    } else if (data.GetPaperSize().x > 0 && data.GetPaperSize().y > 0) {
        w = data.GetPaperSize().x;  // millimetres
        h = data.GetPaperSize().y;
    }
    if (data.GetOrientation() == wxLANDSCAPE) std::swap(w, h);
    *widthMm = w;
    *heightMm = h;
}

namespace {

PrintPages PdfPages(const LayoutDocument& doc, const PrintOptions& options, const PdfPage& paper) {
    return Paginate(ComputePrintBounds(doc, options, doc.activeLevel, SharedPictureSizes()),
                    options, paper.widthPx,
                    paper.heightPx, kPdfDpi);
}

}  // namespace

int PdfPageCount(const LayoutDocument& doc, const PrintOptions& options, double widthMm,
                 double heightMm) {
    return PdfPages(doc, options, PdfPageFor(widthMm, heightMm, kPdfDpi)).Count();
}

std::string WritePdf(LayoutDocument& doc, const PrintOptions& options, double widthMm,
                     double heightMm, const std::string& path, int* pageCount,
                     const PageProgress& progress) {
    if (pageCount) *pageCount = 0;
    const PdfPage paper = PdfPageFor(widthMm, heightMm, kPdfDpi);
    const uint32_t active = doc.activeLevel;
    const PrintPages pages = PdfPages(doc, options, paper);
    std::string bytes;
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(AppendToString, &bytes, paper.widthPt, paper.heightPt);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, "Quillmore Layout");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Quillmore");
    cairo_t* cr = cairo_create(surface);
    bool stopped = false;
    for (int page = 1; page <= pages.Count(); ++page) {
        cairo_save(cr);
        cairo_scale(cr, 1 / paper.pxPerPt, 1 / paper.pxPerPt);
        {
            wxGCDC dc(wxGraphicsRenderer::GetCairoRenderer()->CreateContextFromNativeContext(cr));
            dc.SetFont(*wxNORMAL_FONT);
            DrawPrintPage(dc, doc, options, active, pages, page);
            dc.SetGraphicsContext(nullptr);
        }
        cairo_restore(cr);
        cairo_show_page(cr);
        if (progress && !progress(page, pages.Count())) {
            stopped = true;
            break;
        }
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (stopped) return "";
    if (status != CAIRO_STATUS_SUCCESS)
        return wxString::Format(_("Cannot make the PDF: %s"), cairo_status_to_string(status))
            .utf8_string();
    if (pageCount) *pageCount = pages.Count();
    return WriteFileAtomically(path, bytes);
}

PictureOptionsDialog::PictureOptionsDialog(wxWindow* parent, const LayoutDocument& d,
                                           double pxPerMm, PictureImageSize sizes)
    : wxDialog(parent, wxID_ANY, _("Export Picture")), doc(d), pictureSizes(std::move(sizes)) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, _("Pixels per millimetre:")), 0,
             wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    resolution = new NumberSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                    wxSP_ARROW_KEYS, kMinPictureResolution, kMaxPictureResolution,
                                    pxPerMm, 0.05);
    resolution->SetDigits(2);
    row->Add(resolution);
    top->Add(row, 0, wxALL, 10);
    size = new wxStaticText(this, wxID_ANY, wxEmptyString);
    top->Add(size, 0, wxLEFT | wxRIGHT, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
    UpdateSize();
    SetSizerAndFit(top);
    CentreOnParent();
    resolution->Bind(wxEVT_SPINCTRLDOUBLE, [this](wxSpinDoubleEvent&) { UpdateSize(); });
    resolution->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { UpdateSize(); });
}

double PictureOptionsDialog::Resolution() const { return resolution->GetValue(); }

wxString PictureOptionsDialog::SizeText() const { return size->GetLabel(); }

void PictureOptionsDialog::UpdateSize() {
    const PictureFrame frame = PictureFrameFor(doc, Resolution(), pictureSizes);
    size->SetLabel(
        wxString::Format(_("Picture size: %s"), wxString::FromUTF8(PictureSizeText(frame))));
}
