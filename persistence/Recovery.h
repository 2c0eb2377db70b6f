// Crash recovery: the unsaved layout written aside while the program runs, and the files that a
// run which ended without saving left behind, found again at the next start.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/LayoutDocument.h"

// What a recovery file says beside the document.
struct RecoveryInfo {
    std::string layoutName;  // UTF-8, as in the layout file
    std::string filePath;    // the layout's own file; empty when it was never saved
    int32_t pid = 0;         // the process that wrote it
};

// The text of a recovery file: the layout file's text, then one line
// <recovery pid="..." path="..."/>, so that a file cut short anywhere is recognised.
std::string RecoveryToText(const LayoutDocument& doc, const RecoveryInfo& info);

// Reads the text of a recovery file into `doc` (best a fresh document) and `info`. Errors: the
// layout reader's ("Line <n>: ..."), or "Line <n>: missing <recovery> at the end of the file" for
// a file that does not end in its recovery line, or a fault of that line. On error `doc` and
// `info` are left as they were.
std::string LoadRecoveryFromText(std::string_view text, LayoutDocument* doc, RecoveryInfo* info);
// The same for a file ("Cannot open file: <path>" when it cannot be opened).
std::string LoadRecovery(const std::string& path, LayoutDocument* doc, RecoveryInfo* info);

// The question that offers a recovery file to the user, and the name it uses: the layout's name,
// else its file's name without folder and ".xml", else "Untitled".
std::string RecoveryDisplayName(const RecoveryInfo& info);
std::string RecoveryQuestion(const RecoveryInfo& info);

// The recovery file of one running instance: "recovery-<pid>.xml" in the folder (or
// "recovery-<pid>-<n>.xml" when that name is taken), beside a lock file "recovery-<pid>.lock" that
// the instance holds locked while it runs. The system drops the lock when the process ends in any
// way, so a recovery file whose lock is free was left by an instance that no longer runs.
class RecoverySlot {
public:
    RecoverySlot() = default;
    // A normal end: the recovery file and the lock file go.
    ~RecoverySlot() { Release(); }
    RecoverySlot(const RecoverySlot&) = delete;
    RecoverySlot& operator=(const RecoverySlot&) = delete;

    // Takes a free slot in `folder` (created if missing) for process `pid`. Returns "" or the
    // reason why there is no slot; without one, nothing is ever written.
    std::string Claim(const std::string& folder, int32_t pid);
    bool Claimed() const { return lockFd_ >= 0; }
    // The recovery file's path (whether or not it exists); empty without a slot.
    const std::string& FilePath() const { return filePath_; }

    // The document changed: the next Tick writes it, if it is then modified.
    void NoteChange() { changed_ = true; }
    // The timer's work: writes the recovery file through the atomic writer when the layout is
    // modified and changed since the last write. "" when written or nothing was due; otherwise
    // the writer's error, and the write is tried again at the next tick.
    std::string Tick(const LayoutDocument& doc, const std::string& layoutName,
                     const std::string& layoutPath, bool modified);
    // Writes now, whatever changed.
    std::string Write(const LayoutDocument& doc, const std::string& layoutName,
                      const std::string& layoutPath);
    // The layout was saved or its changes dropped: the recovery file goes; the next change and
    // tick write a new one.
    void Remove();
    // Ends the slot: the recovery file and the lock file go, the lock is released.
    void Release();

private:
    std::string filePath_;
    std::string lockPath_;
    int lockFd_ = -1;
    int32_t pid_ = 0;
    bool changed_ = false;
};

// A recovery file left by an instance that no longer runs. While this object lives it holds that
// instance's lock, so that no other instance offers the same file at the same time.
class OrphanedRecovery {
public:
    OrphanedRecovery(std::string filePath, std::string lockPath, int lockFd)
        : filePath_(std::move(filePath)), lockPath_(std::move(lockPath)), lockFd_(lockFd) {}
    ~OrphanedRecovery();
    OrphanedRecovery(OrphanedRecovery&& other) noexcept;
    OrphanedRecovery& operator=(OrphanedRecovery&& other) noexcept;
    OrphanedRecovery(const OrphanedRecovery&) = delete;
    OrphanedRecovery& operator=(const OrphanedRecovery&) = delete;

    const std::string& FilePath() const { return filePath_; }
    // Reads it (see LoadRecovery).
    std::string Load(LayoutDocument* doc, RecoveryInfo* info) const;
    // Deletes the file and its lock file: the user declined it, or it was taken over.
    void Discard();
    // Renames the file to a free name "unreadable-recovery-<...>.xml" in the same folder, which
    // is never offered again, and deletes the lock file. Returns the new path; empty when the
    // file could not be renamed (it stays and is offered again at the next start).
    std::string KeepAside();

private:
    void Unlock();

    std::string filePath_;
    std::string lockPath_;
    int lockFd_ = -1;
};

// The recovery files in `folder` whose instances no longer run, newest first. Files of running
// instances (the caller's own slot among them) are left alone.
std::vector<OrphanedRecovery> FindOrphanedRecoveries(const std::string& folder);
