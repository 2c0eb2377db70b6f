// The My Track dialog: the owner's count of every palette article, one page per track system.
#include "trackbox/gui/MyTrackDialog.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "catalog/ArticleNames.h"
#include "catalog/TrackCatalog.h"
#include "trackbox/TrackBoxPages.h"

namespace {

constexpr int kPieceColumn = 0;
constexpr int kCountColumn = 1;

wxString Utf8(const std::string& text) { return wxString::FromUTF8(text); }

wxString AskCsvPath(wxWindow* parent, bool save) {
    wxFileDialog dialog(
        parent, save ? _("Export My Track") : _("Import My Track"), wxEmptyString,
        save ? wxString(kTrackBoxFileName) : wxString(), _("CSV files (*.csv)|*.csv|All files|*"),
        save ? wxFD_SAVE | wxFD_OVERWRITE_PROMPT : wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

// A count cell as the owner left it; the number editor keeps it a whole number in range, but a
// cell set any other way still reads safely.
int CellCount(const wxString& text) {
    long value = 0;
    if (!text.Strip(wxString::both).ToLong(&value) || value < 0) return 0;
    return static_cast<int>(std::min<long>(value, kMaxOwnedCount));
}

}  // namespace

MyTrackDialog::MyTrackDialog(wxWindow* parent, const TrackBox& box)
    : wxDialog(parent, wxID_ANY, _("My Track"), wxDefaultPosition, wxSize(560, 640),
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      askPath(&AskCsvPath) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* intro = new wxStaticText(this, wxID_ANY,
                                   _("How many of each piece do you own? Buy Track then buys only "
                                     "what is missing."));
    // Longer in other languages than the window is wide: it wraps rather than being cut off.
    intro->Wrap(GetClientSize().x - 16);
    top->Add(intro, 0, wxEXPAND | wxALL, 8);
    notebook = new wxNotebook(this, wxID_ANY);
    top->Add(notebook, 1, wxEXPAND | wxLEFT | wxRIGHT, 8);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto addButton = [&](const wxString& label, const char* name, void (MyTrackDialog::*action)()) {
        auto* button = new wxButton(this, wxID_ANY, label, wxDefaultPosition, wxDefaultSize, 0,
                                    wxDefaultValidator, name);
        button->Bind(wxEVT_BUTTON, [this, action](wxCommandEvent&) { (this->*action)(); });
        buttons->Add(button, 0, wxRIGHT, 4);
        return button;
    };
    addButton(_("Import..."), "import", &MyTrackDialog::Import);
    addButton(_("Export..."), "export", &MyTrackDialog::Export);
    addButton(_("Clear"), "clear", &MyTrackDialog::Clear);
    undoButton = addButton(_("Undo"), "undo", &MyTrackDialog::Undo);
    undoButton->Disable();
    buttons->AddStretchSpacer();
    buttons->Add(CreateButtonSizer(wxOK | wxCANCEL), 0);
    top->Add(buttons, 0, wxEXPAND | wxALL, 8);
    SetSizer(top);
    // Never narrower than the button row, which grows with the language's labels.
    const wxSize least = ClientToWindowSize(top->CalcMin());
    SetMinSize(wxSize(least.x, -1));
    wxSize size = GetSize();
    size.IncTo(wxSize(least.x, -1));
    SetSize(size);

    BuildPages(box);
    CentreOnParent();
}

void MyTrackDialog::BuildPages(const TrackBox& box) {
    const int selected = notebook->GetSelection();
    notebook->DeleteAllPages();
    pages.clear();
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (const TrackBoxPage& content : TrackBoxPages(box)) {
        auto* grid = new wxGrid(notebook, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxWANTS_CHARS,
                                "counts");
        grid->CreateGrid(static_cast<int>(content.articles.size()), 2);
        grid->SetRowLabelSize(0);
        grid->SetColLabelValue(kPieceColumn, _("Piece"));
        grid->SetColLabelValue(kCountColumn, _("Count"));
        grid->SetColFormatNumber(kCountColumn);
        auto* readOnly = new wxGridCellAttr;
        readOnly->SetReadOnly();
        grid->SetColAttr(kPieceColumn, readOnly);
        auto* count = new wxGridCellAttr;
        count->SetEditor(new wxGridCellNumberEditor(0, kMaxOwnedCount));
        count->SetAlignment(wxALIGN_RIGHT, wxALIGN_CENTRE);
        grid->SetColAttr(kCountColumn, count);
        for (size_t row = 0; row < content.articles.size(); ++row) {
            const std::string& article = content.articles[row];
            const PieceDef* def = catalog.Find(article);
            grid->SetCellValue(static_cast<int>(row), kPieceColumn,
                               Utf8(def ? ArticleDisplayName(def->name) : article));
            grid->SetCellValue(static_cast<int>(row), kCountColumn,
                               wxString::Format("%d", box.Owned(article)));
        }
        grid->SetColSize(kPieceColumn, 420);
        // Wide enough for its heading in any language, and for the largest count.
        grid->SetColSize(
            kCountColumn,
            std::max(80, grid->GetTextExtent(grid->GetColLabelValue(kCountColumn)).x + 16));
        grid->DisableDragRowSize();
        // The toolkit moves every child of the grid when it scrolls and complains about a hidden
        // one: the count's editor is made afresh for each edit instead of waiting hidden. It
        // goes after the grid has taken its value.
        grid->Bind(wxEVT_GRID_EDITOR_HIDDEN, [grid](wxGridEvent& event) {
            event.Skip();
            const int row = event.GetRow(), col = event.GetCol();
            grid->CallAfter([grid, row, col] {
                if (grid->IsCellEditControlShown()) return;
                wxGridCellEditor* editor = grid->GetCellEditor(row, col);
                if (editor->IsCreated()) editor->Destroy();
                editor->DecRef();
            });
        });
        notebook->AddPage(grid, Utf8(content.name));
        pages.push_back({grid, content.articles});
    }
    if (selected != wxNOT_FOUND && selected < static_cast<int>(notebook->GetPageCount()))
        notebook->SetSelection(selected);
}

TrackBox MyTrackDialog::Box() const {
    TrackBox box;
    for (const Page& page : pages) {
        // An open cell editor holds the last typed count: keep it.
        if (page.grid->IsCellEditControlEnabled()) page.grid->SaveEditControlValue();
        for (size_t row = 0; row < page.articles.size(); ++row)
            box.Set(page.articles[row],
                    CellCount(page.grid->GetCellValue(static_cast<int>(row), kCountColumn)));
    }
    return box;
}

void MyTrackDialog::ShowBox(const TrackBox& box) { BuildPages(box); }

wxGrid* MyTrackDialog::PageGrid(size_t index) const {
    return index < pages.size() ? pages[index].grid : nullptr;
}

const std::vector<std::string>& MyTrackDialog::PageArticles(size_t index) const {
    static const std::vector<std::string> none;
    return index < pages.size() ? pages[index].articles : none;
}

void MyTrackDialog::SetPathAsker(PathAsker asker) {
    askPath = asker ? std::move(asker) : PathAsker(&AskCsvPath);
}

void MyTrackDialog::Import() {
    const wxString path = askPath(this, false);
    if (path.empty()) return;
    TrackBox box;
    const std::string error = LoadTrackBox(path.utf8_string(), box);
    if (!error.empty()) {
        wxMessageBox(Utf8(error), _("Import Failed"), wxOK | wxICON_ERROR, this);
        return;
    }
    TrackBox shown = Box();
    // With nothing counted yet, adding and replacing are the same: no question.
    if (!shown.Empty()) {
        wxMessageDialog question(this, _("Add to the counts in My Track, or replace them?"),
                                 _("Import My Track"), wxYES_NO | wxCANCEL | wxICON_QUESTION);
        question.SetYesNoCancelLabels(_("Add"), _("Replace"), _("Cancel"));
        switch (question.ShowModal()) {
            case wxID_YES:
                shown.Add(box);
                box = std::move(shown);
                break;
            case wxID_NO:
                break;
            default:
                return;
        }
    }
    ReplaceBox(box);
}

void MyTrackDialog::Export() {
    const wxString path = askPath(this, true);
    if (path.empty()) return;
    const std::string error = SaveTrackBox(path.utf8_string(), Box());
    if (!error.empty()) wxMessageBox(Utf8(error), _("Export Failed"), wxOK | wxICON_ERROR, this);
}

void MyTrackDialog::Clear() { ReplaceBox(TrackBox{}); }

void MyTrackDialog::ReplaceBox(const TrackBox& box) {
    undoBoxes.push_back(Box());
    undoButton->Enable();
    ShowBox(box);
}

void MyTrackDialog::Undo() {
    if (undoBoxes.empty()) return;
    ShowBox(undoBoxes.back());
    undoBoxes.pop_back();
    undoButton->Enable(!undoBoxes.empty());
}
