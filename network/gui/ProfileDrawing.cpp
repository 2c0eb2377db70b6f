// The height profile on screen, in pictures and on paper: one drawing routine for all three.
#include "network/gui/ProfileDrawing.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dcmemory.h>
#include <wx/dcsvg.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/mstream.h>

#include <fstream>
#include <sstream>

#include "dialogs/PlanExport.h"
#include "persistence/AtomicFile.h"

namespace {

wxColour Colour(Rgb c) { return wxColour(c.r, c.g, c.b); }

constexpr int kDotRadius = 4;
constexpr int kTrackWidth = 3;
constexpr int kBarWidth = 3;
// Labels closer than this to the one before are left out rather than drawn over each other.
constexpr int kLabelGap = 4;

void DrawAxes(wxDC& dc, const ProfileChart& c) {
    dc.SetPen(wxPen(Colour(kProfileGridLine), 1));
    for (const ChartTick& t : c.distanceTicks) dc.DrawLine(t.px, c.top, t.px, c.bottom);
    for (const ChartTick& t : c.heightTicks) dc.DrawLine(c.left, t.px, c.right, t.px);

    dc.SetPen(wxPen(Colour(kProfileAxis), 1));
    dc.DrawLine(c.left, c.bottom, c.right, c.bottom);
    dc.DrawLine(c.left, c.top, c.left, c.bottom);
    dc.SetTextForeground(Colour(kProfileAxis));
    for (const ChartTick& t : c.distanceTicks) {
        dc.DrawLine(t.px, c.bottom, t.px, c.bottom + 4);
        const wxSize size = dc.GetTextExtent(t.label);
        dc.DrawText(t.label, t.px - size.x / 2, c.bottom + 6);
    }
    for (const ChartTick& t : c.heightTicks) {
        dc.DrawLine(c.left - 4, t.px, c.left, t.px);
        const wxSize size = dc.GetTextExtent(t.label);
        dc.DrawText(t.label, c.left - 7 - size.x, t.px - size.y / 2);
    }
    const wxSize xTitle = dc.GetTextExtent(c.distanceTitle);
    dc.DrawText(c.distanceTitle, (c.left + c.right) / 2 - xTitle.x / 2,
                c.bottom + 8 + xTitle.y);
    const wxSize yTitle = dc.GetTextExtent(c.heightTitle);
    dc.DrawRotatedText(c.heightTitle, 4, (c.top + c.bottom) / 2 + yTitle.x / 2, 90);
}

void DrawLevels(wxDC& dc, const ProfileChart& c) {
    dc.SetPen(wxPen(Colour(kProfileLevel), 1, wxPENSTYLE_SHORT_DASH));
    dc.SetTextForeground(Colour(kProfileLevel));
    for (const ChartLevelLine& l : c.levels) {
        dc.DrawLine(c.left, l.y, c.right, l.y);
        const wxSize size = dc.GetTextExtent(l.name);
        dc.DrawText(l.name, c.right - size.x - 2, l.y - size.y - 1);
    }
}

void DrawCrossings(wxDC& dc, const ProfileChart& c) {
    for (const ChartCrossingBar& b : c.crossings) {
        const wxColour colour = Colour(b.tooLow ? kProfileBarTooLow : kProfileBar);
        dc.SetPen(wxPen(colour, kBarWidth));
        dc.DrawLine(b.x, b.yRoute, b.x, b.yOther);
        // The other track, crossing the route here, as a short tie.
        dc.SetPen(wxPen(colour, 1));
        dc.DrawLine(b.x - 6, b.yOther, b.x + 7, b.yOther);
        dc.SetTextForeground(colour);
        const wxSize size = dc.GetTextExtent(b.label);
        // Beside the bar, on the side where the plot has room for it.
        const double x = b.x + 6 + size.x <= c.right ? b.x + 6 : b.x - 6 - size.x;
        dc.DrawText(b.label, x, (b.yRoute + b.yOther) / 2 - size.y / 2);
    }
}

void DrawTrack(wxDC& dc, const ProfileChart& c) {
    for (const ChartSegment& s : c.track) {
        dc.SetPen(wxPen(Colour(BandColour(s.band)), kTrackWidth));
        dc.DrawLine(s.x0, s.y0, s.x1, s.y1);
    }
    double lastRight = -1e9;
    for (const ChartGradeLabel& g : c.grades) {
        const wxSize size = dc.GetTextExtent(g.text);
        const double x = g.x - size.x / 2.0;
        if (x < lastRight + kLabelGap) continue;
        dc.SetTextForeground(Colour(BandColour(g.band)));
        dc.DrawText(g.text, x, g.y + 6);
        lastRight = x + size.x;
    }
    dc.SetPen(wxPen(Colour(kProfileDot), 1));
    dc.SetBrush(wxBrush(Colour(kProfileDot)));
    dc.SetTextForeground(Colour(kProfileDot));
    lastRight = -1e9;
    for (const ChartDot& d : c.dots) {
        dc.DrawCircle(wxRound(d.x), wxRound(d.y), kDotRadius);
        const wxSize size = dc.GetTextExtent(d.label);
        const double x = d.x - size.x / 2.0;
        if (x < lastRight + kLabelGap) continue;
        dc.DrawText(d.label, x, d.y - kDotRadius - 2 - size.y);
        lastRight = x + size.x;
    }
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace

void DrawProfileChart(wxDC& dc, const ProfileChart& chart) {
    dc.SetFont(wxFont(wxFontInfo(9).Family(wxFONTFAMILY_SWISS)));
    dc.SetBackground(wxBrush(Colour(kProfileBackground)));
    dc.SetBrush(wxBrush(Colour(kProfileBackground)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(0, 0, chart.width, chart.height);
    DrawAxes(dc, chart);
    DrawLevels(dc, chart);
    DrawCrossings(dc, chart);
    DrawTrack(dc, chart);
}

std::string WriteProfilePicture(const LayoutDocument& doc, const HeightProfile& profile,
                                const std::string& path, int width, int height) {
    const ProfileChart chart = LayoutProfileChart(doc, profile, width, height);
    switch (ExportKindForPath(path)) {
        case ExportKind::Png: {
            wxBitmap bitmap(width, height, 24);
            if (!bitmap.IsOk()) return _("Not enough memory for the picture.").utf8_string();
            {
                wxMemoryDC dc(bitmap);
                DrawProfileChart(dc, chart);
            }
            wxMemoryOutputStream out;
            if (!bitmap.ConvertToImage().SaveFile(out, wxBITMAP_TYPE_PNG))
                return _("Cannot encode the picture as PNG.").utf8_string();
            std::string bytes(out.GetLength(), '\0');
            out.CopyTo(bytes.data(), bytes.size());
            return WriteFileAtomically(path, bytes);
        }
        case ExportKind::Svg: {
            // The SVG device context writes a file of its own: a temporary one, copied into
            // place as a whole.
            const wxString temp = wxFileName::CreateTempFileName("quillmore-profile");
            if (temp.empty()) return _("Cannot create a temporary file.").utf8_string();
            {
                // The drawing's title is part of the file: it stays in English like the file's
                // tags.
                wxSVGFileDC dc(temp, width, height, 72, "Quillmore Height Profile");
                if (!dc.IsOk()) {
                    wxRemoveFile(temp);
                    return _("Cannot create a temporary file.").utf8_string();
                }
                DrawProfileChart(dc, chart);
            }
            const std::string bytes = ReadAll(temp.utf8_string());
            wxRemoveFile(temp);
            if (bytes.empty()) return _("Cannot write the SVG drawing.").utf8_string();
            return WriteFileAtomically(path, bytes);
        }
        default:
            return _("The file name needs the extension .png or .svg.").utf8_string();
    }
}

namespace {
// The chart's size on paper, in its own pixels, before it is fitted to the page.
constexpr int kPrintWidth = 1100;
constexpr int kPrintHeight = 700;
}  // namespace

ProfilePrintout::ProfilePrintout(const LayoutDocument& doc, HeightProfile profile,
                                 const wxString& title)
    : wxPrintout(title), doc(doc), profile(std::move(profile)) {}

void ProfilePrintout::GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) {
    *minPage = *maxPage = *pageFrom = *pageTo = 1;
}

bool ProfilePrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc || page != 1) return false;
    constexpr int kTitleHeight = 40;
    FitThisSizeToPage(wxSize(kPrintWidth, kPrintHeight + kTitleHeight));
    const ProfileChart chart = LayoutProfileChart(doc, profile, kPrintWidth, kPrintHeight);
    dc->SetLogicalOrigin(0, -kTitleHeight);
    DrawProfileChart(*dc, chart);
    dc->SetLogicalOrigin(0, 0);
    dc->SetFont(wxFont(wxFontInfo(12).Family(wxFONTFAMILY_SWISS).Bold()));
    dc->SetTextForeground(*wxBLACK);
    dc->DrawText(GetTitle(), 0, 0);
    return true;
}
