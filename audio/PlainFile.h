#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirelo {

// Files read through the system's own calls. The standard library's streams
// build every locale facet it has at their first use, and its file system
// calls bring code of their own: together some 380 KB of the library read
// into memory for a few files.

// The size of `path` when it is a regular file (links followed); nothing otherwise.
std::optional<std::uint64_t> RegularFileSize(const std::string& path);
// The first `count` bytes of regular file `path`, or the whole of it when
// `whole` (at most `count` bytes: a longer file gives nothing); nothing when
// it is shorter, not a regular file, or cannot be read.
std::optional<std::vector<std::uint8_t>> ReadRegularFile(const std::string& path, std::size_t count,
                                                         bool whole);
// The paths of the regular files in `folder` (links followed) whose names end
// in `extension`, compared without case, sorted; none when it cannot be read.
std::vector<std::string> RegularFilesIn(const std::string& folder, const std::string& extension);

} // namespace mirelo
