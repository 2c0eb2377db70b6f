// Dropping a library block into the layout: fresh ids, shifted to the origin, outside joints
// opened.
#pragma once

#include <vector>

#include "model/LayoutDocument.h"

// Appends the block's pieces and scenery items to the document as new objects: one undo
// snapshot; each gets the next id; everything moves so that the smallest x and the smallest y
// over all positions become 0; joints between block pieces are carried over to the new ids and
// joints to pieces outside the block are opened; scenery items arrive unselected. A block with
// neither pieces nor scenery items changes nothing and returns false.
bool PlaceLibraryBlock(LayoutDocument& doc, std::vector<PlacedPiece> pieces,
                       std::vector<SceneryItem> sceneryItems);
