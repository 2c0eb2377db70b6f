// The right panel of the main window: selection properties, grade controls, tally and Buy Track.
#include "panels/gui/PropertiesPanel.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dialog.h>
#include <wx/hyperlink.h>
#include <wx/intl.h>
#include <wx/listctrl.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/wrapsizer.h>

#include <algorithm>
#include <utility>

#include "app/gui/MainFrameDialogs.h"
#include "app/gui/ResourceImages.h"
#include "base/NumberStyle.h"
#include "base/gui/FrameServices.h"
#include "base/gui/NumberSpinCtrl.h"
#include "base/gui/RowList.h"
#include "control/AssignAddresses.h"
#include "model/DocumentChange.h"
#include "model/GradeRuns.h"
#include "panels/BuyTrack.h"
#include "panels/PropertiesLogic.h"
#include "panels/StoreTable.h"
#include "trackbox/TrackBox.h"
#include "network/TrackGraph.h"
#include "wiring/WiringEdits.h"
#include "wiring/WiringParts.h"

namespace {

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text); }

// A core text (marked in its table) in the reader's language.
wxString Translated(const char* english) { return wxString::FromUTF8(Tr(english)); }

wxColour ToColour(const Rgb& c) { return wxColour(c.r, c.g, c.b); }

const wxColour kBuyTrackGreen(20, 110, 20);

}  // namespace

PropertiesPanel::PropertiesPanel(wxWindow* parent, FrameServices* owner)
    : wxPanel(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER),
      frame(owner),
      openBrowser(&PropertiesPanel::OpenInDefaultBrowser) {
    BuildControls();
    Bind(wxEVT_BUTTON, &PropertiesPanel::OnApplyColour, this, kIdApply);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        event.Skip();  // the sizer lays out first
        CallAfter([this] { FitToWidth(); });
    });
    tallyList->Bind(wxEVT_MOTION, &PropertiesPanel::OnTallyMotion, this);
    buyTrack->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BuyTrack(); });
    buyTrackHelp->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ShowBuyTrackHelp(); });
    myTrack->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (frame) frame->ShowMyTrack();
    });
}

void PropertiesPanel::BuildControls() {
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(BuildLabelBox(), 0, wxEXPAND | wxALL, 4);
    top->Add(BuildColourBox(), 0, wxEXPAND | wxALL, 4);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
    header = new wxStaticText(this, wxID_ANY, _("No selection"), wxDefaultPosition, wxDefaultSize,
                              0, "header");
    headerText = header->GetLabel();  // until a selection is shown
    header->SetFont(header->GetFont().Bold());
    top->Add(header, 0, wxEXPAND | wxALL, 6);
    info = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 0, "info");
    top->Add(info, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 6);

    AddPieceRows(top);
    top->Add(BuildGradeBox(), 0, wxEXPAND | wxALL, 6);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
    AddTally(top);
    top->Add(BuildBuyRow(), 0, wxEXPAND | wxALL, 6);
    SetSizer(top);
}

wxSizer* PropertiesPanel::BuildLabelBox() {
    auto* labelBox = new wxStaticBoxSizer(wxVERTICAL, this, _("Add Label"));
    auto* labelRow = new wxBoxSizer(wxHORIZONTAL);
    labelText = new wxTextCtrl(labelBox->GetStaticBox(), kIdLabelText, "", wxDefaultPosition,
                               wxDefaultSize, wxTE_PROCESS_ENTER);
    labelOk = new wxButton(labelBox->GetStaticBox(), kIdLabelOk, _("OK"), wxDefaultPosition,
                           wxDefaultSize, wxBU_EXACTFIT);
    labelOk->SetName("labelOk");
    // Clear of the field and of the box's frame, at least as wide as the toolkit draws it.
    labelRow->Add(labelText, 1, wxALIGN_CENTER_VERTICAL);
    labelRow->Add(labelOk, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 4);
    // While the field and its button are hidden the box must still hold a few pixels (a row of
    // hidden windows counts for nothing): GTK complains about a frame whose inside has a negative
    // height.
    labelBox->AddSpacer(4);
    labelBox->Add(labelRow, 0, wxEXPAND);
    labelText->Hide();
    labelOk->Hide();
    return labelBox;
}

wxSizer* PropertiesPanel::BuildColourBox() {
    auto* colourBox = new wxStaticBoxSizer(wxHORIZONTAL, this, _("Color"));
    colourChoice = new wxChoice(colourBox->GetStaticBox(), kIdColour);
    for (const PieceColourEntry& entry : kPieceColours)
        colourChoice->Append(Translated(entry.name));
    colourChoice->SetSelection(0);
    // The choice gives way to the panel's width; the button keeps its natural size.
    colourChoice->SetMinSize(wxSize(60, -1));
    colourBox->Add(colourChoice, 1, wxALIGN_CENTER_VERTICAL);
    colourBox->Add(new wxButton(colourBox->GetStaticBox(), kIdApply, _("Apply"), wxDefaultPosition,
                                wxDefaultSize, wxBU_EXACTFIT),
                   0, wxLEFT | wxRIGHT, 4);
    return colourBox;
}

// The level, the accessory address and the wiring of the selected piece.
void PropertiesPanel::AddPieceRows(wxSizer* top) {
    auto* levelRow = new wxBoxSizer(wxHORIZONTAL);
    levelRow->Add(new wxStaticText(this, wxID_ANY, _("Level:")), 0, wxALIGN_CENTER_VERTICAL);
    levelChoice = new wxChoice(this, kIdLevel);
    levelRow->Add(levelChoice, 1, wxLEFT, 4);
    levelChoice->Hide();
    top->Add(levelRow, 0, wxEXPAND | wxALL, 6);

    // A turnout's or uncoupler's accessory address (two for a three-way turnout).
    auto* addressRow = new wxBoxSizer(wxHORIZONTAL);
    addressLabel = new wxStaticText(this, wxID_ANY, _("Address:"));
    addressRow->Add(addressLabel, 0, wxALIGN_CENTER_VERTICAL);
    addressField = new wxTextCtrl(this, kIdAddress, "", wxDefaultPosition, wxSize(80, -1),
                                  wxTE_PROCESS_ENTER, wxDefaultValidator, "addressField");
    addressField->SetToolTip(_("Accessory address of the decoder; press Enter to set it"));
    addressRow->Add(addressField, 0, wxLEFT, 4);
    addressLabel->Hide();
    addressField->Hide();
    top->Add(addressRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    // Where the selected piece lies in the wiring plan: its section, and the section's district
    // and detector to change.
    wiringText =
        new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 0, "wiringText");
    wiringText->Hide();
    top->Add(wiringText, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
    auto* wiringRow = new wxFlexGridSizer(2, 4, 4);
    wiringRow->AddGrowableCol(1);
    districtLabel = new wxStaticText(this, wxID_ANY, _("District:"));
    districtChoice = new wxChoice(this, kIdDistrict, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                  0, wxDefaultValidator, "districtChoice");
    districtChoice->SetToolTip(_("The booster that feeds the piece's section"));
    detectorLabel = new wxStaticText(this, wxID_ANY, _("Detector:"));
    detectorField = new wxSpinCtrl(this, kIdDetector, "", wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, 0, 9999, 0, "detectorField");
    detectorField->SetToolTip(_("The contact the section reports on; 0 for no detection"));
    wiringRow->Add(districtLabel, 0, wxALIGN_CENTER_VERTICAL);
    wiringRow->Add(districtChoice, 1, wxEXPAND);
    wiringRow->Add(detectorLabel, 0, wxALIGN_CENTER_VERTICAL);
    wiringRow->Add(detectorField, 0);
    for (wxWindow* w : std::initializer_list<wxWindow*>{districtLabel, districtChoice,
                                                         detectorLabel, detectorField})
        w->Hide();
    top->Add(wiringRow, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 6);
}

// The piece count: needed, owned and to buy.
void PropertiesPanel::AddTally(wxSizer* top) {
    auto* countTitle = new wxStaticText(this, wxID_ANY, _("Piece Count"));
    countTitle->SetFont(countTitle->GetFont().Bold());
    top->Add(countTitle, 0, wxLEFT | wxRIGHT | wxTOP, 6);
    tallyList = new RowList(this, wxID_ANY, wxSize(-1, 180), wxBORDER_NONE, "pieceCount");
    tallyList->InsertColumn(kTallyPieceColumn, _("Piece"), wxLIST_FORMAT_LEFT, 110);
    // The count columns are as wide as their titles (or four digits) and the piece takes the rest.
    const int digits = tallyList->GetTextExtent("0000").x;
    const std::pair<int, wxString> counts[] = {{kTallyNeededColumn, _("Needed")},
                                               {kTallyOwnedColumn, _("Owned")},
                                               {kTallyToBuyColumn, _("To Buy")}};
    for (const auto& [column, title] : counts)
        tallyList->InsertColumn(column, title, wxLIST_FORMAT_RIGHT,
                                std::max(digits, tallyList->GetTextExtent(title).x) + 12);
    top->Add(tallyList, 1, wxEXPAND | wxALL, 4);
    top->Add(new wxStaticLine(this), 0, wxEXPAND | wxLEFT | wxRIGHT, 6);
}

wxSizer* PropertiesPanel::BuildBuyRow() {
    auto* buyRow = new wxBoxSizer(wxHORIZONTAL);
    buyTrack = new wxButton(this, wxID_ANY, Translated(kBuyTrackButtonLabel), wxDefaultPosition,
                            wxDefaultSize, 0, wxDefaultValidator, "buyTrack");
    buyTrack->SetBackgroundColour(kBuyTrackGreen);
    buyTrack->SetForegroundColour(*wxWHITE);
    wxFont buyFont = buyTrack->GetFont();
    buyFont.SetPointSize(buyFont.GetPointSize() + 2);
    buyFont.SetNumericWeight(800);
    buyTrack->SetFont(buyFont);
    buyTrack->SetMinSize(wxSize(-1, 36));
    buyRow->Add(buyTrack, 1, wxEXPAND | wxRIGHT, 4);
    myTrack = new wxButton(this, wxID_ANY, _("My Track..."), wxDefaultPosition, wxSize(-1, 36),
                           wxBU_EXACTFIT, wxDefaultValidator, "myTrack");
    myTrack->SetToolTip(_("The track you own: Buy Track buys only what is missing"));
    buyRow->Add(myTrack, 0, wxRIGHT, 4);
    buyTrackHelp = new wxButton(this, wxID_ANY, kBuyTrackHelpButtonLabel, wxDefaultPosition,
                                wxSize(30, 36), wxBU_EXACTFIT, wxDefaultValidator, "buyTrackHelp");
    buyTrackHelp->SetToolTip(Translated(kBuyTrackHelpToolTip));
    buyRow->Add(buyTrackHelp, 0);
    return buyRow;
}

wxSizer* PropertiesPanel::BuildGradeBox() {
    auto* box = new wxStaticBoxSizer(wxVERTICAL, this, _("Set Grade"));
    wxWindow* parent = box->GetStaticBox();

    auto* heightRow = new wxBoxSizer(wxHORIZONTAL);
    heightLabel = new wxStaticText(parent, wxID_ANY, Utf8(HeightLabelText(0)), wxDefaultPosition,
                                   wxDefaultSize, 0, "heightLabel");
    heightRow->Add(heightLabel, 0, wxALIGN_CENTER_VERTICAL);
    heightField = new wxTextCtrl(parent, kIdHeight, "0", wxDefaultPosition, wxSize(65, -1),
                                 wxTE_PROCESS_ENTER);
    heightField->Hide();
    heightRow->Add(heightField, 0, wxLEFT, 4);
    box->Add(heightRow, 0, wxEXPAND | wxBOTTOM, 4);

    auto* gradeRow = new wxBoxSizer(wxHORIZONTAL);
    gradeRow->Add(new wxStaticText(parent, wxID_ANY, _("Grade:")), 0, wxALIGN_CENTER_VERTICAL);
    gradeValue =
        new wxStaticText(parent, wxID_ANY, "-", wxDefaultPosition, wxDefaultSize, 0, "gradeValue");
    gradeRow->Add(gradeValue, 1, wxLEFT | wxALIGN_CENTER_VERTICAL, 4);
    box->Add(gradeRow, 0, wxEXPAND | wxBOTTOM, 4);

    gradeWarning =
        new wxStaticText(parent, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 0, "gradeWarning");
    gradeWarning->SetForegroundColour(ToColour(kGradeWarningColour));
    box->Add(gradeWarning, 0, wxEXPAND | wxBOTTOM, 4);
    // Wrapped to the panel's width like the selection texts: German lines are longer.
    gradeHintText = _("Set height above baseboard.\nMax grade: 6 deg.");
    gradeHint = new wxStaticText(parent, wxID_ANY, gradeHintText);
    box->Add(gradeHint, 0, wxEXPAND | wxBOTTOM, 4);
    box->Add(new wxStaticLine(parent), 0, wxEXPAND | wxBOTTOM, 4);

    box->Add(BuildAngleRow(parent), 0, wxEXPAND | wxBOTTOM, 4);
    box->Add(BuildGradeButtons(parent), 0, wxEXPAND);
    return box;
}

// Up or down and the angle: a row that flows onto a second line when the panel is narrower than
// its controls, as the buttons' row does.
wxSizer* PropertiesPanel::BuildAngleRow(wxWindow* parent) {
    auto* angleRow = new wxWrapSizer(wxHORIZONTAL);
    gradeUp = new wxRadioButton(parent, wxID_ANY, _("UP"), wxDefaultPosition, wxDefaultSize,
                                wxRB_GROUP, wxDefaultValidator, "gradeUp");
    gradeDown = new wxRadioButton(parent, wxID_ANY, _("DOWN"), wxDefaultPosition, wxDefaultSize, 0,
                                  wxDefaultValidator, "gradeDown");
    gradeUp->SetValue(true);
    // The toolkit's own width: GTK needs room for the value and both of its buttons.
    gradeSpin = new NumberSpinCtrl(parent, wxID_ANY, "", wxDefaultPosition, wxDefaultSize,
                                   wxSP_ARROW_KEYS, 0.0, kMaxGradeDeg, 0.0, 0.5, "gradeSpin");
    gradeSpin->SetDigits(1);
    angleRow->Add(gradeUp, 0, wxALIGN_CENTER_VERTICAL);
    angleRow->Add(gradeDown, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    auto* angle = new wxBoxSizer(wxHORIZONTAL);  // the value and its unit stay together
    angle->Add(gradeSpin, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
    angle->Add(new wxStaticText(parent, wxID_ANY, _("deg")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT,
               4);
    angleRow->Add(angle, 0, wxALIGN_CENTER_VERTICAL);
    return angleRow;
}

wxSizer* PropertiesPanel::BuildGradeButtons(wxWindow* parent) {
    auto* buttonRow = new wxWrapSizer(wxHORIZONTAL);
    startGrade = new wxButton(parent, kIdStartGrade, _("Start Grade"), wxDefaultPosition,
                              wxDefaultSize, wxBU_EXACTFIT);
    endGrade = new wxButton(parent, kIdEndGrade, _("End Grade"), wxDefaultPosition, wxDefaultSize,
                            wxBU_EXACTFIT);
    recalc = new wxButton(parent, kIdRecalc, _("Recalc"), wxDefaultPosition, wxDefaultSize,
                          wxBU_EXACTFIT);
    recalc->SetToolTip(_("Recalculate elevation chain from this piece forward"));
    buttonRow->Add(startGrade, 0);
    buttonRow->Add(endGrade, 0, wxLEFT, 4);
    buttonRow->Add(recalc, 0, wxLEFT, 4);
    return buttonRow;
}

void PropertiesPanel::RefreshSelection() {
    if (!frame) return;
    ShowView(BuildSelectionView(frame->Document()));
}

void PropertiesPanel::ShowView(const SelectionView& view) {
    shownPiece = view.pieceId;
    shownHelix = view.helixId;
    shownScenery = view.sceneryId;
    // Catalog and user texts are shown as they are: SetLabelText keeps an "&" from turning into
    // a mnemonic.
    headerText = Utf8(LocalDecimals(view.header));
    infoText = Utf8(LocalDecimals(view.info));
    warningText = Utf8(view.warning);
    heightLabel->SetLabelText(Utf8(view.heightLabel));
    heightField->ChangeValue(Utf8(view.heightText));
    heightField->Show(view.heightShown);
    gradeValue->SetLabelText(Utf8(view.gradeText));
    gradeValue->SetForegroundColour(view.gradeTooSteep
                                        ? ToColour(kGradeWarningColour)
                                        : wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));

    const bool addressShown =
        frame && view.pieceId != kNoId && TakesAddress(frame->Document(), view.pieceId);
    if (addressShown)
        addressField->ChangeValue(Utf8(AddressFieldText(frame->Document(), view.pieceId)));
    addressLabel->Show(addressShown);
    addressField->Show(addressShown);
    ShowPieceWiring(frame ? view.pieceId : kNoId);

    if (view.levelShown) FillLevelChoice(view.levelId);
    levelChoice->Show(view.levelShown);
    if (view.kind == SelectionViewKind::Piece) {
        gradeUp->SetValue(view.gradeUp);
        gradeDown->SetValue(!view.gradeUp);
        gradeSpin->SetValue(view.gradeSpinDeg);
    }
    for (wxWindow* control : {static_cast<wxWindow*>(gradeUp), static_cast<wxWindow*>(gradeDown),
                              static_cast<wxWindow*>(gradeSpin)})
        control->Enable(view.gradeControlsEnabled);
    startGrade->Show(view.startGradeShown);
    endGrade->Show(view.endGradeShown);
    recalc->Show(view.recalcShown);
    FitToWidth();
}

void PropertiesPanel::FitToWidth() {
    const int width = GetClientSize().x;
    // Borders: 6 around the texts, 6 more and the box's own frame around the warning.
    const struct {
        wxStaticText* text;
        const wxString& label;
        int margin;
    } texts[] = {{header, headerText, 12},
                 {info, infoText, 12},
                 {gradeWarning, warningText, 32},
                 {gradeHint, gradeHintText, 32}};
    for (const auto& t : texts) {
        t.text->SetLabelText(t.label);
        if (width > t.margin + 40) t.text->Wrap(width - t.margin);
    }
    const int listWidth = tallyList->GetClientSize().x;
    int countWidth = 0;
    for (int column = kTallyNeededColumn; column <= kTallyToBuyColumn; ++column)
        countWidth += tallyList->GetColumnWidth(column);
    // Room is kept for a vertical scroll bar, which may lie over the rows. The piece column
    // takes the rest, but never less than its widest name: the list scrolls sideways instead.
    const int piece = listWidth - countWidth - wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    tallyList->SetColumnWidth(kTallyPieceColumn, std::max(piece, tallyPieceWidth));
    Layout();
}

void PropertiesPanel::OnTallyMotion(wxMouseEvent& event) {
    // The whole row text, for names wider than their column.
    int flags = 0;
    const long row = tallyList->HitTest(event.GetPosition(), flags);
    const wxString tip = tallyList->Cell(row, kTallyPieceColumn);
    if (tallyList->GetToolTipText() != tip) tallyList->SetToolTip(tip);
    event.Skip();
}

void PropertiesPanel::FillLevelChoice(int32_t selectedLevel) {
    levelChoice->Clear();
    int selection = 0;
    for (const Level& level : frame->Document().levels) {
        const int index = levelChoice->Append(
            Utf8(level.name), reinterpret_cast<void*>(static_cast<intptr_t>(level.id)));
        if (static_cast<int64_t>(level.id) == selectedLevel) selection = index;
    }
    if (levelChoice->GetCount() > 0) levelChoice->SetSelection(selection);
}

void PropertiesPanel::RefreshTally() {
    if (!frame) return;
    ++tallyRecounts;
    const PieceTally tally = ::RefreshTally(frame->Document(), frame->OwnedTrack());
    lastTally = tally.counts;
    std::vector<RowList::Row> rows;
    rows.reserve(tally.rows.size());
    for (const TallyRow& line : tally.rows) {
        RowList::Row& row = rows.emplace_back();
        row.cells = {Utf8(line.text), Utf8(line.count), Utf8(line.owned), Utf8(line.toBuy)};
        if (line.isHeading) {
            row.bold = true;
            row.colour = ToColour(kRecommendHeadingColour);
        } else if (line.fullyOwned) {
            row.colour = ToColour(kFullyOwnedColour);
        }
    }
    const std::vector<WiringPart> parts = WiringParts(frame->Document());
    if (!parts.empty()) {
        RowList::Row& heading = rows.emplace_back();
        heading.cells = {_("Wiring")};
        heading.bold = true;
        heading.colour = ToColour(kRecommendHeadingColour);
        for (const WiringPart& part : parts)
            rows.push_back({{Utf8(part.text), wxString::Format("%d", part.count)}});
    }
    // Every column as wide as its title and its widest cell. Without a box in My Track, Owned
    // and To Buy say nothing Needed does not: they fold away and leave the names the room.
    const bool box = !frame->OwnedTrack().Empty();
    const wxFont bold = tallyList->GetFont().Bold();
    for (int column = kTallyPieceColumn; column <= kTallyToBuyColumn; ++column) {
        wxListItem title;
        title.SetMask(wxLIST_MASK_TEXT);
        tallyList->GetColumn(column, title);
        int widest = std::max(tallyList->GetTextExtent(title.GetText()).x,
                              tallyList->GetTextExtent("0000").x);
        for (const RowList::Row& row : rows) {
            int w = 0, h = 0;
            if (column < static_cast<int>(row.cells.size()))
                tallyList->GetTextExtent(row.cells[column], &w, &h, nullptr, nullptr,
                                         row.bold ? &bold : nullptr);
            widest = std::max(widest, w);
        }
        if (column == kTallyPieceColumn) {
            tallyPieceWidth = widest + 16;
        } else if (!box && column != kTallyNeededColumn) {
            tallyList->SetColumnWidth(column, 0);
        } else {
            tallyList->SetColumnWidth(column, widest + 16);
        }
    }
    tallyList->SetRows(std::move(rows));
    FitToWidth();
}

void PropertiesPanel::BeginLabel(double x, double y) {
    labelPending = true;
    labelX = x;
    labelY = y;
    labelText->Show();
    labelOk->Show();
    Layout();
    labelText->SetFocus();
}

void PropertiesPanel::OnSetAddress(wxCommandEvent&) {
    if (shownPiece == kNoId || !frame) return;
    LayoutDocument& doc = frame->Document();
    const std::string text = addressField->GetValue().utf8_string();
    if (text == AddressFieldText(doc, shownPiece)) return;
    const std::string error = SetAddressFromText(doc, shownPiece, text);
    if (!error.empty()) {
        addressField->ChangeValue(Utf8(AddressFieldText(doc, shownPiece)));
        wxMessageBox(Utf8(error), _("Address Not Set"), wxOK | wxICON_WARNING, this);
        return;
    }
    frame->NotifyChanged(DocChange::Placement);
}

void PropertiesPanel::ShowPieceWiring(uint32_t piece) {
    PieceWiring wiring;
    const bool shown = piece != kNoId && wiringFinder.Find(frame->Document(), piece, &wiring);
    if (shown) {
        const LayoutDocument& doc = frame->Document();
        wiringText->SetLabelText(Utf8(PieceWiringText(doc, wiring)));
        districtChoice->Clear();
        districtIds = {kNoId};
        districtChoice->Append(_("none"));
        for (const PowerDistrict& d : doc.wiring.districts) {
            districtIds.push_back(d.id);
            districtChoice->Append(Utf8(d.name));
        }
        const auto at = std::find(districtIds.begin(), districtIds.end(), wiring.district);
        districtChoice->SetSelection(at == districtIds.end() ? 0 : int(at - districtIds.begin()));
        detectorField->SetValue(wiring.detector);
    }
    for (wxWindow* w : std::initializer_list<wxWindow*>{wiringText, districtLabel, districtChoice,
                                                         detectorLabel, detectorField})
        w->Show(shown);
}

void PropertiesPanel::OnSetDistrict(wxCommandEvent&) {
    const int at = districtChoice->GetSelection();
    if (shownPiece == kNoId || !frame || at < 0 || at >= int(districtIds.size())) return;
    LayoutDocument& doc = frame->Document();
    if (SetSectionDistrict(doc, BuildTrackGraph(doc), shownPiece, districtIds[size_t(at)]))
        frame->NotifyChanged(DocChange::Placement | DocChange::Pieces);
}

void PropertiesPanel::OnSetDetector(wxSpinEvent&) {
    if (shownPiece == kNoId || !frame) return;
    LayoutDocument& doc = frame->Document();
    if (SetSectionDetector(doc, BuildTrackGraph(doc), shownPiece, detectorField->GetValue()))
        frame->NotifyChanged(DocChange::Placement | DocChange::Pieces);
}

void PropertiesPanel::OnSetHeight(wxCommandEvent&) {
    if (shownPiece == kNoId || !frame) return;
    LayoutDocument& doc = frame->Document();
    const std::string text = heightField->GetValue().utf8_string();
    const PlacedPiece* piece = doc.FindPiece(shownPiece);
    // The field shows the height rounded: left as it was filled in, it changes nothing.
    if (piece && text == FormatHeightEntry(piece->elevation, doc.units)) return;
    double mm = 0;
    if (!ParseHeightEntry(text, doc.units, &mm)) return;
    if (!SetPieceHeight(doc, shownPiece, mm)) return;
    frame->NotifyChanged(DocChange::Placement);
}

void PropertiesPanel::OnSetLevel(wxCommandEvent&) {
    if (!frame) return;
    const int index = levelChoice->GetSelection();
    if (index == wxNOT_FOUND) return;
    const auto levelId =
        static_cast<int32_t>(reinterpret_cast<intptr_t>(levelChoice->GetClientData(index)));
    LayoutDocument& doc = frame->Document();
    bool changed = false;
    if (shownHelix != kNoId) {
        changed = MoveHelixToLevel(doc, shownHelix, levelId);
    } else if (shownPiece != kNoId) {
        changed = MovePieceChainToLevel(doc, shownPiece, levelId);
    } else if (shownScenery != kNoId) {
        changed = MoveSceneryToLevel(doc, shownScenery, levelId);
    }
    if (!changed) return;
    // Flat pieces took the level's height: the update shows it. It runs after this event, as
    // the choice is still busy delivering it.
    frame->NotifyChanged(DocChange::Placement | DocChange::Scenery);
}

void PropertiesPanel::OnStartGrade(wxCommandEvent&) {
    if (shownPiece == kNoId || !frame) return;
    const double angle = gradeUp->GetValue() ? gradeSpin->GetValue() : -gradeSpin->GetValue();
    const std::string status = StartGrade(frame->Document(), shownPiece, angle);
    if (status.empty()) return;
    frame->ShowStatus(Utf8(status));
    // The run is part of the layout and was recorded for undo, so it counts as a change.
    frame->NotifyChanged(DocChange::Placement);
}

void PropertiesPanel::OnEndGrade(wxCommandEvent&) {
    if (shownPiece == kNoId || !frame) return;
    const std::string status = EndGrade(frame->Document(), shownPiece);
    if (status.empty()) return;
    frame->ShowStatus(Utf8(status));
    frame->NotifyChanged(DocChange::Placement);
}

void PropertiesPanel::OnRecalc(wxCommandEvent&) {
    if (shownPiece == kNoId || !frame) return;
    if (!RecalculateForward(frame->Document(), shownPiece)) return;
    frame->NotifyChanged(DocChange::Placement);
}

void PropertiesPanel::OnAddLabel(wxCommandEvent&) {
    if (!labelPending || !frame) return;
    const uint32_t id =
        AddLabelAt(frame->Document(), labelText->GetValue().utf8_string(), labelX, labelY);
    if (id == kNoId) return;
    labelText->ChangeValue("");
    labelText->Hide();
    labelOk->Hide();
    labelPending = false;
    Layout();
    frame->NotifyChanged(DocChange::Annotations);
}

void PropertiesPanel::OnApplyColour(wxCommandEvent&) {
    if (!frame) return;
    const int entry = colourChoice->GetSelection();
    if (entry == wxNOT_FOUND) return;
    if (!ApplyPieceColour(frame->Document(), entry)) return;
    frame->NotifyChanged(DocChange::Placement | DocChange::Selection);
}

void PropertiesPanel::SetBrowserOpener(BrowserOpener opener) {
    openBrowser =
        opener ? std::move(opener) : BrowserOpener(&PropertiesPanel::OpenInDefaultBrowser);
}

bool PropertiesPanel::OpenInDefaultBrowser(const wxString& url) {
    wxLogNull quiet;
    return wxLaunchDefaultBrowser(url, 0);
}

void PropertiesPanel::BuyTrack() {
    if (!frame) return;
    const BuyTrackPlan plan = PlanBuyTrack(frame->Document(), frame->OwnedTrack());
    if (plan.offerPartsList) {
        wxMessageDialog ask(this, Utf8(plan.message->text), Utf8(plan.message->caption),
                            wxYES_NO | wxICON_WARNING);
        ask.SetYesNoLabels(Translated(kSavePartsListLabel), _("Cancel"));
        if (ask.ShowModal() != wxID_YES) return;
        frame->RunCommand(kCmdExportParts);
        return;
    }
    if (plan.message) {
        wxMessageBox(Utf8(plan.message->text), Utf8(plan.message->caption),
                     wxOK | (plan.message->isWarning ? wxICON_WARNING : wxICON_INFORMATION), this);
    }
    if (!plan.address.empty()) openBrowser(Utf8(plan.address));
}

void PropertiesPanel::ShowBuyTrackHelp() {
    wxDialog dialog(this, wxID_ANY, Translated(kBuyTrackHelpTitle), wxDefaultPosition,
                    wxSize(kBuyTrackHelpWidth, kBuyTrackHelpHeight),
                    wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxSTAY_ON_TOP);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    const wxImage picture = LoadResourceImage(102, 450, 510);
    if (picture.IsOk())
        sizer->Add(new wxStaticBitmap(&dialog, wxID_ANY, wxBitmap(picture), wxDefaultPosition,
                                      wxDefaultSize, 0, "buyTrackPicture"),
                   0, wxALIGN_CENTER_HORIZONTAL | wxALL, 6);

    auto* text = new wxStaticText(&dialog, wxID_ANY,
                                  wxControl::EscapeMnemonics(Translated(kBuyTrackHelpText)),
                                  wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE_HORIZONTAL);
    wxFont font = text->GetFont();
    font.SetPointSize(font.GetPointSize() + 1);
    text->SetFont(font);
    sizer->Add(text, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);

    const StoreTable& store = StoreTable::BuiltIn();
    auto* link = new wxHyperlinkCtrl(&dialog, wxID_ANY, Utf8(store.host), Utf8(store.HomePage()));
    // The link goes through the same quiet opener as the cart.
    link->Bind(wxEVT_HYPERLINK, [this](wxHyperlinkEvent& event) { openBrowser(event.GetURL()); });
    sizer->Add(link, 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 8);

    auto* ok = new wxButton(&dialog, wxID_OK, Translated(kBuyTrackHelpOkLabel));
    ok->SetBackgroundColour(ToColour(kBuyTrackHelpOkColour));
    ok->SetForegroundColour(*wxWHITE);
    sizer->Add(ok, 0, wxALIGN_CENTER_HORIZONTAL | wxBOTTOM, 10);

    // Sized to what it holds: a fixed size cut the picture off on the right and left an empty
    // band below the button.
    dialog.SetSizerAndFit(sizer);
    dialog.Centre(wxBOTH);
    dialog.ShowModal();
}

// The fixed-id controls; Apply, Buy Track and "?" are bound at construction.
// clang-format off
wxBEGIN_EVENT_TABLE(PropertiesPanel, wxPanel)
    EVT_TEXT_ENTER(PropertiesPanel::kIdHeight, PropertiesPanel::OnSetHeight)
    EVT_TEXT_ENTER(PropertiesPanel::kIdAddress, PropertiesPanel::OnSetAddress)
    EVT_CHOICE(PropertiesPanel::kIdLevel, PropertiesPanel::OnSetLevel)
    EVT_CHOICE(PropertiesPanel::kIdDistrict, PropertiesPanel::OnSetDistrict)
    EVT_SPINCTRL(PropertiesPanel::kIdDetector, PropertiesPanel::OnSetDetector)
    EVT_BUTTON(PropertiesPanel::kIdStartGrade, PropertiesPanel::OnStartGrade)
    EVT_BUTTON(PropertiesPanel::kIdEndGrade, PropertiesPanel::OnEndGrade)
    EVT_BUTTON(PropertiesPanel::kIdRecalc, PropertiesPanel::OnRecalc)
    EVT_BUTTON(PropertiesPanel::kIdLabelOk, PropertiesPanel::OnAddLabel)
    EVT_TEXT_ENTER(PropertiesPanel::kIdLabelText, PropertiesPanel::OnAddLabel)
wxEND_EVENT_TABLE()
