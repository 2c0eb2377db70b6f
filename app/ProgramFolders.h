// Where layouts, library blocks and sample layouts live, for a program run from its build folder
// and for one installed under a prefix.
#pragma once

#include <string>
#include <vector>

struct ProgramFolders {
    // Where Open lists layouts, the first save writes and the "library" folder lives.
    std::string layouts;
    // Where the sample layouts that come with the program are.
    std::string samples;
    // True when run from an installation (prefix/bin with prefix/share/quillmore beside it).
    bool installed = false;
};

// The share folder of an installation whose executable is in `executableDir`:
// executableDir/../share/quillmore.
std::string InstalledShareFolder(const std::string& executableDir);

// The folders for an executable in `executableDir`. Installed, the layouts go to
// `documentsDir`/Quillmore (never into the installation) and the samples are in the share folder;
// otherwise both are the executable's folder, where the build puts the samples.
ProgramFolders ResolveProgramFolders(const std::string& executableDir,
                                     const std::string& documentsDir);

// Makes the layouts folder when it is missing and then copies the sample layouts into it, so
// that Open lists them on the first start. An existing folder is left as it is, so a sample the
// user deleted does not come back. Returns an error text, empty on success.
std::string PrepareLayoutsFolder(const ProgramFolders& folders);
