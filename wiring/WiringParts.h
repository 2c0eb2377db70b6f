// The parts a wiring plan needs, for the tally's "Wiring" section: the catalog's feeder,
// contact and isolating pieces where its track system has them, and the breaks made by hand
// counted by kind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/LayoutDocument.h"

// One line of that section: a catalog article (its name as the text) or a kind of break made by hand
// (no article).
struct WiringPart {
    std::string article;
    std::string text;
    int count = 0;
    bool operator==(const WiringPart&) const = default;
};

// Feeders on K track take a 2290 feeder track, on Z track an 8590; a detection break (one outer
// rail) on K track a 2295 contact track set; a break on Z track an 8588 isolating track in one
// rail, an 8598 in both. Every other break at a joint is made by hand: a centre-conductor
// insulator, an outer-rail insulator (three-rail track) or an insulated rail joiner per rail
// (two-rail track). A break at an open end needs nothing; a joint is counted once. Catalog
// articles come first in article order, then the kinds made by hand; nothing for an empty plan.
std::vector<WiringPart> WiringParts(const LayoutDocument& doc);

// Where a piece lies in the wiring plan: its section (numbered from 1 as the Wiring window lists
// them), the district feeding it and its detector (0 for none).
struct PieceWiring {
    int section = 0;
    uint32_t district = kNoId;
    int detector = 0;
};
// False when the layout has no wiring plan or the piece is in no section.
bool FindPieceWiring(const LayoutDocument& doc, uint32_t piece, PieceWiring* out);

// FindPieceWiring over one analysis of the layout, kept until Forget() or until the layout
// changes by an edit in the undo history or by pieces added or removed: the properties panel
// asks at every change of the selection, and the analysis visits the whole layout.
class PieceWiringFinder {
public:
    PieceWiringFinder();
    ~PieceWiringFinder();
    bool Find(const LayoutDocument& doc, uint32_t piece, PieceWiring* out);
    void Forget();

private:
    struct Kept;
    std::unique_ptr<Kept> kept;
};

// "Section 3 · Booster 1 · detector 2": the section, district and detector of a piece as the
// properties panel shows them; empty when the layout has no wiring plan or the piece is in no
// section.
std::string PieceWiringText(const LayoutDocument& doc, uint32_t piece);
std::string PieceWiringText(const LayoutDocument& doc, const PieceWiring& wiring);
