// Writes the sample layouts into a folder: make_sample_layouts <folder>.
#include <cstdio>
#include <string>

#include "persistence/LayoutFile.h"
#include "resources/samples/SampleLayoutBuilder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    for (const SampleLayout& layout : BuildSampleLayouts()) {
        const std::string path = std::string(argv[1]) + "/" + layout.name + ".xml";
        const std::string error = SaveLayout(layout.doc, path, layout.name);
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
