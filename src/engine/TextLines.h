// A file's bytes seen as lines: CR LF, a lone LF and a lone CR each end a line, text after
// the last line end is one more line. Each byte is one ISO-8859-1 character.
#pragma once

#include <cstddef>
#include <cstring>
#include <iterator>
#include <string_view>

class TextLines {
public:
    TextLines() = default;
    TextLines(const char* data, std::size_t size) : m_text(data, size) {}
    explicit TextLines(std::string_view text) : m_text(text) {}

    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = const std::string_view*;
        using reference = const std::string_view&;

        const_iterator() = default;
        const_iterator(const char* pos, const char* end) : m_next(pos), m_end(end), m_done(false) {
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
            if (m_next == m_end) {
                m_done = true;
                return;
            }
            // memchr is far faster than a byte loop. The next LF is remembered, so a file
            // whose lines end in lone CRs is not searched to its end once per line.
            if (m_lf < m_next) {
                const void* lf =
                    std::memchr(m_next, '\n', static_cast<std::size_t>(m_end - m_next));
                m_lf = lf ? static_cast<const char*>(lf) : m_end;
            }
            const char* cr = static_cast<const char*>(
                std::memchr(m_next, '\r', static_cast<std::size_t>(m_lf - m_next)));
            const char* stop = cr ? cr : m_lf;
            m_line = std::string_view(m_next, static_cast<std::size_t>(stop - m_next));
            if (stop == m_end)
                m_next = m_end;
            else if (cr && (cr + 1 != m_lf || m_lf == m_end))
                m_next = cr + 1; // a lone CR
            else
                m_next = m_lf + 1; // LF or CR LF
        }

        const char* m_next = nullptr;
        const char* m_end = nullptr;
        const char* m_lf = nullptr; // the next LF at or after m_next, or m_end
        std::string_view m_line;
        bool m_done = true;
    };

    const_iterator begin() const {
        return const_iterator(m_text.data(), m_text.data() + m_text.size());
    }
    const_iterator end() const { return const_iterator(); }

    // Number of lines; walks the text.
    std::size_t LineCount() const;

    std::string_view Text() const { return m_text; }

private:
    std::string_view m_text;
};
