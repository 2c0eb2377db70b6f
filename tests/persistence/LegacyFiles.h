// Frozen copy of the file writer and readers as they were before the element descriptions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/LayoutDocument.h"

namespace legacy {

std::string LayoutToText(const LayoutDocument& doc, const std::string& layoutName);
std::string LoadLayoutFromText(LayoutDocument& doc, std::string_view text, std::string* layoutName);
std::string BlockToText(const LayoutDocument& doc, const std::string& blockName);
std::string LoadBlockFromText(std::string_view text, std::string* blockName,
                              std::vector<PlacedPiece>* pieces,
                              std::vector<SceneryItem>* sceneryItems);

}  // namespace legacy
