// What an edit changed. Every edit ends in one MainFrame::NotifyChanged with these flags; the
// main frame refreshes what depends on them (title, status bar, panels, tally, canvas, 3D view
// and the other listeners) once per turn of the event loop.
#pragma once

#include <cstdint>

enum class DocChange : std::uint32_t {
    None = 0,
    Pieces = 1u << 0,       // pieces added or removed: the tally is recounted
    Placement = 1u << 1,    // poses, joints, heights, grades, colours, helices, tunnels of pieces
    Scenery = 1u << 2,      // scenery items added, removed, moved or resized
    Annotations = 1u << 3,  // labels and measurements
    Levels = 1u << 4,       // levels, their visibility, the active level, the baseboard outline
    Selection = 1u << 5,    // what is selected
    View = 1u << 6,         // zoom, pan, grid, snap, labels shown, units
    File = 1u << 7,         // layout name, file path, modified flag (new, open, save); as new and
                            // open replace the document, everything is refreshed, but the
                            // modified flag stays as the caller set it
    Stock = 1u << 8,        // the owner's track box (not part of the layout): the tally's owned
                            // and to-buy columns
    Pictures = 1u << 9,     // the background pictures, their places, looks and levels

    // Everything that modifies the document (and so marks the layout modified).
    Content = Pieces | Placement | Scenery | Annotations | Levels | Pictures,
    All = Content | Selection | View | File | Stock,
};

constexpr DocChange operator|(DocChange a, DocChange b) {
    return static_cast<DocChange>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
constexpr DocChange operator&(DocChange a, DocChange b) {
    return static_cast<DocChange>(static_cast<std::uint32_t>(a) & static_cast<std::uint32_t>(b));
}
// The complement within All.
constexpr DocChange operator~(DocChange a) {
    return static_cast<DocChange>(~static_cast<std::uint32_t>(a) &
                                  static_cast<std::uint32_t>(DocChange::All));
}
constexpr DocChange& operator|=(DocChange& a, DocChange b) { return a = a | b; }
// True when set holds any of the flags in any.
constexpr bool HasAny(DocChange set, DocChange any) { return (set & any) != DocChange::None; }
