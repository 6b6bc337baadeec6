// Reads an open file in chunks into one buffer reused from file to file, keeping the
// unfinished tail of the previous chunk, so that a file of any size is counted in bounded
// memory and without mapping it (a mapped file truncated by another program would kill
// the process). Only a line longer than a chunk needs more: about its own length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

class ChunkReader {
public:
    static constexpr std::size_t DEFAULT_CHUNK = 1 << 20;

    // Reads at most `size` bytes of the file: what it held when it was opened.
    ChunkReader(int fd, std::uint64_t size, std::size_t chunk = DEFAULT_CHUNK)
        : m_fd(fd), m_remaining(size), m_chunk(chunk ? chunk : 1) {}
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;
    ~ChunkReader();

    // While one lives, goOn runs on this thread before each chunk of a file but its first; when
    // it returns false the file is read no further. A large file then keeps the window alive.
    class BetweenChunks {
    public:
        explicit BetweenChunks(std::function<bool()> goOn);
        BetweenChunks(const BetweenChunks&) = delete;
        BetweenChunks& operator=(const BetweenChunks&) = delete;
        ~BetweenChunks();

    private:
        std::function<bool()> m_goOn;
        std::function<bool()>* m_previous;
    };

    // Work on bytes already read that can take as long as reading many chunks (a giant line
    // classified once it is read) runs the same check after each chunk's worth, so that it
    // holds up the window no longer than reading does. False when the check says stop.
    static bool CheckBetweenChunks();

    // Keeps the bytes from keep to end at the front of the buffer (moving them there unless
    // they start it already) and reads at most one chunk behind them; keep and end then
    // describe the new data. However long the kept line, each call reads one chunk, so the
    // check between chunks comes every chunk. False when nothing more could be read: the end
    // of the file, a stop, or a failure; keep and end then still describe the kept bytes.
    bool Refill(const char*& keep, const char*& end);

    // A read or an allocation failed: the lines seen so far are not the whole file.
    bool Failed() const { return m_failed; }
    // The check between chunks ended the reading: the lines seen so far are not the whole file.
    bool Stopped() const { return m_stopped; }

private:
    int m_fd;
    std::uint64_t m_remaining;
    std::size_t m_chunk;
    bool m_failed = false;
    bool m_stopped = false;
    bool m_started = false;
};
