// The owner's box of track: how many of each article they already have, and its CSV file.
#pragma once

#include <map>
#include <string>
#include <string_view>

// Article number -> number owned. Only articles with at least one piece are kept, so an empty
// map is an empty box. Articles the catalog does not know are kept like any other.
struct TrackBox {
    std::map<std::string, int> counts;

    int Owned(const std::string& article) const;
    bool Empty() const { return counts.empty(); }
    // Sets the count of an article; 0 or less removes it.
    void Set(const std::string& article, int count);
    // Adds another box's counts to these, each sum held at kMaxOwnedCount.
    void Add(const TrackBox& other);
    bool operator==(const TrackBox&) const = default;
};

// The box file: per user, beside the logs.
inline constexpr char kTrackBoxFileName[] = "my-track.csv";
inline constexpr char kTrackBoxHeader[] = "Article,Count";
// A count beyond this is a typing slip, not a box of track; larger numbers are refused.
inline constexpr int kMaxOwnedCount = 100000;

// Reads the box at `path`. All or nothing: on any error `box` stays as it was. Errors: "Cannot
// open file: <path>", "Cannot read file: <path>", or "Line <n>: ..." for a refused row.
std::string LoadTrackBox(const std::string& path, TrackBox& box);
// Writes the box to `path` as a whole (temporary file, sync, rename), header first, then one
// row per article in ascending order. Returns "" or the writer's error text.
std::string SaveTrackBox(const std::string& path, const TrackBox& box);

// The reader behind LoadTrackBox, on the file's text. What spreadsheet programs write is
// accepted: a byte order mark, CRLF or CR line ends, quoted fields, blank rows, ';' instead of
// ',' between fields (decided by the first row), columns after Count (ignored), a missing header
// row. An article listed twice counts the sum of its rows.
std::string ParseTrackBox(std::string_view text, TrackBox& box);
// The exact text SaveTrackBox writes.
std::string TrackBoxToText(const TrackBox& box);
