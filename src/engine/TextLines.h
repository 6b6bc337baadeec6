// A file's bytes seen as lines: CR LF, a lone LF and a lone CR each end a line, text after
// the last line end is one more line. Each byte is one ISO-8859-1 character.
#pragma once

#include "ChunkReader.h"

#include <cstddef>
#include <cstring>
#include <iterator>
#include <string_view>

class TextLines {
public:
    TextLines() = default;
    TextLines(const char* data, std::size_t size) : m_text(data, size) {}
    explicit TextLines(std::string_view text) : m_text(text) {}
    // The lines of a file read through the reader; they can be walked once.
    explicit TextLines(ChunkReader& reader) : m_reader(&reader) {}

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = const std::string_view&;

        const_iterator() = default;
        const_iterator(const char* pos, const char* end, ChunkReader* reader)
            : m_next(pos), m_end(end), m_reader(reader), m_done(false) {
            Advance();
        }

        reference operator*() const { return m_line; }
        pointer operator->() const { return &m_line; }
        const_iterator& operator++() {
            Advance();
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            Advance();
            return old;
        }
        bool operator==(const const_iterator& other) const {
            return m_done == other.m_done && (m_done || m_line.data() == other.m_line.data());
        }
        bool operator!=(const const_iterator& other) const { return !(*this == other); }

    private:
        void Advance() {
            std::size_t searched = 0; // bytes from m_next that hold no CR and no LF
            for (;;) {
                if (m_next == m_end && !MoreData()) {
                    m_done = true;
                    return;
                }
                // memchr is far faster than a byte loop. The next LF is remembered, so a file
                // whose lines end in lone CRs is not searched to its end once per line; the
                // search goes on behind what it has seen of an unfinished line, so a line of
                // any length is searched once.
                const char* from = m_next + searched;
                if (!m_lf || m_lf < m_next) {
                    const void* lf =
                        std::memchr(from, '\n', static_cast<std::size_t>(m_end - from));
                    m_lf = lf ? static_cast<const char*>(lf) : m_end;
                }
                const char* cr = static_cast<const char*>(
                    std::memchr(from, '\r', static_cast<std::size_t>(m_lf - from)));
                const char* stop = cr ? cr : m_lf;
                // A line that runs to the end of the data, or a CR there that may begin a
                // CR LF, is decided only by the bytes that follow.
                if ((stop == m_end || (cr && cr + 1 == m_end)) && !m_exhausted) {
                    searched = static_cast<std::size_t>(stop - m_next);
                    MoreData(); // the data may move even when nothing more comes
                    continue;
                }
                m_line = std::string_view(m_next, static_cast<std::size_t>(stop - m_next));
                if (stop == m_end)
                    m_next = m_end;
                else if (cr && (cr + 1 != m_lf || m_lf == m_end))
                    m_next = cr + 1; // a lone CR
                else
                    m_next = m_lf + 1; // LF or CR LF
                return;
            }
        }

        // Reads on behind the current line. Its bytes move, so the remembered LF is dropped.
        bool MoreData() {
            if (m_exhausted)
                return false;
            m_lf = nullptr;
            if (!m_reader || !m_reader->Refill(m_next, m_end)) {
                m_exhausted = true;
                // A stop leaves the file unfinished: its last line is not worth classifying.
                if (m_reader && m_reader->Stopped())
                    m_next = m_end;
            }
            return !m_exhausted;
        }

        const char* m_next = nullptr;
        const char* m_end = nullptr;
        ChunkReader* m_reader = nullptr;
        bool m_exhausted = false;   // no more data will come
        const char* m_lf = nullptr; // the next LF at or after m_next, or m_end
        std::string_view m_line;
        bool m_done = true;
    };

    const_iterator begin() const {
        return const_iterator(m_text.data(), m_text.data() + m_text.size(), m_reader);
    }
    const_iterator end() const { return const_iterator(); }

    // Number of lines; walks the text.
    std::size_t LineCount() const;

private:
    std::string_view m_text;
    ChunkReader* m_reader = nullptr;
};
