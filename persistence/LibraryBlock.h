// Library block files: saving the selection as a reusable block and reading a block back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/LayoutDocument.h"

// Writes the selected pieces and scenery items as a block file (replaced as a whole, like a
// layout). Returns "" on success, "No pieces or scenery selected" when nothing is selected
// (nothing is written), "Cannot open file: <path>" or "Cannot write file: <path>".
std::string SaveBlock(const LayoutDocument& doc, const std::string& path,
                      const std::string& blockName);

// Reads a block file. On success the three outputs hold the block's name, its pieces (id,
// article, pose and joints; everything else as for a new piece) and its scenery items (not
// selected). On error the outputs are left unchanged. Errors: "Cannot open file: <path>",
// "Cannot read file: <path>", or "Line <n>: ..." for a malformed element. `blockName` may be null.
std::string LoadBlock(const std::string& path, std::string* blockName,
                      std::vector<PlacedPiece>* pieces, std::vector<SceneryItem>* sceneryItems);

// The reader behind LoadBlock, working on the file's text.
std::string LoadBlockFromText(std::string_view text, std::string* blockName,
                              std::vector<PlacedPiece>* pieces,
                              std::vector<SceneryItem>* sceneryItems);

// The exact text SaveBlock writes; empty when nothing is selected.
std::string BlockToText(const LayoutDocument& doc, const std::string& blockName);
