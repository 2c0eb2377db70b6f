// Keys the canvas answers itself.
#include "canvas/KeyCommands.h"

CanvasKeyCommand KeyCommandFor(int key, bool ctrl, bool alt, bool shift) {
    if (alt) return CanvasKeyCommand::None;
    if (ctrl) {
        if (shift) return CanvasKeyCommand::None;
        if (key == 'C' || key == 'c') return CanvasKeyCommand::Copy;
        if (key == 'V' || key == 'v') return CanvasKeyCommand::Paste;
        return CanvasKeyCommand::None;
    }
    if (key == '+' || key == '=') return CanvasKeyCommand::ZoomIn;
    if (key == '-') return CanvasKeyCommand::ZoomOut;
    return CanvasKeyCommand::None;
}
