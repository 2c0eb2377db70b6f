// The help window's text.
#include "app/HelpText.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "base/Translate.h"

namespace {

// The sections before the shortcut table, in the order shown. A new feature adds its section
// here, where the reader meets it.
std::vector<HelpSection> TextSections() {
    std::vector<HelpSection> s;
    s.push_back({Tr("Welcome to Quillmore v1.3"),
                 {Tr("lets you design and plan your Marklin and TRIX model railway layouts. "
                     "Supported systems: Marklin and TRIX HO C-Track, Marklin HO K-Track, and "
                     "Marklin Z Track.")},
                 true});
    s.push_back(
        {Tr("Getting Started"),
         {Tr("1. Choose a track system at the top of the palette on the left.\n"
             "2. Choose the units under Layout > Units of Measure (mm, cm or inches).\n"
             "3. Drag a piece from the Track list onto the canvas, or double-click it, and click "
             "where it goes.\n"
             "4. Bring further pieces near an open end (an orange dot): within 25 mm they snap "
             "on and join (a green dot).\n"
             "5. Double-click a piece on the canvas to clone it onto its free end; keep "
             "double-clicking to extend the track piece by piece.\n"
             "6. With a piece selected, double-click a piece in the palette to connect it to the "
             "selected piece automatically. A chain that comes back to its own start closes "
             "by itself.\n"
             "7. Save with File > Save (Ctrl+S). An installed Quillmore keeps layouts in the "
             "Quillmore folder of your documents folder (~/Documents/Quillmore, or ~/Quillmore "
             "where the desktop names no documents folder); run from its build folder, it keeps "
             "them beside the program. File > Open lists them, including the sample layouts that "
             "come with it.")}});
    s.push_back(
        {Tr("Suggested Layouts"),
         {Tr("File > New from Suggestion asks for the board (it starts with the layout's "
             "baseboard), the track system, the kinds of layout and the options, and shows the "
             "layouts that fit as a gallery while it searches. Each says its track length, "
             "pieces, smallest radius, longest station track and the pieces to buy; with Only "
             "pieces I own, every one can be built from My Track. Double-click one, or select it "
             "and press Open, to begin it as a new layout. A board too small for any of them is "
             "told the smallest board that would do.")}});
    s.push_back({Tr("Canvas Navigation"),
                 {Tr("Pan with the middle mouse button, with Space held and the left button, or "
                     "with Ctrl and the left button on empty canvas. Zoom with the mouse wheel "
                     "(about the pointer) or with + and -. Ctrl+0 or the Fit button shows the "
                     "whole layout. Dragging on empty canvas draws a rubber band that selects "
                     "the pieces and scenery inside it.")}});
    s.push_back({Tr("Track Selection"),
                 {Tr("Click a piece to select it; Ctrl+A selects all pieces and scenery; Escape "
                     "clears the selection. Shift+click selects the whole chain of pieces between "
                     "the last selected piece and the clicked one. Ctrl+click adds a piece to the "
                     "selection or takes it out: the way to select just two pieces for Autofill "
                     "Gap. The rubber band adds everything inside it.")}});
    s.push_back({Tr("Autofill Gap"),
                 {Tr("Select exactly two pieces whose open ends face each other (click one, "
                     "Ctrl+click the other), right-click one of them and choose \"Autofill "
                     "Gap...\". Pick one of the fills offered; its straight pieces are placed and "
                     "joined at both ends. A message says when the ends do not line up or no fill "
                     "exists.")}});
    s.push_back(
        {Tr("Closing a Gap"),
         {Tr("Select two pieces with open ends and choose Layout > Close Gap (Ctrl+J), or "
             "Close Gap in the canvas's right-click menu. Quillmore searches the catalog "
             "for chains of real pieces that join the two ends and lists them, fewest "
             "pieces first, with the articles, how far the last joint misses, the smallest "
             "radius and any S-bend. Choosing a line shows the chain on the canvas; OK "
             "lays it in one step that Undo takes back."),
          Tr("The tolerances and the most pieces can be changed, turnouts may be passed "
             "along either route, chains may be allowed to cross existing track, and "
             "\"Only pieces I own\" builds from what My Track says is left in your box.")}});
    s.push_back({Tr("Cut, Copy and Paste"),
                 {Tr("Edit > Copy (Ctrl+C) keeps the selected pieces; Edit > Paste (Ctrl+V) puts a "
                     "copy at the pointer, or in the middle of the view when the pointer is "
                     "elsewhere; Edit > Cut (Ctrl+X) copies and then deletes. The canvas's "
                     "right-click menu offers Copy and Paste too. In a text field the same keys "
                     "work on its text.")}});
    s.push_back({Tr("Undo and Redo"),
                 {Tr("Edit > Undo (Ctrl+Z) takes back the last change, up to 50 of them, and Redo "
                     "(Ctrl+Y) brings it back: pieces, scenery, labels and measurements, and also "
                     "the baseboard outline and the levels. Removing a level with everything on "
                     "it, or starting a new layout, can be undone in one step.")}});
    s.push_back({Tr("Library"),
                 {Tr("The palette's Library tab lists the sections saved for the chosen track "
                     "system; double-click one to place it. File > Save as Library Block saves the "
                     "selected pieces and scenery as a new section.")}});
    s.push_back({Tr("Moving Pieces"),
                 {Tr("Drag a selected piece to move the whole selection. A move of more than a "
                     "millimetre parts the selection from the pieces left behind; dropped near an "
                     "open end it snaps and joins, and further ends that meet join as well. Ctrl+A "
                     "and a drag moves everything. Helix pieces move only as a whole helix; tunnel "
                     "track stays put until its tunnel is removed.")}});
    s.push_back({Tr("Dragging from the Palette"),
                 {Tr("While a piece from the palette follows the pointer, the mouse wheel turns "
                     "it by 30 degrees (15 with Shift), R or a right click turns it by 30 degrees, "
                     "and Escape cancels. Scenery turns by 15 degrees.")}});
    s.push_back({Tr("Rotating Pieces"),
                 {Tr("Alt+drag turns the selection freely about its centre, snapping to 0, 90, 180 "
                     "and 270 degrees (the read-out flashes green). Alt+right-click turns the "
                     "selection by 30 degrees; scenery other than platforms and signals turns by "
                     "15.")}});
    s.push_back({Tr("Elevation and Grades"),
                 {Tr("Select a piece and use Set Grade in the right panel: type a height and press "
                     "Enter, or choose UP or DOWN and an angle and press Start Grade. Pieces "
                     "joined on afterwards continue the grade until End Grade; Recalc carries the "
                     "heights along the chain from the selected piece. Grades steeper than 6 "
                     "degrees are flagged. Arch and truss bridges end the grade and lie flat. "
                     "Layout > Height Profile, with two pieces selected, unrolls the route between "
                     "them: heights, grades, and the clearance wherever another track passes over "
                     "or under it. Drag a joint's dot up or down to set its height, or press Even "
                     "Grade for one steady climb from end to end.")}});
    s.push_back({Tr("3D View"),
                 {Tr("View > 3D View or the 3D View button shows the layout in a separate window: "
                     "drag with the left "
                     "button to orbit, with the right button to pan, and use the wheel to zoom. "
                     "Heights, grade tilts and bridge supports are shown.")}});
    s.push_back({Tr("Running Trains"),
                 {Tr("Layout > Trains (or the Trains button) opens the Trains window. Choose a "
                     "train and how many cars, press Add Train and click a track to put its head "
                     "there. Start and Stop run it at the set speed in scale km/h, Reverse turns "
                     "it round. While trains run, clicking a turnout switches it; the leg it is "
                     "set for is drawn on the plan. A train stops at a buffer, an open end, a "
                     "turnout set against it or another train, and the status bar says why. "
                     "Editing the track stops the trains."),
                  Tr("In the 3D view the trains run too: press O for the orbit camera, F to follow "
                     "the train from behind and C for the view from the cab.")}});
    s.push_back({Tr("Layout Shape"),
                 {Tr("Layout > Layout Shape sets the baseboard outline: a rectangle, an L-, U- or "
                     "T-shape or a custom polygon. It is drawn beneath the grid with its edge "
                     "lengths and is independent of the level decks. A cutout or stem that does "
                     "not fit inside the board is refused; custom lines that are not two numbers "
                     "separated by a comma are skipped, and the dialog says which. Sizes left "
                     "untouched keep their exact value in every unit.")}});
    s.push_back({Tr("Levels"),
                 {Tr("Layout > Levels... or the Levels button opens the level manager. Each level "
                     "has a name, a height, an optional track colour and a visibility. "
                     "Track and scenery take the height of their level in 3D and its colour in 2D "
                     "(a piece's own colour wins); hidden levels are neither drawn nor selectable. "
                     "A piece dropped on empty canvas goes to the highest visible level, a piece "
                     "joined to another takes that piece's level. The Level choice of the right "
                     "panel moves the selected piece and the track joined to it.")}});
    s.push_back(
        {Tr("Tracing a Picture"),
         {Tr("Layout > Background Pictures... puts a room plan, a scanned track plan or a photo "
             "under the layout: Add takes a PNG, JPEG, BMP, TIFF, GIF or WebP picture, or the "
             "first page of a PDF. Calibrate brings it to scale: click two points of the "
             "picture whose real distance you know, as the status bar asks, then type that "
             "distance in the layout's units. Align moves and turns it instead: click a point "
             "of the picture, then the layout point it belongs on, and the same for a second "
             "point. Escape cancels either. The dialog also sets the opacity and the level, "
             "shows or hides a picture and locks it, so that laying track over it never moves "
             "it. A picture whose file has gone is kept in the list: Locate... finds it again. "
             "The print options' \"Include background pictures\" puts the pictures on paper "
             "and into the exports."),
          Tr("In the 3D view, View > Background Pictures lays the shown pictures on the "
             "baseboard, or on the board of their level where it is a deck, under the track.")}});
    s.push_back({Tr("Measuring Tape"),
                 {Tr("Press Measure, then click two points: a measurement with arrows and its "
                     "length in the current units is laid down. Click it to select it (blue), drag "
                     "to move its label, Del removes it, Escape leaves the tool.")}});
    s.push_back({Tr("Adding Labels"),
                 {Tr("Ctrl+click on empty canvas opens the Add Label field of the right panel; "
                     "type the text and press Enter or OK. Labels can be dragged and deleted with "
                     "Del; the Hide Labels button hides them.")}});
    s.push_back({Tr("Piece Tally"),
                 {Tr("The right panel counts every piece of the layout (bridges and helices also "
                     "count the track they contain) and recommends accessories. Buy Track opens "
                     "the Bramblewick web store with all of it in the shopping cart.")}});
    s.push_back({Tr("My Track"),
                 {Tr("Layout > My Track (or the My Track button beside Buy Track) keeps the "
                     "pieces you already own, one tab per track system, and can read and write "
                     "them as a CSV file. The tally then shows what the layout needs, what you own "
                     "and what is still to buy, and Buy Track puts only the missing pieces in the "
                     "cart. The box belongs to you, not to one layout: it is kept as my-track.csv "
                     "beside the logs.")}});
    s.push_back({Tr("Coloring Track"),
                 {Tr("Select pieces, choose a colour under Color in the right panel and press "
                     "Apply. \"Default\" takes the colour away again.")}});
    s.push_back({Tr("Checking the Layout"),
                 {Tr("Layout > Check Layout (Ctrl+L) lists what would stop the track from being "
                     "built or run: open ends, ends that nearly meet, strained joints, tracks that "
                     "run into each other, too little clearance under a track crossing above, "
                     "steep grades, sudden changes of grade and unknown articles. Choose a finding "
                     "to see it on the canvas. The list follows every change to the layout.")}});
    s.push_back(
        {Tr("How the Track Is Laid"),
         {Tr("The layout check (Layout > Check Layout) also looks at how the track is laid. Set "
             "the straight needed between curves that turn opposite ways (Longest vehicle "
             "proposes the longest car of the ready-made trains), the smallest radius and the "
             "longest train: it then warns of S-bends, curves and turnout branches that are too "
             "tight, and sidings shorter than the train. Turnouts, crossings and slips on a grade "
             "are always warned about, and on two-rail track (TRIX C and Z) a reversing loop is "
             "an error: it shorts the rails unless it gets insulated sections and a reversing "
             "module."),
          Tr("Ignore hides the chosen finding until you begin or open another layout; Show "
             "Ignored brings them back. Save Report writes the findings as text, or as CSV when "
             "the file name ends in .csv.")}});
    s.push_back({Tr("Printing and Exports"),
                 {Tr("File > Print (Ctrl+P) asks how to print: fitted to one page, at a true scale "
                     "1 : N over as many pages as needed, or at a percentage of the fitted size; "
                     "the active level or all levels; colour or grayscale; with or without the "
                     "grid and the baseboard outline. File > Print Preview shows the pages and "
                     "File > Page Setup chooses paper and orientation."),
                  Tr("File > Export Picture writes the plan as a PNG picture at a chosen number of "
                     "pixels per millimetre, or as an SVG drawing at full size (at 1 : N when the "
                     "print options ask for a true scale; the drawing states its scale). Export "
                     "PDF writes it to scale on paper-sized pages, and Export Parts List writes "
                     "the piece tally as a CSV file.")}});
    s.push_back({Tr("Crash Recovery"),
                 {Tr("While a layout has unsaved changes, Quillmore keeps a copy of it beside its "
                     "logs at most every 30 seconds. If the program ends without saving (a crash, "
                     "a power cut), the next start offers to recover the layout; saving, New, "
                     "Open, Close and a normal exit remove the copy.")}});
    s.push_back({Tr("Layouts Anywhere"),
                 {Tr("File > Open Other (Ctrl+Shift+O) opens a layout from any folder and File > "
                     "Save To saves one anywhere; a layout opened elsewhere is saved back where it "
                     "came from. File > Recent Layouts lists the last nine. A layout file dropped "
                     "on the window opens, and a library block file dropped on it joins the "
                     "library of its track system.")}});
    return s;
}

}  // namespace

const std::vector<HelpShortcut>& CanvasShortcuts() {
    static const std::vector<HelpShortcut> shortcuts = {
        {TR_NOOP("Middle-drag"), TR_NOOP("Pan canvas")},
        {TR_NOOP("Left-drag"), TR_NOOP("Rubber band select (on empty area)")},
        {TR_NOOP("Wheel (palette)"), TR_NOOP("Rotate piece being dragged (Shift: 15 deg)")},
        {TR_NOOP("R (palette)"), TR_NOOP("Rotate piece being dragged by 30 deg")},
        {TR_NOOP("Right-click"), TR_NOOP("Context menu")},
        {TR_NOOP("Alt+drag"), TR_NOOP("Free rotate")},
        {TR_NOOP("Alt+right-click"), TR_NOOP("Rotate 30 degrees (most scenery: 15)")},
        {TR_NOOP("Escape"), TR_NOOP("Deselect / cancel drag / cancel measurement")},
        {TR_NOOP("Backspace"), TR_NOOP("Delete selected (as Del)")},
    };
    return shortcuts;
}

std::string ShortcutLine(const HelpShortcut& shortcut) {
    // The column is counted in characters, not bytes: a translated key name may hold umlauts.
    const size_t characters =
        static_cast<size_t>(std::count_if(shortcut.keys.begin(), shortcut.keys.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    const size_t blanks = characters < 18 ? 20 - characters : 2;
    return shortcut.keys + std::string(blanks, ' ') + shortcut.action;
}

std::string KeyNamesAsMenusShowThem(const std::string& keys) {
    // The toolkit's raw names and the catalog's keys for the names the menus use.
    static constexpr std::pair<const char*, const char*> kNames[] = {
        {"Ctrl", TR_NOOP("Ctrl")},      {"Shift", TR_NOOP("Shift")},  {"Alt", TR_NOOP("Alt")},
        {"Delete", TR_NOOP("Del")},     {"Insert", TR_NOOP("Ins")},   {"Home", TR_NOOP("Home")},
        {"End", TR_NOOP("End")},        {"Return", TR_NOOP("Enter")}, {"Enter", TR_NOOP("Enter")},
        {"Space", TR_NOOP("Space")},    {"Back", TR_NOOP("Backspace")},
        {"Escape", TR_NOOP("Escape")},
    };
    std::string out;
    // "+" alone (Zoom In) is a key, not a separator.
    for (size_t at = 0; at < keys.size();) {
        size_t plus = keys.find('+', at + 1);
        if (plus == std::string::npos) plus = keys.size();
        const std::string name = keys.substr(at, plus - at);
        const auto known = std::find_if(std::begin(kNames), std::end(kNames),
                                        [&](const auto& n) { return name == n.first; });
        // A name the reader's language keeps (English) stays the toolkit's own.
        const std::string local = known != std::end(kNames) ? Tr(known->second) : name;
        out += known != std::end(kNames) && local != known->second ? local : name;
        if (plus < keys.size()) out += '+';
        at = plus + 1;
    }
    return out;
}

std::vector<HelpSection> HelpSections(const std::vector<HelpShortcut>& menuShortcuts) {
    std::vector<HelpSection> sections = TextSections();
    HelpSection keys{Tr("Keyboard Shortcuts"), {}, false, true};
    for (const HelpShortcut& shortcut : menuShortcuts)
        keys.paragraphs.push_back(ShortcutLine(shortcut));
    for (const HelpShortcut& shortcut : CanvasShortcuts())
        keys.paragraphs.push_back(
            ShortcutLine({Tr(shortcut.keys.c_str()), Tr(shortcut.action.c_str())}));
    sections.push_back(std::move(keys));
    return sections;
}
