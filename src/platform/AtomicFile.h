// Replaces a file's contents so that a crash or a full disk never leaves it half written.
#pragma once

#include <chrono>
#include <cstddef>
#include <wx/string.h>

// Writes the bytes to a temporary file beside the target, flushes it to disk and renames
// it over the target. Symbolic links are followed to the file they name, as many as the
// system follows (40), which is created if a link dangles. False when any step fails or the
// target is read-only; the target is then unchanged. The rename replaces only a regular
// file, or takes a name where there is nothing, as the target is right before it. A device
// or a FIFO is written in place and never replaced, as a shell redirection does (a FIFO
// without a reader fails at once); a folder or a socket is refused. A path that names one of
// the program's open descriptors, however spelled (/dev/stdout, /dev/fd/N, /proc/self/fd/N,
// /proc/thread-self/fd/N, /proc/<pid>/task/<tid>/fd/N of any of its threads, a link to one),
// is written through it at its present position, whatever it is; one open for reading only
// fails at once. A reader that takes nothing for stalledReader fails the write.
bool WriteFileAtomically(const wxString& path, const void* data, std::size_t size,
                         std::chrono::milliseconds stalledReader = std::chrono::seconds(10));
