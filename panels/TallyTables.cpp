// The fixed tables behind the piece tally: bridge decks, switch motors and decoders.
#include "panels/TallyTables.h"

#include <functional>
#include <map>

namespace {

template <typename T>
using ArticleMap = std::map<std::string, T, std::less<>>;

const ArticleMap<std::vector<std::string>>& BridgeDecks() {
    static const ArticleMap<std::vector<std::string>> table = {
        {"74636", {"24360"}},
        {"74620", {"24188"}},
        {"74623", {"24230"}},
        {"74613", {"24130"}},
        {"74618", {"24188", "24172"}},
        {"7263", {"2200"}},
        {"7262", {"2200"}},
        {"7569", {"2221"}},
        {"7267", {"2221"}},
        {"62636", {"62188", "62172"}},
        {"62620", {"62188"}},
        {"62623", {"62230"}},
        {"62613", {"62130"}},
        {"8975", {"8505"}},
        {"89759", {"8500"}},
        {"8976", {"8500"}},
        {"8977", {"8510"}},
    };
    return table;
}

const ArticleMap<int>& TurnoutMotors() {
    // The three-way turnouts have two blades to throw.
    static const ArticleMap<int> table = {
        {"24611", 1}, {"24612", 1}, {"24630", 2}, {"24671", 1}, {"24672", 1},
        {"24711", 1}, {"24712", 1}, {"24771", 1}, {"24772", 1}, {"24720", 1},
        {"62611", 1}, {"62612", 1}, {"62630", 2}, {"62671", 1}, {"62672", 1},
    };
    return table;
}

const ArticleMap<int>& KTrackMotors() {
    static const ArticleMap<int> table = {
        {"2261", 1}, {"2263", 1}, {"2264", 1}, {"2265", 1}, {"2266", 1}, {"2267", 1},
        {"2268", 1}, {"2269", 1}, {"2271", 1}, {"2272", 1}, {"2276", 1}, {"2277", 1},
    };
    return table;
}

const ArticleMap<std::string>& Decoders() {
    // The slim double slip 24720 has a decoder of its own; every other switch shares 74462.
    static const ArticleMap<std::string> table = {
        {"24611", "74462"}, {"24612", "74462"}, {"24630", "74462"}, {"24671", "74462"},
        {"24672", "74462"}, {"24711", "74462"}, {"24712", "74462"}, {"24771", "74462"},
        {"24772", "74462"}, {"24624", "74462"}, {"62611", "74462"}, {"62612", "74462"},
        {"62630", "74462"}, {"62671", "74462"}, {"62672", "74462"}, {"62624", "74462"},
        {"24720", "74467"},
    };
    return table;
}

template <typename T>
const T* Lookup(const ArticleMap<T>& table, std::string_view article) {
    auto it = table.find(article);
    return it == table.end() ? nullptr : &it->second;
}

}  // namespace

const std::vector<std::string>& BridgeDeckArticles(std::string_view bridge) {
    static const std::vector<std::string> none;
    const auto* decks = Lookup(BridgeDecks(), bridge);
    return decks ? *decks : none;
}

int TurnoutMotorsPerPiece(std::string_view article) {
    const int* n = Lookup(TurnoutMotors(), article);
    return n ? *n : 0;
}

int KTrackMotorsPerPiece(std::string_view article) {
    const int* n = Lookup(KTrackMotors(), article);
    return n ? *n : 0;
}

std::string_view DecoderArticleFor(std::string_view article) {
    const std::string* decoder = Lookup(Decoders(), article);
    return decoder ? std::string_view(*decoder) : std::string_view();
}
