// Fuzz target of the track box reader: no crash, box kept on refusal, accepted boxes round-trip.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "trackbox/TrackBox.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The box the owner has when they import a file.
    TrackBox box;
    box.Set("24188", 4);
    box.Set("old, quoted \"one\"", 2);
    const TrackBox before = box;

    const std::string error = ParseTrackBox(text, box);
    if (!error.empty()) {
        Check(error.rfind("Line ", 0) == 0 && box == before);
        return 0;
    }
    for (const auto& [article, count] : box.counts) {
        Check(!article.empty() && count > 0 && count <= kMaxOwnedCount);
        for (unsigned char c : article) Check(c >= 0x20 && c != 0x7F);
    }
    // What was accepted saves, and the saved text reads back to the same box and text.
    const std::string saved = TrackBoxToText(box);
    TrackBox again;
    Check(ParseTrackBox(saved, again).empty() && again == box);
    Check(TrackBoxToText(again) == saved);
    return 0;
}
