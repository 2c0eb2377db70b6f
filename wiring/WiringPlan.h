// The wiring plan of a layout: the breaks in the rails, the feeders, the booster districts and
// the detection sections, as the user drew them. Held by the document and saved with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The rails a gap cuts. Left and right are seen from the piece's connector 0 looking along the
// piece; Centre is the stud conductor of three-rail track.
enum class GapRails : int32_t {
    Centre = 0,
    Left = 1,
    Right = 2,
    Both = 3,
};

// A break at one end of a placed piece, whether that end is joined or open.
struct RailGap {
    uint32_t piece = 0;
    int connector = 0;
    GapRails rails = GapRails::Both;
    bool operator==(const RailGap&) const = default;
};

// Where a booster (district) feeds the track.
struct Feeder {
    uint32_t piece = 0;
    uint32_t district = 0xFFFFFFFFu;  // none until the user picks one
    bool operator==(const Feeder&) const = default;
};

// A booster and the track it drives.
struct PowerDistrict {
    uint32_t id = 1;
    std::string name;
    uint32_t colour = 0x3070C0;  // red * 65536 + green * 256 + blue
    double maxCurrentA = 3.0;
    bool operator==(const PowerDistrict&) const = default;
};

// Marks the section holding `piece` as a detection section reporting as contact `number`.
struct Detector {
    uint32_t piece = 0;
    int number = 1;
    bool operator==(const Detector&) const = default;
};

struct WiringPlan {
    std::vector<RailGap> gaps;
    std::vector<Feeder> feeders;
    std::vector<PowerDistrict> districts;
    std::vector<Detector> detectors;

    bool Empty() const {
        return gaps.empty() && feeders.empty() && districts.empty() && detectors.empty();
    }
    const PowerDistrict* FindDistrict(uint32_t id) const {
        for (const PowerDistrict& d : districts)
            if (d.id == id) return &d;
        return nullptr;
    }
    // Forgets the gaps, feeders and detectors of the pieces `doomed(id)` is true for.
    template <class Doomed>
    void DropPieces(Doomed doomed) {
        std::erase_if(gaps, [&](const RailGap& g) { return doomed(g.piece); });
        std::erase_if(feeders, [&](const Feeder& f) { return doomed(f.piece); });
        std::erase_if(detectors, [&](const Detector& d) { return doomed(d.piece); });
    }
    bool operator==(const WiringPlan&) const = default;
};
