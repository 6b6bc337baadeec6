// Knowing a file or folder by what it is rather than by how its path is spelled.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <wx/string.h>

// Its device and inode.
using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;

// The identity of what the path names, links followed; none when it cannot be reached.
std::optional<FileIdentity> IdentifyFile(const wxString& path);
