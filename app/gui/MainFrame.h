// The main window: owns the layout document and hosts menus, toolbar, panels and status bar.
#pragma once

#include <wx/frame.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/FrameLogic.h"
#include "base/gui/FrameServices.h"
#include "canvas/DeleteCommand.h"
#include "dialogs/PrintOptions.h"
#include "layoutcheck/IgnoredFindings.h"
#include "model/DocumentChange.h"
#include "model/LayoutDocument.h"
#include "trackbox/TrackBox.h"

class CanvasPanel;
class LayoutCheckWindow;
class FrameRecovery;
class PalettePanel;
class PropertiesPanel;
class TrainsWindow;
class View3DFrame;
class wxAboutDialogInfo;
class wxFileHistory;
class wxPageSetupDialogData;
class wxTextEntry;
class wxPrintData;
class wxSplitterWindow;

class MainFrame : public wxFrame, public FrameServices {
public:
    MainFrame();
    ~MainFrame() override;

    LayoutDocument& Document() override { return document; }
    const LayoutDocument& Document() const override { return document; }
    PalettePanel* Palette() const { return palette; }
    CanvasPanel* Canvas() const override { return canvas; }
    PropertiesPanel* Properties() const { return properties; }

    // The end of every edit: says what changed. Content flags mark the layout modified at once;
    // the refreshes that depend on the flags (title, status bar, properties panel, tally,
    // canvas, listeners) run once per turn of the event loop for all calls made in that turn.
    void NotifyChanged(DocChange what) override;
    // Runs the pending update now (nothing when none is pending), for code that must see the
    // refreshed windows before the event loop turns.
    void FlushChanges();
    // Adds an observer called after each update with the merged flags; returns the id that
    // RemoveChangeListener takes (a window that closes before the frame removes itself).
    int AddChangeListener(ChangeListener listener) override;
    void RemoveChangeListener(int id) override;
    // Deletes the selection as the Edit menu or the canvas does: lock refusal and the question
    // about graded pieces first, then the delete and its change notification.
    void DeleteSelection(DeleteSource source) override;
    // Sets or releases the toolbar's Measure toggle (the canvas leaves the tape mode by itself).
    void SetMeasureToolChecked(bool checked) override;
    void ShowStatus(const wxString& text) override;
    wxStatusBar* StatusBar() const override { return GetStatusBar(); }
    // Hands the point to the properties panel's label entry.
    void BeginLabel(double x, double y) override;
    // The canvas.
    PaletteDrops* Drops() const override;
    wxFrame* Window() override { return this; }

    // The open 3D window, or null.
    View3DFrame* View3D() const override { return view3D; }
    bool IsModified() const { return modified; }
    const wxString& FilePath() const { return filePath; }
    const wxString& LayoutName() const override { return layoutName; }

    // The folder of layouts and of the "library" folder: the executable's folder, unless set.
    const wxString& ProgramFolder() const override { return programFolder; }
    void SetProgramFolder(const wxString& folder) { programFolder = folder; }

    // Writes the layout: to its file, or (first save, or saveAs) to a file named after the
    // layout in the program folder. False when cancelled, refused or failed (already reported).
    bool SaveLayoutFile(bool saveAs);
    // Shows the save file dialog for Save As in folder with the offered file name; returns the
    // chosen path, empty when cancelled. Tests replace it, as the native dialog cannot be
    // answered without being shown.
    using SavePathAsker =
        std::function<wxString(wxWindow* parent, const wxString& folder, const wxString& file)>;
    void SetSavePathAsker(SavePathAsker asker) { askSavePath = std::move(asker); }
    // Shows the open file dialog of Open Other in folder; returns the chosen path, empty when
    // cancelled. Tests replace it, as they do the save dialog.
    using OpenPathAsker = std::function<wxString(wxWindow* parent, const wxString& folder)>;
    void SetOpenPathAsker(OpenPathAsker asker) { askOpenPath = std::move(asker); }

    // Layouts from anywhere (MainFrameDesktop.cpp). Opens the layout file at path, asking about
    // unsaved changes first; false when that was cancelled or the file could not be read.
    bool OpenLayoutPath(const wxString& path);
    // The layout named on the command line: opened, or, when it cannot be read, an empty layout
    // and the reader's error.
    void OpenFromCommandLine(const wxString& path);
    // Files dropped on the window: a layout file opens, library block files join the library
    // of their track system. True when any of them was taken.
    bool OpenDroppedFiles(const wxArrayString& paths);
    // The last opened or saved layouts, newest first, kept in the user's settings.
    wxFileHistory& RecentLayouts() const { return *recentLayouts; }
    // The unsaved-changes question: true when the caller may go on and drop the layout.
    bool ConfirmDiscardChanges();

    // The layout check window while it is open (MainFrameCheck.cpp); it forgets itself on close.
    LayoutCheckWindow* CheckWindow() const { return checkWindow; }
    void ForgetCheckWindow() override { checkWindow = nullptr; }
    // The findings the user ignored in the check window: kept while the program runs, even with
    // the window closed, and forgotten when another layout is begun, opened or recovered.
    IgnoredFindings& CheckIgnores() override { return checkIgnores; }

    // The Trains window while it is open (MainFrameTrains.cpp); it forgets itself on close.
    TrainsWindow* Trains() const override { return trainsWindow; }
    void ForgetTrainsWindow() override { trainsWindow = nullptr; }
    // Opens the Trains window or brings it forward.
    void ShowTrainsWindow();

    // Runs once after the frame is shown and the document has its level.
    void AfterStartup();
    // The start-up greeting (modal), then AfterStartup.
    void ShowSplash();
    // Opens a web address through the properties panel's opener (the one Buy Track uses).
    bool OpenWebAddress(const wxString& url);
    // Shows Help > About: the toolkit's about box unless replaced (tests: the native box is
    // not modal, so it cannot be answered like a dialog).
    using AboutShower = std::function<void(const wxAboutDialogInfo& info, wxWindow* parent)>;
    void SetAboutShower(AboutShower shower) { showAbout = std::move(shower); }
    // The text field that has the keyboard focus inside this window, or null.
    wxTextEntry* FocusedTextEntry() const;

    // Crash recovery (MainFrameRecovery.cpp). First offers the layouts that runs which ended
    // without saving left in `folder`, then writes the unsaved layout there every `intervalMs`
    // when it changed; saving or dropping the changes and closing the frame remove it.
    void StartRecovery(const wxString& folder, int intervalMs = 30000);
    // The recovery timer's work: writes the layout aside when it is modified and changed since
    // the last write.
    void WriteRecoveryIfDue();

    // The owner's box of track (MainFrameTrackBox.cpp): read from `path` (the construction reads
    // "my-track.csv" beside the logs); a file that cannot be read leaves the box empty and is
    // reported when the My Track dialog opens, before anything could overwrite it.
    void LoadOwnedTrack(const wxString& path);
    const TrackBox& OwnedTrack() const override { return ownedTrack; }
    const wxString& OwnedTrackFile() const { return ownedTrackFile; }
    // Replaces the box, writes its file and refreshes the tally; a failed write is reported.
    void SetOwnedTrack(const TrackBox& box);
    // The "My Track..." dialog of the Layout menu and the properties panel.
    void ShowMyTrack() override;
    void RunCommand(int id) override;

    PrintOptions& GetPrintOptions() { return printOptions; }
    wxPrintData* GetPrintData() const override { return printData.get(); }
    wxPageSetupDialogData* GetPageSetup() const { return pageSetup.get(); }

private:
    // Construction (MainFrame.cpp, MainFrameMenus.cpp).
    void BuildMenuBar();
    void BuildToolBar();
    void BuildPanels();
    void BuildStatusBar();
    void BindCommands();
    void CreatePrintSettings();
    // The layouts folder: the executable's, or the user's when run from an installation.
    void UseProgramFolders();

    // File commands (MainFrameFile.cpp).
    void OnNew(wxCommandEvent& event);
    void OnOpen(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);
    void OnSaveAs(wxCommandEvent& event);
    void OnExit(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void ResetToNewLayout();
    bool OpenLayoutFile(const wxString& path);
    // Writes the layout to path under name; only on success do they become the layout's own.
    bool WriteLayoutFile(const wxString& path, const wxString& name);
    bool AskLayoutName(wxString* name);
    // The save file dialog in folder; the chosen path and the name it gives. False when
    // cancelled (nothing changes).
    bool ChooseSavePath(const wxString& name, const wxString& folder, wxString* path,
                        wxString* chosenName);
    bool ConfirmReplace(const wxString& path);

    // New from Suggestion (MainFrameSuggest.cpp): the chosen layout opens as a new, unsaved one
    // with the board as its baseboard.
    void OnNewFromSuggestion(wxCommandEvent& event);
    void AdoptSuggestedLayout(const LayoutDocument& suggested);

    // Open Other, Save To, recent layouts and dropped files (MainFrameDesktop.cpp).
    void OnOpenOther(wxCommandEvent& event);
    void OnSaveTo(wxCommandEvent& event);
    void OnRecentLayout(wxCommandEvent& event);
    void BuildRecentLayouts(wxMenu* fileMenu);
    void AcceptFileDrops();
    void RememberRecent(const wxString& path);
    void SaveRecentLayouts();
    // The Recent Layouts menu shows names, with the whole path as the item's help in the status
    // bar, and a greyed "(none)" while the list is empty.
    void RefreshRecentMenu();
    bool AddBlockToLibrary(const wxString& path);
    // The folder the file dialogs of Open Other and Save To start in.
    wxString FileDialogFolder() const;

    // Edit commands (MainFrameEdit.cpp).
    void OnUndo(wxCommandEvent& event);
    void OnRedo(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnSelectAll(wxCommandEvent& event);
    void OnMeasure(wxCommandEvent& event);
    void OnTunnel(wxCommandEvent& event);
    // Edit > Cut, Copy and Paste: the focused text field's clipboard when a text field has the
    // keyboard, else the canvas's copy buffer (Cut copies, then deletes as Edit > Delete does).
    void OnClipboard(wxCommandEvent& event);
    void AfterUndoOrRedo();

    // View and layout commands (MainFrameView.cpp).
    void OnHelp(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnZoomIn(wxCommandEvent& event);
    void OnZoomOut(wxCommandEvent& event);
    void OnZoomFit(wxCommandEvent& event);
    void OnShowGrid(wxCommandEvent& event);
    void OnSnap(wxCommandEvent& event);
    void OnLabels(wxCommandEvent& event);
    void OnUnits(wxCommandEvent& event);
    void OnLanguage(wxCommandEvent& event);
    void OnValidate(wxCommandEvent& event);
    void OnProperties(wxCommandEvent& event);
    void CheckUnitsItem();

    // The layout check (MainFrameCheck.cpp).
    void OnCheckLayout(wxCommandEvent& event);

    // Enabling of commands (MainFrameMenus.cpp).
    void OnUpdateUndo(wxUpdateUIEvent& event);
    void OnUpdateRedo(wxUpdateUIEvent& event);
    void OnUpdateDelete(wxUpdateUIEvent& event);
    void OnUpdateClipboard(wxUpdateUIEvent& event);
    void OnUpdateTunnel(wxUpdateUIEvent& event);
    void OnUpdateLater(wxUpdateUIEvent& event);
    void SetToolLabel(int id, const wxString& label);

    // The Trains command (MainFrameTrains.cpp).
    void OnTrains(wxCommandEvent& event);

    // The 3D View command (MainFrame3D.cpp).
    void OnView3D(wxCommandEvent& event);

    // The update behind NotifyChanged (MainFrame.cpp).
    void ApplyChanges(DocChange what);
    // Schedules the refreshes of NotifyChanged without touching the modified flag.
    void ScheduleChanges(DocChange what);
    // The layout is as its file holds it: not modified, and this state of the undo history is
    // the saved one.
    void MarkSaved();
    void RefreshTitle();
    void ShowPieceCount();

    PalettePanel* palette = nullptr;
    CanvasPanel* canvas = nullptr;
    PropertiesPanel* properties = nullptr;
    LayoutDocument document;
    wxString filePath;
    wxString layoutName;
    bool modified = false;
    // The document revision the file holds; none of the history's when an edit that recorded no
    // undo step changed the saved state.
    static constexpr uint64_t kNoSavedRevision = ~uint64_t{0};
    uint64_t savedRevision = 0;
    View3DFrame* view3D = nullptr;
    int view3DListener = 0;
    std::unique_ptr<wxPrintData> printData;
    std::unique_ptr<wxPageSetupDialogData> pageSetup;
    PrintOptions printOptions;

    wxString programFolder;
    SavePathAsker askSavePath;
    AboutShower showAbout;
    OpenPathAsker askOpenPath;
    std::unique_ptr<wxFileHistory> recentLayouts;
    wxMenu* recentMenu = nullptr;
    wxString lastDialogFolder;

    DocChange pendingChanges = DocChange::None;
    CommandStates commandStates;  // forgotten at every change notification
    bool updateScheduled = false;
    bool paletteWidened = false;  // widened once for its tabs (AfterStartup)
    bool paletteWidenBound = false;
    wxSplitterWindow* paletteSplitter = nullptr;  // the palette's and the rest's
    std::vector<std::pair<int, ChangeListener>> changeListeners;
    int lastListenerId = 0;
    LayoutCheckWindow* checkWindow = nullptr;
    TrainsWindow* trainsWindow = nullptr;
    IgnoredFindings checkIgnores;

    TrackBox ownedTrack;
    wxString ownedTrackFile;
    std::string ownedTrackError;  // why the file could not be read, until it is reported

    // Crash recovery (MainFrameRecovery.cpp).
    void OfferRecoveries(const std::string& folder);
    void AdoptRecoveredLayout(LayoutDocument& recovered, const std::string& name,
                              const std::string& path);
    struct RecoveryDeleter {
        void operator()(FrameRecovery* recovery) const;
    };
    std::unique_ptr<FrameRecovery, RecoveryDeleter> recovery;
};
