// The Track Diagram window: the diagram drawn cell by cell, the set legs and the occupied track
// taken from the running trains.
#include "control/gui/TrackDiagramWindow.h"

#include <wx/button.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/print.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

#include "app/gui/MainFrameDialogs.h"
#include "base/gui/FrameServices.h"
#include "control/gui/AddressesWindow.h"
#include "control/gui/DiagramExport.h"
#include "trains/SwitchSettings.h"
#include "trains/gui/TrainsWindow.h"

namespace {

TrackDiagramWindow* openWindow = nullptr;

// The middle of a cell's side, or its centre for None.
wxPoint2DDouble SidePoint(int x, int y, DiagramSide side, double px) {
    const double cx = (x + 0.5) * px, cy = (y + 0.5) * px, h = px / 2;
    switch (side) {
        case DiagramSide::North:
            return {cx, cy - h};
        case DiagramSide::East:
            return {cx + h, cy};
        case DiagramSide::South:
            return {cx, cy + h};
        case DiagramSide::West:
            return {cx - h, cy};
        case DiagramSide::None:
            break;
    }
    return {cx, cy};
}

void Line(wxDC& dc, wxPoint2DDouble a, wxPoint2DDouble b) {
    dc.DrawLine(wxRound(a.m_x), wxRound(a.m_y), wxRound(b.m_x), wxRound(b.m_y));
}

bool IsSwitch(const DiagramCell& c) {
    return c.symbol == DiagramSymbol::TurnoutLeft || c.symbol == DiagramSymbol::TurnoutRight ||
           c.symbol == DiagramSymbol::ThreeWay || c.symbol == DiagramSymbol::DoubleSlip;
}

// A bumper's bar across the track's end (drawn with `bar`), a contact's square (filled with
// `contact`).
void DrawMark(wxDC& dc, const DiagramCell& c, double px, const wxPen& bar,
              const wxColour& contact) {
    const wxPoint2DDouble m = SidePoint(c.x, c.y, DiagramSide::None, px);
    if (c.symbol == DiagramSymbol::Bumper) {
        const wxPoint2DDouble along = SidePoint(c.x, c.y, c.tracks[0].first, px) - m;
        const wxPoint2DDouble across(-along.m_y * 0.6, along.m_x * 0.6);
        dc.SetPen(bar);
        Line(dc, m + across, m - across);
    } else if (c.symbol == DiagramSymbol::Contact) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(contact));
        const int r = wxRound(px / 5);
        dc.DrawRectangle(wxRound(m.m_x) - r, wxRound(m.m_y) - r, 2 * r, 2 * r);
    }
}

// A link's name or the cell's address in the cell's top left corner.
void DrawLabel(wxDC& dc, const DiagramCell& c, double px) {
    wxString label;
    if (c.symbol == DiagramSymbol::Link)
        label = wxString::FromUTF8(c.text);
    else if (c.address > 0)
        label = wxString::Format("%d", c.address);
    if (label.empty()) return;
    dc.SetTextForeground(wxColour(90, 90, 160));
    dc.DrawText(label, wxRound(c.x * px + 2), wxRound(c.y * px + 1));
}

// The diagram on paper, fitted to the page.
class DiagramPrintout : public wxPrintout {
public:
    explicit DiagramPrintout(const TrackDiagramWindow& window)
        : wxPrintout(_("Track Diagram")), window(window) {}
    bool OnPrintPage(int) override {
        wxDC* dc = GetDC();
        if (!dc) return false;
        const TrackDiagram& d = window.Diagram();
        int w = 0, h = 0;
        dc->GetSize(&w, &h);
        const double cell =
            std::min(w * 0.9 / std::max(d.width, 1), h * 0.9 / std::max(d.height, 1));
        dc->SetDeviceOrigin(wxRound(w * 0.05), wxRound(h * 0.05));
        window.Draw(*dc, cell);
        return true;
    }
    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* from, int* to) override {
        *minPage = *maxPage = *from = *to = 1;
    }

private:
    const TrackDiagramWindow& window;
};

}  // namespace

TrackDiagramWindow::TrackDiagramWindow(FrameServices* frame)
    : wxDialog(frame->Window(), wxID_ANY, _("Track Diagram"), wxDefaultPosition, wxSize(760, 460),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(frame),
      timer(this) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              _("While the Trains window is open, a click on a turnout switches "
                                "it. A click on other track selects it on the plan.")),
             0, wxLEFT | wxRIGHT | wxTOP, 8);
    board = new wxScrolledWindow(this, wxID_ANY);
    board->SetBackgroundStyle(wxBG_STYLE_PAINT);
    board->SetScrollRate(kCellPx, kCellPx);
    top->Add(board, 1, wxEXPAND | wxALL, 8);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, kIdPrint, _("Print...")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, kIdPng, _("Export PNG...")), 0, wxRIGHT, 6);
    buttons->Add(new wxButton(this, wxID_CLOSE, _("Close")), 0);
    top->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    SetSizer(top);

    board->Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
        wxAutoBufferedPaintDC dc(board);
        board->DoPrepareDC(dc);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        Draw(dc, kCellPx);
    });
    board->Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& e) {
        const wxPoint p = board->CalcUnscrolledPosition(e.GetPosition());
        ClickCell(p.x / kCellPx, p.y / kCellPx);
    });
    Bind(wxEVT_BUTTON, &TrackDiagramWindow::OnPrint, this, kIdPrint);
    Bind(wxEVT_BUTTON, &TrackDiagramWindow::OnPng, this, kIdPng);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { Close(); }, wxID_CLOSE);
    Bind(wxEVT_TIMER, &TrackDiagramWindow::OnTimer, this);
    Bind(wxEVT_CLOSE_WINDOW, &TrackDiagramWindow::OnClose, this);
    listenerId = frame->AddChangeListener([this](DocChange what) { DocumentChanged(what); });
    openWindow = this;
    Rebuild();
    timer.Start(200);
}

TrackDiagramWindow* TrackDiagramWindow::Open() { return openWindow; }

void TrackDiagramWindow::Rebuild() {
    const LayoutDocument& doc = frame->Document();
    graph = BuildTrackGraph(doc, &graph);
    DiagramOptions options;
    sections = options.sections = WiringDetectionSections(doc, graph);
    diagram = BuildTrackDiagram(doc, graph, options);
    board->SetVirtualSize(diagram.width * kCellPx, diagram.height * kCellPx);
    board->Refresh();
}

void TrackDiagramWindow::DocumentChanged(DocChange what) {
    if (HasAny(what, DocChange::Content | DocChange::File))
        Rebuild();
    else if (HasAny(what, DocChange::Selection))
        board->Refresh();
}

std::set<uint32_t> TrackDiagramWindow::Occupied() const {
    std::set<uint32_t> out;
    if (TrainsWindow* trains = frame->Trains())
        for (const SessionTrain& t : trains->Session().Trains())
            out.insert(t.occupied.begin(), t.occupied.end());
    return out;
}

void TrackDiagramWindow::ClickCell(int x, int y) {
    const DiagramCell* cell = diagram.At(x, y);
    if (!cell) return;
    TrainsWindow* trains = frame->Trains();
    if (trains && IsSwitch(*cell) && trains->ThrowSwitch(cell->pieces.at(0))) {
        board->Refresh();
        return;
    }
    LayoutDocument& doc = frame->Document();
    doc.ClearSelection();
    for (uint32_t id : cell->pieces)
        if (PlacedPiece* p = doc.FindPiece(id)) p->selected = true;
    frame->NotifyChanged(DocChange::Selection);
}

void TrackDiagramWindow::Draw(wxDC& dc, double px) const {
    const std::set<uint32_t> occupied = Occupied();
    dc.SetFont(wxFont(wxFontInfo(std::max(6.0, px / 4)).Family(wxFONTFAMILY_SWISS)));
    dc.SetBrush(wxBrush(wxColour(235, 235, 235)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    for (int y = 0; y <= diagram.height; ++y)
        for (int x = 0; x <= diagram.width; ++x)
            dc.DrawRectangle(wxRound(x * px) - 1, wxRound(y * px) - 1, 2, 2);
    for (const DiagramCell& c : diagram.cells) DrawCell(dc, c, px, occupied);
}

void TrackDiagramWindow::DrawCell(wxDC& dc, const DiagramCell& c, double px,
                                  const std::set<uint32_t>& occupied) const {
    const LayoutDocument& doc = frame->Document();
    const int width = std::max(2, wxRound(px / 7));
    const wxColour track(60, 60, 60), idle(180, 180, 180), lit(220, 60, 30), chosen(40, 110, 220);
    bool selected = !c.pieces.empty(), hot = false;
    for (uint32_t id : c.pieces) {
        const PlacedPiece* p = doc.FindPiece(id);
        selected = selected && p && p->selected;
        hot = hot || occupied.count(id);
    }
    if (c.symbol == DiagramSymbol::Contact)
        for (const DetectionSection& s : sections)
            if (s.contact == c.address)
                for (uint32_t id : s.pieces) hot = hot || occupied.count(id);
    const wxColour colour = hot ? lit : selected ? chosen : track;
    const size_t set = SetTrack(c);
    for (size_t k = 0; k < c.tracks.size(); ++k) {
        const auto& [a, b] = c.tracks[k];
        const bool faint = IsSwitch(c) && c.symbol != DiagramSymbol::DoubleSlip && k != set;
        dc.SetPen(wxPen(faint ? idle : colour, width));
        const wxPoint2DDouble pa = SidePoint(c.x, c.y, a, px), pb = SidePoint(c.x, c.y, b, px);
        if (c.symbol == DiagramSymbol::Underpass && k == 1) {
            // The lower track stops short of the upper one.
            const wxPoint2DDouble m = SidePoint(c.x, c.y, DiagramSide::None, px);
            Line(dc, pa, pa + (m - pa) * 0.55);
            Line(dc, pb, pb + (m - pb) * 0.55);
        } else {
            Line(dc, pa, pb);
        }
    }
    DrawMark(dc, c, px, wxPen(colour, width + 1), hot ? lit : wxColour(250, 200, 40));
    DrawLabel(dc, c, px);
}

size_t TrackDiagramWindow::SetTrack(const DiagramCell& c) const {
    // A switch draws its set route over its others; without trains, the straight route.
    TrainsWindow* trains = frame->Trains();
    if (!IsSwitch(c) || !trains) return 0;
    const std::vector<DiagramSide> sides = DiagramSidesOf(graph, c.pieces[0]);
    const int leg = SetLeg(trains->Session().Switches(), c.pieces[0]);
    size_t set = 0;
    if (leg >= 0 && leg < static_cast<int>(sides.size()) && !sides.empty())
        for (size_t k = 0; k < c.tracks.size(); ++k)
            if (c.tracks[k] == std::pair(sides[0], sides[leg])) set = k;
    return set;
}

void TrackDiagramWindow::OnTimer(wxTimerEvent&) {
    // Trains move and turnouts change without a change of the layout.
    TrainsWindow* trains = frame->Trains();
    if (!trains) return;
    const uint64_t version = trains->Session().SwitchVersion();
    if (trains->Session().AnyRunning() || version != shownSwitches) board->Refresh();
    shownSwitches = version;
}

void TrackDiagramWindow::OnPrint(wxCommandEvent&) {
    wxPrintDialogData data;
    DiagramPrintout printout(*this);
    if (RunPrintJob(this, data, printout) == PrintOutcome::Failed)
        wxMessageBox(_("The track diagram could not be printed."), _("Print Failed"),
                     wxOK | wxICON_ERROR, this);
}

void TrackDiagramWindow::OnPng(wxCommandEvent&) {
    const wxString path =
        AskExportPath(this, _("Export Track Diagram"), _("PNG picture (*.png)|*.png"),
                      _("Track Diagram") + ".png");
    if (path.empty()) return;
    constexpr int kPx = 32;
    wxBitmap bitmap(std::max(1, diagram.width) * kPx, std::max(1, diagram.height) * kPx, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        Draw(dc, kPx);
    }
    if (!bitmap.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG))
        wxMessageBox(_("The picture could not be written."), _("Export Failed"),
                     wxOK | wxICON_ERROR, this);
}

void TrackDiagramWindow::OnClose(wxCloseEvent&) {
    timer.Stop();
    frame->RemoveChangeListener(listenerId);
    openWindow = nullptr;
    Destroy();
}

void BindTrackDiagramCommand(FrameServices& frame) {
    if (wxMenuBar* bar = frame.Window()->GetMenuBar()) {
        wxMenu* menu = nullptr;
        if (bar->FindItem(kCmdAddresses, &menu) && menu) {
            size_t at = 0;
            while (at < menu->GetMenuItemCount() &&
                   menu->FindItemByPosition(at)->GetId() != kCmdAddresses)
                ++at;
            menu->Insert(at + 1, kCmdTrackDiagram, _("Track &Diagram..."));
        }
    }
    frame.Window()->Bind(
        wxEVT_MENU,
        [&frame](wxCommandEvent&) {
            if (TrackDiagramWindow* open = TrackDiagramWindow::Open()) {
                open->Raise();
                return;
            }
            (new TrackDiagramWindow(&frame))->Show();
        },
        kCmdTrackDiagram);
}
