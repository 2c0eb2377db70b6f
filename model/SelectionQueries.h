// Questions about the document's selection that the commands, the canvas and the panels share.
// Whether anything at all is selected (pieces, scenery, labels or measurements) is
// LayoutDocument::HasSelection.
#pragma once

#include "model/LayoutDocument.h"

// True when a piece or a scenery item is selected: what the Delete command and rotation act on.
bool PieceOrScenerySelected(const LayoutDocument& doc);
// The number of selected pieces.
int SelectedPieceCount(const LayoutDocument& doc);
// True when a selected piece has a grade (|grade| above kFlatGradeDeg): delete asks first.
bool SelectionHasGrade(const LayoutDocument& doc);
