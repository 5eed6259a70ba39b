// Positions in a file of any size (a log of several gigabytes included,
// where the C library's long offsets stop at 2 GiB on Windows), and the size
// of a file as its open handle sees it: the directory entry of a file that
// another program holds open for writing can lag behind on Windows and on
// network shares.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>

namespace varisift {

// Places the file at byte offset from its start; false when it cannot.
bool seek_to(std::FILE* file, std::uint64_t offset);

// The file's size now, found by seeking to its end (the position afterwards
// is that end); nothing when the file cannot be positioned.
std::optional<std::uint64_t> size_now(std::FILE* file);

}  // namespace varisift
