// What a canvas gesture receives (pointer events in layout millimetres) and what it hands back
// to the window (what changed, capture, cursor, repaint, messages and dialogs to show).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "model/DocumentChange.h"
#include "canvas/ViewTransform.h"
#include "model/LayoutDocument.h"

struct Modifiers {
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
};

// A pointer event: the layout point, the window pixel (for thresholds and hit tests that are
// measured in pixels), the modifiers and whether the left button is held.
struct PointerEvent {
    PointMm at;
    int px = 0;
    int py = 0;
    Modifiers mods;
    bool left = false;

    // The event at window pixel (px, py) under the view.
    static PointerEvent At(const ViewTransform& view, int px, int py, Modifiers mods = {},
                           bool left = false) {
        return PointerEvent{{view.ToLayoutX(px), view.ToLayoutY(py)}, px, py, mods, left};
    }
};

// Keys the canvas edits with; the window maps its key codes onto these.
enum class CanvasKey { Escape, Turn, Delete, Other };

enum class PointerCapture { Keep, Capture, Release };
enum class CanvasCursor { Keep, Default, Pencil, Hand, SizeNWSE, SizeNS, SizeNESW, SizeWE };
// The one-shot timer that ends the green flash of the rotation read-out.
enum class FlashTimer { Keep, Start, Stop };
inline constexpr int kFlashMs = 400;

// A message box with an OK button.
struct UserMessage {
    enum class Icon { Information, Warning };
    std::string title;
    std::string text;
    Icon icon = Icon::Information;
};

// The canvas context menus: "Paste" on empty canvas; "Autofill Gap..." (two pieces selected)
// and "Copy" on a piece.
enum class ContextMenu { None, Paste, Piece };

struct GestureResult {
    DocChange changed = DocChange::None;
    bool handled = true;  // false: the window passes the event on
    bool repaint = false;
    bool focus = false;  // the canvas takes the keyboard focus
    PointerCapture capture = PointerCapture::Keep;
    CanvasCursor cursor = CanvasCursor::Keep;
    FlashTimer flash = FlashTimer::Keep;
    std::optional<UserMessage> message;
    std::optional<ViewTransform> view;  // the view to show from now on
    ContextMenu menu = ContextMenu::None;
    bool menuAutofill = false;
    bool deleteSelection = false;       // run the delete command (its checks and its question)
    uint32_t resizeDialog = kNoId;      // open the Resize Scenery dialog for this item
    std::optional<PointMm> labelPoint;  // where the properties panel puts a new label
    std::string gradeStatus;            // status text of a climb ended by a right click
    bool measureToolReleased = false;   // the tape mode ended: release the toolbar toggle
    bool ended = false;                 // the gesture that produced this is over

    // The result of an event nobody wanted.
    static GestureResult Unhandled() {
        GestureResult r;
        r.handled = false;
        return r;
    }
};
