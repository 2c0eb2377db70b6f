// The palette's groups of article numbers for each offered track system.
#include "panels/PaletteTables.h"

#include "base/Translate.h"

namespace {

const std::vector<PaletteGroup> kMarklinCGroups = {
    {TR_NOOP("Straights"),
     {"24064", "24071", "24077", "24094", "24172", "24188", "24229", "24236", "24360"}},
    {TR_NOOP("Curves"),
     {"24130", "24115", "24107", "24230", "24294", "24224", "24215", "24207", "24206", "24330",
      "24315", "24430", "24530", "24912"}},
    {TR_NOOP("Switches"), {"24611", "24612", "24671", "24672", "24630"}},
    {TR_NOOP("Crossings"), {"24640", "24649", "24740"}},
    {TR_NOOP("Double Slip Switches"), {"24624", "24720"}},
    {TR_NOOP("Slim Switches"), {"24711", "24712", "24771", "24772"}},
    {TR_NOOP("Circuit Tracks"), {"24994", "24294"}},
    {TR_NOOP("Other"), {"24997", "24977", "24978", "24922", "74862"}},
    {TR_NOOP("Bridges"), {"74636", "74620", "74623", "74613", "74618"}},
};

const std::vector<PaletteGroup> kMarklinKGroups = {
    {TR_NOOP("Straights"),
     {"2200", "2201", "2202", "2203", "2204", "2205", "2206", "2207", "2208", "2209", "2293"}},
    {TR_NOOP("Special Track"), {"2290", "2291", "2292", "2295", "2297", "2299"}},
    {TR_NOOP("Curves R1 (360mm)"), {"2210", "2229"}},
    {TR_NOOP("Curves R2 (424.6mm)"), {"2221", "2223", "2224", "2239"}},
    {TR_NOOP("Curves R3 (515mm)"), {"2231", "2232", "2233", "2234", "2235"}},
    {TR_NOOP("Curves R4 (573.6mm)"), {"2241", "2251"}},
    {TR_NOOP("Curves R5 (636mm)"), {"2274"}},
    {TR_NOOP("Crossings"), {"2257", "2258", "2259"}},
    {TR_NOOP("Turnouts"),
     {"2262", "2263", "2265", "2266", "2268", "2269", "2270", "22715", "22716"}},
    {TR_NOOP("Double Slip Switches"), {"2260", "2275"}},
    {TR_NOOP("Bumpers"), {"7389", "7391"}},
    {TR_NOOP("Bridges"), {"7263", "7262", "7569", "7267"}},
};

const std::vector<PaletteGroup> kTrixCGroups = {
    {TR_NOOP("Straights"),
     {"62064", "62071", "62077", "62094", "62172", "62188", "62229", "62236", "62360"}},
    {TR_NOOP("Curves R1 (360mm)"), {"62107", "62115", "62130"}},
    {TR_NOOP("Curves R2 (437.5mm)"), {"62206", "62207", "62215", "62224", "62230"}},
    {TR_NOOP("Curves R3 (515mm)"), {"62315", "62330"}},
    {TR_NOOP("Curves R9 (1114.6mm)"), {"62912"}},
    {TR_NOOP("Switches"), {"62611", "62612", "62671", "62672", "62630"}},
    {TR_NOOP("Double Slip Switches"), {"62624"}},
    {TR_NOOP("Other"), {"62977", "62997"}},
    {TR_NOOP("Bridges"), {"62636", "62620", "62623", "62613"}},
};

const std::vector<PaletteGroup> kMarklinZGroups = {
    {TR_NOOP("Straights"), {"8500", "8501", "8502", "8503", "8504", "8505", "8506", "8507"}},
    {TR_NOOP("Curves R1 (145mm)"), {"8510", "8511"}},
    {TR_NOOP("Curves R2 (195mm)"), {"8520", "8521", "8529"}},
    {TR_NOOP("Curves R3 (220mm)"), {"8530", "8531", "8539"}},
    {TR_NOOP("Turnout Branch Curve"), {"8591"}},
    {TR_NOOP("Turnouts"), {"8562", "8563", "8565", "8566"}},
    {TR_NOOP("Curved Turnouts"), {"8568", "8569"}},
    {TR_NOOP("Crossings"), {"8559", "8560"}},
    {TR_NOOP("Other"), {"8587", "8588", "8590", "8598", "8991"}},
    {TR_NOOP("Bridges"), {"8975", "89759", "8976", "8977"}},
};

const std::vector<PaletteGroup> kMinitrixNGroups = {
    {TR_NOOP("Straights"),
     {"14902", "14904", "14905", "14906", "14907", "14908", "14909", "14903", "14901", "14975"}},
    {TR_NOOP("Curves R1 (194.6mm)"), {"14912", "14914", "14916", "14972"}},
    {TR_NOOP("Curves R2 (228.2mm)"), {"14922", "14924", "14926"}},
    {TR_NOOP("Curves R3 to R6"), {"14917", "14927", "14918", "14928"}},
    {TR_NOOP("Turnouts"), {"14961", "14963", "14936", "14937", "14940"}},
    {TR_NOOP("Curved Turnouts"), {"14966", "14967", "14970", "14971"}},
    {TR_NOOP("Crossings"), {"14958", "14973"}},
    {TR_NOOP("Double Slip Switches"), {"14968", "14960"}},
    {TR_NOOP("Other"), {"14979", "14980", "14969", "14974", "14991", "14976"}},
};

const std::vector<PaletteGroup> kKatoNGroups = {
    {TR_NOOP("Straights"),
     {"20-000", "20-010", "20-020", "20-030", "20-040", "20-091A", "20-091B", "20-092A",
      "20-092B", "S60L", "S60R", "S45.5", "20-050", "20-875"}},
    {TR_NOOP("Special Track"),
     {"20-041", "20-045", "20-021", "20-032", "20-015", "20-016", "20-605-1", "20-285"}},
    {TR_NOOP("Curves"),
     {"20-176", "20-174", "20-172", "20-170", "20-171", "20-100", "20-101", "20-110", "20-111",
      "20-120", "20-121", "20-130", "20-132", "20-140", "20-141", "20-160", "20-150"}},
    {TR_NOOP("Turnouts"), {"20-202", "20-203", "20-220", "20-221", "20-240", "20-241", "20-222"}},
    {TR_NOOP("Crossovers"), {"20-210", "20-230", "20-231"}},
    {TR_NOOP("Crossings"), {"20-300", "20-301", "20-320"}},
    {TR_NOOP("Double Track"), {"20-004", "20-012", "20-023", "20-042", "20-043"}},
    {TR_NOOP("Bumpers"), {"20-060", "20-063", "20-064"}},
    {TR_NOOP("Bridges"),
     {"20-400", "20-410", "20-420", "20-421", "20-440", "20-505", "20-510", "20-520", "20-530",
      "20-531", "20-540", "20-401", "20-411", "20-422"}},
};

const std::vector<PaletteGroup> kNoGroups;

bool InRange(int index) { return index >= 0 && index < kPaletteSystemCount; }

}  // namespace

std::string PaletteSystemName(int index) {
    // Also the library folders' names (LibraryFolderName): translated only where shown.
    static const char* const kNames[kPaletteSystemCount] = {
        TR_NOOP("Marklin C-Track"), TR_NOOP("Marklin K-Track"), TR_NOOP("TRIX C-Track"),
        TR_NOOP("Marklin Z-Track"), "Minitrix", "Kato N"};
    return InRange(index) ? kNames[index] : std::string();
}

TrackSystem PaletteCatalogSystem(int index) {
    static const TrackSystem kSystems[kPaletteSystemCount] = {
        TrackSystem::MarklinC, TrackSystem::MarklinK,   TrackSystem::TrixC,
        TrackSystem::MarklinZ, TrackSystem::MinitrixN, TrackSystem::KatoN};
    return InRange(index) ? kSystems[index] : TrackSystem::MarklinC;
}

const std::vector<PaletteGroup>& PaletteGroups(int index) {
    switch (index) {
        case 0:
            return kMarklinCGroups;
        case 1:
            return kMarklinKGroups;
        case 2:
            return kTrixCGroups;
        case 3:
            return kMarklinZGroups;
        case 4:
            return kMinitrixNGroups;
        case 5:
            return kKatoNGroups;
        default:
            return kNoGroups;
    }
}

bool PaletteListsHelices(int index) { return index == 0; }
