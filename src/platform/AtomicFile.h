// Replaces a file's contents so that a crash or a full disk never leaves it half written.
#pragma once

#include <chrono>
#include <cstddef>
#include <wx/string.h>

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames
// it over the target. Symbolic links are followed to the file they name, which is created
// if a link dangles. False when any step fails or the target is read-only; the target is
// then unchanged. A device or a FIFO is written in place and never replaced, as a shell
// redirection does (a FIFO without a reader fails at once); a folder or a socket is refused.
// A path that names one of the program's open descriptors (/dev/stdout, /dev/fd/N) is written
// through it at its present position, whatever it is. A reader that takes nothing for
// stalledReader fails the write.
bool WriteFileAtomically(const wxString& path, const void* data, std::size_t size,
                         std::chrono::milliseconds stalledReader = std::chrono::seconds(10));
