// Recovery files: their text, the running instance's slot and lock, and the files left behind.
#include "persistence/Recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/Format.h"
#include "base/Translate.h"
#include "persistence/AtomicFile.h"
#include "persistence/FileElements.h"
#include "persistence/FileFields.h"
#include "persistence/LayoutFile.h"

namespace fs = std::filesystem;

namespace {

struct RecoveryElement {
    static constexpr std::string_view kTag = "recovery";
    template <class V, class I>
    static void Attributes(V& v, I& info) {
        v.Int("pid", info.pid, 1, kFileIntMax);
        v.Text("path", info.filePath);
    }
};

constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kSuffix = ".xml";

// "recovery-<digits>.xml" or "recovery-<digits>-<digits>.xml": the stem without ".xml", or empty.
std::string RecoveryStem(std::string_view fileName) {
    if (!fileName.starts_with(kPrefix) || !fileName.ends_with(kSuffix)) return {};
    std::string_view middle = fileName.substr(kPrefix.size());
    middle.remove_suffix(kSuffix.size());
    int dashes = 0;
    bool digitBefore = false;
    for (char c : middle) {
        if (c == '-') {
            if (!digitBefore || ++dashes > 1) return {};
            digitBefore = false;
        } else if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else {
            return {};
        }
    }
    if (!digitBefore) return {};
    fileName.remove_suffix(kSuffix.size());
    return std::string(fileName);
}

// Opens (creating it if needed) and locks a lock file without waiting: the descriptor, or -1 when
// another process holds the lock.
int TryLock(const std::string& lockPath) {
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::string RecoveryToText(const LayoutDocument& doc, const RecoveryInfo& info) {
    std::string text = LayoutToText(doc, info.layoutName);
    AppendElement<RecoveryElement>(text, "", "/>\n", info);
    return text;
}

std::string LoadRecoveryFromText(std::string_view text, LayoutDocument* doc, RecoveryInfo* info) {
    LayoutDocument read;
    RecoveryInfo found;
    std::string error = LoadLayoutFromText(read, text, &found.layoutName);
    if (!error.empty()) return error;

    // The recovery line is the last one, right after </layout>; what was cut short lacks it.
    TextLines lines(text);
    std::string_view line, previous, last;
    while (lines.Next(&line)) previous = last, last = line;
    const bool complete = text.ends_with("\n") && previous == "</layout>" &&
                          last.starts_with("<recovery ") && last.ends_with("/>");
    if (!complete)
        return Format(Tr("Line %d: missing <recovery> at the end of the file").c_str(),
                      lines.LineNumber() + 1);
    LineFields fields(last, lines.LineNumber(), RecoveryElement::kTag, &error);
    if (!ReadElement<RecoveryElement>(fields, FileReader::Layout, found)) return error;

    *doc = std::move(read);
    *info = std::move(found);
    return {};
}

std::string LoadRecovery(const std::string& path, LayoutDocument* doc, RecoveryInfo* info) {
    std::string error;
    int fd = OpenForReading(path, &error);
    if (fd < 0) return error;
    std::string text;
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return Format(Tr("Cannot read file: %s").c_str(), path.c_str());
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return LoadRecoveryFromText(text, doc, info);
}

std::string RecoveryDisplayName(const RecoveryInfo& info) {
    if (!info.layoutName.empty()) return info.layoutName;
    if (!info.filePath.empty()) {
        std::string name = fs::path(info.filePath).filename().string();
        if (name.ends_with(".xml")) name.resize(name.size() - 4);
        if (!name.empty()) return name;
    }
    return Tr("Untitled");
}

std::string RecoveryQuestion(const RecoveryInfo& info) {
    return Format(
        Tr("Quillmore was closed without saving \"%s\". Recover the unsaved changes?").c_str(),
        RecoveryDisplayName(info).c_str());
}

std::string RecoverySlot::Claim(const std::string& folder, int32_t pid) {
    Release();
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        return Format(Tr("Cannot open folder: %s").c_str(), folder.c_str());
    for (int n = 1; n < 1000; ++n) {
        std::string stem = folder + "/" + std::string(kPrefix) + std::to_string(pid);
        if (n > 1) stem += "-" + std::to_string(n);
        int fd = TryLock(stem + ".lock");
        if (fd < 0) continue;  // in use by a running instance, or not creatable
        // A recovery file already under this name was left by an earlier process with the same
        // id: it stays for the offer; this instance takes the next name.
        if (fs::exists(stem + ".xml", ec)) {
            ::close(fd);
            continue;
        }
        filePath_ = stem + ".xml";
        lockPath_ = stem + ".lock";
        lockFd_ = fd;
        pid_ = pid;
        changed_ = false;
        return {};
    }
    return Format(Tr("Cannot create a lock file in: %s").c_str(), folder.c_str());
}

std::string RecoverySlot::Tick(const LayoutDocument& doc, const std::string& layoutName,
                               const std::string& layoutPath, bool modified) {
    if (!Claimed() || !modified || !changed_) return {};
    return Write(doc, layoutName, layoutPath);
}

std::string RecoverySlot::Write(const LayoutDocument& doc, const std::string& layoutName,
                                const std::string& layoutPath) {
    if (!Claimed()) return {};
    std::string error =
        WriteFileAtomically(filePath_, RecoveryToText(doc, {layoutName, layoutPath, pid_}));
    if (error.empty()) changed_ = false;
    return error;
}

void RecoverySlot::Remove() {
    if (Claimed()) ::unlink(filePath_.c_str());
    changed_ = false;
}

void RecoverySlot::Release() {
    if (!Claimed()) return;
    // The recovery file goes first: a lock file without one is free to take.
    ::unlink(filePath_.c_str());
    ::unlink(lockPath_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
    filePath_.clear();
    lockPath_.clear();
}

OrphanedRecovery::~OrphanedRecovery() { Unlock(); }

OrphanedRecovery::OrphanedRecovery(OrphanedRecovery&& other) noexcept
    : filePath_(std::move(other.filePath_)),
      lockPath_(std::move(other.lockPath_)),
      lockFd_(std::exchange(other.lockFd_, -1)) {}

OrphanedRecovery& OrphanedRecovery::operator=(OrphanedRecovery&& other) noexcept {
    if (this != &other) {
        Unlock();
        filePath_ = std::move(other.filePath_);
        lockPath_ = std::move(other.lockPath_);
        lockFd_ = std::exchange(other.lockFd_, -1);
    }
    return *this;
}

void OrphanedRecovery::Unlock() {
    if (lockFd_ >= 0) ::close(lockFd_);
    lockFd_ = -1;
}

std::string OrphanedRecovery::Load(LayoutDocument* doc, RecoveryInfo* info) const {
    return LoadRecovery(filePath_, doc, info);
}

void OrphanedRecovery::Discard() {
    if (lockFd_ < 0) return;
    ::unlink(filePath_.c_str());
    ::unlink(lockPath_.c_str());
    Unlock();
}

std::string OrphanedRecovery::KeepAside() {
    if (lockFd_ < 0) return {};
    const fs::path file(filePath_);
    const std::string stem = file.stem().string();
    std::string kept;
    std::error_code ec;
    for (int n = 1; n < 1000 && kept.empty(); ++n) {
        fs::path candidate = file.parent_path() / ("unreadable-" + stem +
                                                   (n > 1 ? "-" + std::to_string(n) : "") + ".xml");
        // An earlier unreadable file of the same name is kept as well.
        if (fs::exists(candidate, ec)) continue;
        if (::rename(filePath_.c_str(), candidate.c_str()) != 0) break;
        kept = candidate.string();
    }
    if (kept.empty()) return {};
    ::unlink(lockPath_.c_str());
    Unlock();
    return kept;
}

std::vector<OrphanedRecovery> FindOrphanedRecoveries(const std::string& folder) {
    struct Found {
        fs::file_time_type time;
        OrphanedRecovery recovery;
    };
    std::vector<Found> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string stem = RecoveryStem(it->path().filename().string());
        if (stem.empty() || !it->is_regular_file(ec)) continue;
        const std::string file = (fs::path(folder) / stem).string();
        int fd = TryLock(file + ".lock");
        if (fd < 0) continue;  // its instance still runs
        // Another instance may have dealt with it between the listing and the lock.
        const auto time = fs::last_write_time(file + ".xml", ec);
        if (ec) {
            ::unlink((file + ".lock").c_str());
            ::close(fd);
            ec.clear();
            continue;
        }
        found.push_back({time, OrphanedRecovery(file + ".xml", file + ".lock", fd)});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.time > b.time; });
    std::vector<OrphanedRecovery> result;
    for (Found& f : found) result.push_back(std::move(f.recovery));
    return result;
}
