// Chunked reading of source files.
#include "ChunkReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
// One buffer per thread, reused from file to file. It is grown with realloc, which for a
// large block moves pages rather than bytes, so that a giant line is not copied at each step.
struct Buffer {
    char* data = nullptr;
    std::size_t size = 0;

    Buffer() = default;
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    ~Buffer() { std::free(data); }

    bool Grow(std::size_t to) {
        char* grown = static_cast<char*>(std::realloc(data, to));
        if (!grown)
            return false;
        data = grown;
        size = to;
        return true;
    }
    void Release() {
        std::free(data);
        data = nullptr;
        size = 0;
    }
};

Buffer& TheBuffer() {
    thread_local Buffer buffer;
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

bool ChunkReader::CheckBetweenChunks() {
    return !g_betweenChunks || (*g_betweenChunks)();
}

ChunkReader::~ChunkReader() {
    // A file with a giant line does not keep its memory for the rest of the run.
    if (TheBuffer().size > 16 * DEFAULT_CHUNK)
        TheBuffer().Release();
}

bool ChunkReader::Refill(const char*& keep, const char*& end) {
    if (m_remaining == 0 || m_failed)
        return false;
    if (m_started && !CheckBetweenChunks()) {
        m_remaining = 0;
        m_stopped = true;
        return false;
    }
    m_started = true;
    Buffer& buffer = TheBuffer();
    // The kept bytes lie in the buffer itself, which may move when it grows.
    const std::size_t kept = keep ? static_cast<std::size_t>(end - keep) : 0;
    const std::size_t offset = keep ? static_cast<std::size_t>(keep - buffer.data) : 0;
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(m_remaining, m_chunk));
    // Only the tail of the last chunk moves: a line kept at the front stays there, and a byte
    // is moved at most once.
    if (offset > 0)
        std::memmove(buffer.data, buffer.data + offset, kept);
    if (buffer.size < kept + want) {
        // At least a chunk; behind a long line it doubles, but never beyond what the file
        // can still add to the line.
        std::uint64_t to = std::max<std::uint64_t>(2 * buffer.size, m_chunk);
        if (to > m_chunk)
            to = std::min<std::uint64_t>(to, kept + m_remaining);
        to = std::max<std::uint64_t>(to, kept + want);
        if (to > SIZE_MAX || !buffer.Grow(static_cast<std::size_t>(to))) {
            keep = buffer.data;
            end = keep + kept;
            m_failed = true;
            return false;
        }
    }
    keep = buffer.data;
    end = keep + kept;
    ssize_t got;
    do
        got = read(m_fd, buffer.data + kept, want);
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
