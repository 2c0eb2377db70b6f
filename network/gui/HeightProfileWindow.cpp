// The height profile window: a plot that follows the layout, and its buttons.
#include "network/gui/HeightProfileWindow.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "app/gui/MainFrameDialogs.h"
#include "base/gui/FrameServices.h"
#include "base/gui/SetSizerAndLeastSize.h"
#include "dialogs/PlanExport.h"
#include "network/gui/ProfileDrawing.h"
#include "panels/PropertiesLogic.h"

namespace {

constexpr const char* kWindowName = "heightProfile";
// A press this close to a joint's dot picks it up.
constexpr double kGrabRadiusPx = 7;
// The picture an export writes.
constexpr int kPictureWidth = 1400;
constexpr int kPictureHeight = 700;

}  // namespace

// The drawing: paints the chart, reads out the pointer's place, drags the joints' dots.
class HeightProfileWindow::PlotPanel : public wxWindow {
public:
    explicit PlotPanel(HeightProfileWindow* owner)
        : wxWindow(owner, wxID_ANY, wxDefaultPosition, wxSize(760, 360), wxFULL_REPAINT_ON_RESIZE,
                   "profilePlot"),
          owner(owner) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        SetMinSize(wxSize(360, 200));
        Bind(wxEVT_PAINT, &PlotPanel::OnPaint, this);
        Bind(wxEVT_LEFT_DOWN, &PlotPanel::OnDown, this);
        Bind(wxEVT_MOTION, &PlotPanel::OnMotion, this);
        Bind(wxEVT_LEFT_UP, &PlotPanel::OnUp, this);
        Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { CancelDrag(); });
    }

    ProfileChart Chart() const {
        const wxSize size = GetClientSize();
        ProfileChart chart = LayoutProfileChart(owner->frame->Document(), owner->profile,
                                                std::max(size.x, 1), std::max(size.y, 1));
        if (dragging >= 0) MoveDot(chart, static_cast<size_t>(dragging), dragY);
        return chart;
    }

private:
    void OnPaint(wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(this);
        if (owner->route.steps.empty()) {
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            dc.SetTextForeground(*wxBLACK);
            dc.DrawText(_("There is no route between the two pieces."), 20, 20);
            return;
        }
        DrawProfileChart(dc, Chart());
    }

    void OnDown(wxMouseEvent& event) {
        const ProfileChart chart = Chart();
        dragging = DotNear(chart, event.GetX(), event.GetY(), kGrabRadiusPx);
        if (dragging < 0) return;
        dragY = chart.dots[dragging].y;
        if (!HasCapture()) CaptureMouse();
    }

    void OnMotion(wxMouseEvent& event) {
        owner->ShowReadout(event.GetX());
        if (dragging < 0) return;
        dragY = event.GetY();
        Refresh();
    }

    void OnUp(wxMouseEvent& event) {
        if (dragging < 0) return;
        const int dot = dragging;
        const double y = event.GetY();
        CancelDrag();
        owner->Drop(static_cast<size_t>(dot), y);
    }

    void CancelDrag() {
        dragging = -1;
        if (HasCapture()) ReleaseMouse();
        Refresh();
    }

    HeightProfileWindow* owner;
    int dragging = -1;
    double dragY = 0;
};

HeightProfileWindow::HeightProfileWindow(FrameServices* frame, uint32_t firstPiece,
                                         uint32_t lastPiece)
    : wxDialog(frame->Window(), wxID_ANY, _("Height Profile"), wxDefaultPosition, wxSize(820, 500),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER, kWindowName),
      frame(frame),
      first(firstPiece),
      last(lastPiece) {
    plot = new PlotPanel(this);
    readout = new wxStaticText(this, wxID_ANY, " ", wxDefaultPosition, wxDefaultSize,
                               wxST_NO_AUTORESIZE, "profileReadout");
    evenGrade = new wxButton(this, wxID_ANY, _("Even Grade"));
    evenGrade->SetToolTip(_("A steady grade from the route's first height to its last"));
    print = new wxButton(this, wxID_ANY, _("Print..."));
    exportButton = new wxButton(this, wxID_ANY, _("Export..."));
    auto* close = new wxButton(this, wxID_CLOSE, _("Close"));

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(readout, 1, wxALIGN_CENTER_VERTICAL | wxRIGHT, 8);
    buttons->Add(evenGrade, 0, wxRIGHT, 6);
    buttons->Add(print, 0, wxRIGHT, 6);
    buttons->Add(exportButton, 0, wxRIGHT, 6);
    buttons->Add(close, 0);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(plot, 1, wxEXPAND | wxALL, 6);
    sizer->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    SetSizerAndLeastSize(*this, sizer);

    evenGrade->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RunEvenGrade(); });
    print->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Print(); });
    exportButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const wxString path = AskExportPath(
            this, _("Export Height Profile"),
            _("PNG picture (*.png)|*.png|SVG drawing (*.svg)|*.svg"), _("Height Profile.png"));
        if (!path.empty()) ExportPicture(path.utf8_string());
    });
    // Escape closes the window as its Close button does, as in the other modeless windows.
    close->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); });
    SetEscapeId(wxID_CLOSE);
    Bind(wxEVT_CLOSE_WINDOW, &HeightProfileWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    Rebuild();
}

HeightProfileWindow* HeightProfileWindow::Of(wxWindow* frame) {
    auto* window = dynamic_cast<HeightProfileWindow*>(wxWindow::FindWindowByName(kWindowName, frame));
    return window && !window->IsBeingDeleted() ? window : nullptr;
}

void HeightProfileWindow::ShowRoute(uint32_t firstPiece, uint32_t lastPiece) {
    first = firstPiece;
    last = lastPiece;
    Rebuild();
}

void HeightProfileWindow::DocumentChanged(DocChange what) {
    if (HasAny(what, DocChange::Content | DocChange::File)) {
        Rebuild();
    } else if (HasAny(what, DocChange::View)) {
        // The units may have changed; the route has not.
        ShowSummary();
        plot->Refresh();
    }
}

void HeightProfileWindow::Rebuild() {
    const LayoutDocument& doc = frame->Document();
    graph = BuildTrackGraph(doc, &graph);
    route = FindRouteBetween(graph, first, last);
    profile = BuildProfile(doc, graph, route);
    for (wxButton* b : {evenGrade, print, exportButton}) b->Enable(!route.steps.empty());
    ShowSummary();
    plot->Refresh();
}

void HeightProfileWindow::ShowSummary() {
    const int units = frame->Document().units;
    readout->SetLabel(
        route.steps.empty()
            ? wxString(" ")
            : wxString::Format(
                  wxPLURAL("%zu piece, %s %s", "%zu pieces, %s %s", route.steps.size()),
                  route.steps.size(), ProfileLength(route.lengthMm, units), UnitName(units)));
}

ProfileChart HeightProfileWindow::Chart() const { return plot->Chart(); }

wxWindow* HeightProfileWindow::PlotWindow() const { return plot; }

wxString HeightProfileWindow::ReadoutText() const { return readout->GetLabel(); }

void HeightProfileWindow::ShowReadout(double x) {
    const std::string text =
        ProfileReadout(frame->Document(), profile, plot->Chart().DistanceAt(x));
    if (!text.empty()) readout->SetLabel(wxString::FromUTF8(text));
}

void HeightProfileWindow::Drop(size_t dot, double y) {
    const double height = plot->Chart().HeightAt(y);
    const std::string why = SetProfileHeight(frame->Document(), route, dot, height);
    if (!why.empty()) {
        wxMessageBox(wxString::FromUTF8(why), _("Height Profile"), wxOK | wxICON_INFORMATION, this);
        return;
    }
    frame->NotifyChanged(DocChange::Placement);
}

std::string HeightProfileWindow::RunEvenGrade() {
    const std::string why = EvenGrade(frame->Document(), route);
    if (!why.empty()) {
        wxMessageBox(wxString::FromUTF8(why), _("Even Grade"), wxOK | wxICON_INFORMATION, this);
        return why;
    }
    frame->NotifyChanged(DocChange::Placement);
    return "";
}

std::string HeightProfileWindow::ExportPicture(const std::string& path) {
    const std::string error =
        WriteProfilePicture(frame->Document(), profile, path, kPictureWidth, kPictureHeight);
    if (!error.empty())
        wxMessageBox(wxString::FromUTF8(error), _("Export Failed"), wxOK | wxICON_ERROR, this);
    return error;
}

void HeightProfileWindow::Print() {
    wxPrintDialogData data(*frame->GetPrintData());
    ProfilePrintout printout(frame->Document(), profile, _("Quillmore Height Profile"));
    switch (RunPrintJob(this, data, printout)) {
        case PrintOutcome::Printed:
            *frame->GetPrintData() = data.GetPrintData();
            break;
        case PrintOutcome::Failed:
            wxMessageBox(
                _("There was a problem printing. Check that a printer is installed and connected."),
                _("Print"), wxOK | wxICON_ERROR, this);
            break;
        case PrintOutcome::Cancelled:
            break;
    }
}

void HeightProfileWindow::OnClose(wxCloseEvent&) {
    frame->RemoveChangeListener(listenerId);
    Destroy();
}
