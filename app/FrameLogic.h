// Window-free rules behind the main window: title, command enabling, layout files in the program
// folder, the checks before delete and the resets of New.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Translate.h"
#include "model/Tunnels.h"

class LayoutDocument;

// The program's version, as the title and --version show it.
inline constexpr const char* kVersion = "1.3";
// The frame title with no layout, in English (shown through Tr).
inline constexpr const char* kBaseTitle = TR_NOOP("Quillmore v1.3 by Bramblewick");
// The layout name the first save offers.
inline constexpr const char* kDefaultLayoutName = "My Layout";

// Base title, then " - " and the layout name (or, without a name, the file's base name), then
// " *" when modified. Texts are UTF-8.
std::string FrameTitle(const std::string& layoutName, const std::string& filePath, bool modified);

// Which of the state-dependent commands can run on the document as it stands.
struct CommandEnabling {
    bool undo = false;
    bool redo = false;
    bool deleteSelection = false;  // a piece or a scenery item is selected
};
CommandEnabling EnabledCommands(const LayoutDocument& doc);

// The enabling of the commands and what the Tunnel command would do, worked out once per change:
// the window asks at every idle moment, and each answer visits every piece. Forget() at every
// change notification; an edit recorded in the undo history, or pieces or scenery items added
// or removed, also start afresh.
class CommandStates {
public:
    const CommandEnabling& Enabling(const LayoutDocument& doc) { return For(doc).enabling; }
    const TunnelAnalysis& Tunnel(const LayoutDocument& doc) { return For(doc).tunnel; }
    void Forget() { valid = false; }

private:
    struct State {
        CommandEnabling enabling;
        TunnelAnalysis tunnel;
    };
    const State& For(const LayoutDocument& doc);

    State state;
    bool valid = false;
    uint64_t revision = 0;
    size_t pieces = 0;
    size_t scenery = 0;
};

// Names (file names without ".xml") of the layout files directly in folder, ascending by byte
// value. Sub-folders and other files are left out; a missing folder gives an empty list.
std::vector<std::string> ListLayoutNames(const std::string& folder);
// folder + "/" + name + ".xml".
std::string LayoutFilePath(const std::string& folder, const std::string& name);

// Selects every piece and scenery item; labels and measurements keep their flags.
void SelectAllPiecesAndScenery(LayoutDocument& doc);
// Measuring-tape mode: tool mode 3 with nothing selected.
void EnterMeasureMode(LayoutDocument& doc);

// New and Close Layout: the undoable clear, then an empty baseboard and the default level alone.
void ResetForNewLayout(LayoutDocument& doc);
// After opening: true when a piece belongs to the Märklin Z system, whose small track is shown at
// one pixel per millimetre instead of being fitted.
bool WantsUnitZoomAfterOpen(const LayoutDocument& doc);
// Status field 1: "Pieces: " and the number of pieces, in the reader's language.
std::string PieceCountText(const LayoutDocument& doc);
