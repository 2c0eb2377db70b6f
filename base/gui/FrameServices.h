// What the canvas, the panels and the frame's tool windows ask of the main frame: the document,
// the change notification that ends every edit, the owner's track, the program's folder and the
// few requests that other windows answer. The main frame implements it; the windows it hosts
// know only this.
#pragma once

#include <wx/string.h>

#include <cstdint>
#include <functional>

class CanvasPanel;
class IgnoredFindings;
class LayoutDocument;
class PaletteDrops;
class TrainsWindow;
class View3DFrame;
class wxFrame;
class wxPrintData;
class wxStatusBar;
struct TrackBox;
enum class DeleteSource;
enum class DocChange : std::uint32_t;

class FrameServices {
public:
    virtual LayoutDocument& Document() = 0;
    virtual const LayoutDocument& Document() const = 0;
    // The end of every edit: says what changed.
    virtual void NotifyChanged(DocChange what) = 0;
    // The owner's track box (for the tally's owned and to-buy counts).
    virtual const TrackBox& OwnedTrack() const = 0;
    // The folder of layouts and of the "library" folder.
    virtual const wxString& ProgramFolder() const = 0;

    // Deletes the selection with the frame's refusals and questions first.
    virtual void DeleteSelection(DeleteSource source) = 0;
    // Sets or releases the toolbar's Measure toggle.
    virtual void SetMeasureToolChecked(bool checked) = 0;
    // Shows a text in the first field of the status bar (nothing without a status bar).
    virtual void ShowStatus(const wxString& text) = 0;
    // The frame's status bar, or null (the canvas writes its pointer and grade fields).
    virtual wxStatusBar* StatusBar() const = 0;
    // Starts typing a new label at (x, y) mm in the properties panel.
    virtual void BeginLabel(double x, double y) = 0;
    // The "My Track..." dialog.
    virtual void ShowMyTrack() = 0;
    // Runs one of the frame's menu commands, as its menu item would.
    virtual void RunCommand(int id) = 0;
    // Where the palette's drags and double clicks go (the canvas); null before it exists.
    virtual PaletteDrops* Drops() const = 0;

    // The main frame as a window: the parent of the tool windows, its menus and toolbar.
    virtual wxFrame* Window() = 0;
    // Observers called after each update with the merged flags; the id removes one again (a
    // window that closes before the frame removes itself).
    using ChangeListener = std::function<void(DocChange)>;
    virtual int AddChangeListener(ChangeListener listener) = 0;
    virtual void RemoveChangeListener(int id) = 0;
    // The canvas, or null before it exists.
    virtual CanvasPanel* Canvas() const = 0;
    // The open 3D window, or null.
    virtual View3DFrame* View3D() const = 0;
    // The layout's name (empty for a new layout).
    virtual const wxString& LayoutName() const = 0;
    // The printer settings the print dialogs start from.
    virtual wxPrintData* GetPrintData() const = 0;
    // The findings the user ignored in the check window.
    virtual IgnoredFindings& CheckIgnores() = 0;
    // The check window tells the frame it closed.
    virtual void ForgetCheckWindow() = 0;
    // The Trains window while it is open (the running trains and their turnouts), or null; it
    // tells the frame when it closes.
    virtual TrainsWindow* Trains() const = 0;
    virtual void ForgetTrainsWindow() = 0;

protected:
    ~FrameServices() = default;
};
