// Chunked reading of source files.
#include "ChunkReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {
std::vector<char>& Buffer() {
    thread_local std::vector<char> buffer;
    return buffer;
}

thread_local std::function<bool()>* g_betweenChunks = nullptr;
} // namespace

ChunkReader::BetweenChunks::BetweenChunks(std::function<bool()> goOn)
    : m_goOn(std::move(goOn)), m_previous(g_betweenChunks) {
    g_betweenChunks = &m_goOn;
}

ChunkReader::BetweenChunks::~BetweenChunks() {
    g_betweenChunks = m_previous;
}

ChunkReader::~ChunkReader() {
    // A file with a giant line does not keep its memory for the rest of the run.
    std::vector<char>& buffer = Buffer();
    if (buffer.size() > 16 * DEFAULT_CHUNK)
        std::vector<char>().swap(buffer);
}

bool ChunkReader::Refill(const char*& keep, const char*& end) {
    if (m_remaining == 0 || m_failed)
        return false;
    if (m_started && g_betweenChunks && !(*g_betweenChunks)()) {
        m_remaining = 0;
        return false;
    }
    m_started = true;
    std::vector<char>& buffer = Buffer();
    // The kept bytes lie in the buffer itself, which may move when it grows.
    const std::size_t kept = keep ? static_cast<std::size_t>(end - keep) : 0;
    const std::size_t offset = keep ? static_cast<std::size_t>(keep - buffer.data()) : 0;
    // Behind a long unfinished line, read as much again as is kept, so that a line of any
    // length is moved and searched a bounded number of times per byte.
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(m_remaining, std::max(m_chunk, kept)));
    try {
        // Grows only for a line longer than a chunk; the same buffer serves every file.
        if (buffer.size() < kept + want)
            buffer.resize(kept + want);
    } catch (const std::bad_alloc&) {
        m_failed = true;
        return false;
    } catch (const std::length_error&) {
        m_failed = true;
        return false;
    }
    std::memmove(buffer.data(), buffer.data() + offset, kept);
    keep = buffer.data();
    end = keep + kept;
    ssize_t got;
    do
        got = read(m_fd, buffer.data() + kept, want);
    while (got < 0 && errno == EINTR);
    if (got < 0)
        m_failed = true;
    if (got <= 0) {
        m_remaining = 0; // shrunk since it was opened, or unreadable
        return false;
    }
    m_remaining -= static_cast<std::uint64_t>(got);
    end += got;
    return true;
}
