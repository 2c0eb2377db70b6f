// Where layouts and samples live, for a build-folder run and an installed one.
#include "app/ProgramFolders.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string InstalledShareFolder(const std::string& executableDir) {
    return (fs::path(executableDir) / ".." / "share" / "quillmore").lexically_normal().string();
}

ProgramFolders ResolveProgramFolders(const std::string& executableDir,
                                     const std::string& documentsDir) {
    ProgramFolders folders;
    const fs::path share = InstalledShareFolder(executableDir);
    std::error_code error;
    if (fs::is_directory(share / "samples", error)) {
        folders.installed = true;
        folders.samples = (share / "samples").string();
        folders.layouts = (fs::path(documentsDir) / "Quillmore").string();
    } else {
        folders.layouts = executableDir;
        folders.samples = executableDir;
    }
    return folders;
}

std::string PrepareLayoutsFolder(const ProgramFolders& folders) {
    std::error_code error;
    if (fs::exists(folders.layouts, error)) return "";
    if (!fs::create_directories(folders.layouts, error)) {
        return "Cannot create folder: " + folders.layouts;
    }
    if (folders.samples == folders.layouts) return "";
    for (const fs::directory_entry& entry : fs::directory_iterator(folders.samples, error)) {
        if (!entry.is_regular_file(error) || entry.path().extension() != ".xml") continue;
        fs::copy_file(entry.path(), fs::path(folders.layouts) / entry.path().filename(),
                      fs::copy_options::skip_existing, error);
        if (error) return "Cannot copy " + entry.path().filename().string() + " to " +
                          folders.layouts;
    }
    return "";
}
