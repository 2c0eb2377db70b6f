// The fixed tables behind the piece tally: bridge decks, switch motors and decoders.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Track that a bridge or ramp carries and that the tally counts with it, one each per bridge
// placed; empty for any other article.
const std::vector<std::string>& BridgeDeckArticles(std::string_view bridge);
// Turnout motors (article 74491/74492) that one piece of the article needs; 0 when none.
int TurnoutMotorsPerPiece(std::string_view article);
// K-Track motors (article 75491) that one piece of the article needs; 0 when none.
int KTrackMotorsPerPiece(std::string_view article);
// The decoder article ("74462" or "74467") that one piece of the article needs; empty when none.
std::string_view DecoderArticleFor(std::string_view article);
