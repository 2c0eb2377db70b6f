// The ten ready-made helix units, in the order the palette lists them.
#include "catalog/HelixVariants.h"

namespace {
HelixVariant Variant(std::string id, std::string name, double turns, double rise, double inner,
                     double outer, std::string innerCurve, std::string outerCurve) {
    return HelixVariant{
        std::move(id),         std::move(name),      turns, rise, inner, outer, "24188",
        std::move(innerCurve), std::move(outerCurve)};
}

std::vector<HelixVariant> BuildVariants() {
    // The rise follows the turns: 26 cm for 2.5 turns, 34 cm for 3.5 and 42 cm for 4.5.
    return {
        Variant("proses_2_5_r1r2", "Proses 2.5 R1&R2 26cm/10.2\"", 2.5, 260, 360, 437.5, "24130",
                "24230"),
        Variant("proses_3_5_r1r2", "Proses 3.5 R1&R2 34cm/13.4\"", 3.5, 340, 360, 437.5, "24130",
                "24230"),
        Variant("proses_4_5_r1r2", "Proses 4.5 R1&R2 42cm/16.5\"", 4.5, 420, 360, 437.5, "24130",
                "24230"),
        Variant("proses_2_5_r2r3", "Proses 2.5 R2&R3 26cm/10.2\"", 2.5, 260, 437.5, 515, "24230",
                "24330"),
        Variant("proses_3_5_r2r3", "Proses 3.5 R2&R3 34cm/13.4\"", 3.5, 340, 437.5, 515, "24230",
                "24330"),
        Variant("proses_2_5_r3r4", "Proses 2.5 R3&R4 26cm/10.2\"", 2.5, 260, 515, 579.3, "24330",
                "24430"),
        Variant("proses_4_5_r3r4", "Proses 4.5 R3&R4 42cm/16.5\"", 4.5, 420, 515, 579.3, "24330",
                "24430"),
        Variant("proses_2_5_r4r5", "Proses 2.5 R4&R5 26cm/10.2\"", 2.5, 260, 579.3, 643.6, "24430",
                "24530"),
        Variant("proses_3_5_r4r5", "Proses 3.5 R4&R5 34cm/13.4\"", 3.5, 340, 579.3, 643.6, "24430",
                "24530"),
        Variant("proses_4_5_r4r5", "Proses 4.5 R4&R5 42cm/16.5\"", 4.5, 420, 579.3, 643.6, "24430",
                "24530"),
    };
}
}  // namespace

const std::vector<HelixVariant>& HelixVariants() {
    static const std::vector<HelixVariant> variants = BuildVariants();
    return variants;
}

const HelixVariant* FindHelixVariant(std::string_view id) {
    for (const HelixVariant& v : HelixVariants()) {
        if (v.id == id) return &v;
    }
    return nullptr;
}

const std::string& DefaultHelixVariantId() { return HelixVariants().front().id; }
