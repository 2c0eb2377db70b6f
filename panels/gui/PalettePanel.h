// The left panel: track systems, catalog pieces, library blocks, scenery and signals to place.
#pragma once

#include <wx/panel.h>

#include <string>
#include <vector>

class FrameServices;
class PiecePreviewPopup;
class wxChoice;
class wxListBox;
class wxNotebook;
class wxStaticText;
struct PaletteRow;
struct PlacedPiece;

class PalettePanel : public wxPanel {
public:
    PalettePanel(wxWindow* parent, FrameServices* frame);

    // Fills every list once the main window has laid out its panels.
    void PopulateLists();
    // Refills the Library list (after a block was saved).
    void RefreshLibrary();
    // Switches the track-system choice to a system the freshly opened layout uses.
    void SelectSystemForLayout(const std::vector<PlacedPiece>& pieces);
    // File > Save as Library Block: asks for a name and writes the selection into the library
    // folder of the chosen system.
    void SaveSelectionAsBlock();

    // The chosen system, 0 to 3 (C, K, TRIX C, Z).
    int SystemIndex() const;
    // True when every tab of the notebook shows (none hidden behind the scroll arrows); known
    // only once the palette is on the screen.
    bool AllTabsShown() const;
    // The folder of the chosen system's block files, inside the main window's program folder.
    std::string LibraryFolder() const;

    wxChoice* SystemChoice() const { return systemChoice; }
    wxNotebook* Notebook() const { return notebook; }
    wxListBox* TrackList() const { return trackList; }
    wxListBox* LibraryList() const { return libraryList; }
    wxListBox* SceneryList() const { return sceneryList; }
    wxListBox* SignalsList() const { return signalsList; }
    const std::vector<std::string>& TrackKeys() const { return trackKeys; }
    const std::vector<std::string>& LibraryPaths() const { return libraryPaths; }
    const std::vector<std::string>& SceneryKeys() const { return sceneryKeys; }
    const std::vector<std::string>& SignalKeys() const { return signalKeys; }
    bool SceneryPageShown() const { return sceneryPageShown; }
    bool DragSuppressed() const { return dragSuppressed; }
    int HoveredRow() const { return hoveredRow; }
    PiecePreviewPopup* Preview() const { return preview; }

private:
    void FillTrackList(int index);
    void FillLibraryList();
    void FillSceneryList();
    void FillSignalsList();
    void ApplySceneryPageRule(int index);
    void AddSceneryPage();
    void ApplySystem(int index);
    void HidePreview();

    void OnSystemChanged(wxCommandEvent& event);
    void OnTrackDoubleClick(wxCommandEvent& event);
    void OnLibraryDoubleClick(wxCommandEvent& event);
    void OnSceneryDoubleClick(wxCommandEvent& event);
    void OnTrackMotion(wxMouseEvent& event);
    void OnTrackLeftDown(wxMouseEvent& event);
    void OnTrackLeave(wxMouseEvent& event);
    void OnTrackWheel(wxMouseEvent& event);
    void OnSceneryLeftDown(wxMouseEvent& event);
    void OnSceneryMotion(wxMouseEvent& event);

    // True when a drag was handed to the canvas.
    bool StartTrackDrag(const wxMouseEvent& event);
    void UpdateHover(const wxMouseEvent& event);
    // The key of the list shown on the notebook's current page (Signals, else Scenery).
    std::string CurrentSceneryKey() const;
    void PlaceLibraryBlockAt(const std::string& path);

    FrameServices* frame = nullptr;
    wxChoice* systemChoice = nullptr;
    wxNotebook* notebook = nullptr;
    wxStaticText* hint = nullptr;
    int hintWidth = 0;  // the width the hint was last wrapped to
    wxListBox* trackList = nullptr;
    wxListBox* libraryList = nullptr;
    wxListBox* sceneryList = nullptr;
    wxListBox* signalsList = nullptr;
    std::vector<std::string> trackKeys;
    std::vector<std::string> libraryPaths;
    std::vector<std::string> sceneryKeys;
    std::vector<std::string> signalKeys;
    bool sceneryPageShown = true;
    PiecePreviewPopup* preview = nullptr;
    int hoveredRow = -1;
    bool dragSuppressed = false;

    wxDECLARE_EVENT_TABLE();
};
