#include "linebuffer.h"

LineBuffer::LineBuffer(std::string_view text)
{
    m_hardLines.clear();
    for (;;) {
        const std::size_t end = text.find("\r\n");
        m_hardLines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 2);
    }
}

int LineBuffer::count() const
{
    const int size = static_cast<int>(m_hardLines.size());
    return m_hardLines.back().empty() ? size - 1 : size;
}

std::string LineBuffer::line(int i) const
{
    if (i < 0 || i >= count())
        return {};
    return m_hardLines[static_cast<std::size_t>(i)];
}

void LineBuffer::insert(int i, std::string_view s)
{
    const int size = static_cast<int>(m_hardLines.size());
    if (i < 0)
        return;
    if (i < size) {
        // The empty line after a final break exists too: inserting there keeps the break.
        m_hardLines.emplace(m_hardLines.begin() + i, s);
    } else if (i == size && !m_hardLines.back().empty()) {
        // After a last line without a break: the break goes in front of s, not after it.
        m_hardLines.emplace_back(s);
    } else {
        return;
    }
    ++m_changes;
}

void LineBuffer::remove(int i)
{
    const int size = static_cast<int>(m_hardLines.size());
    if (i < 0 || i >= size)
        return;
    if (i + 1 < size) {
        m_hardLines.erase(m_hardLines.begin() + i);
    } else {
        // The last line loses its characters only; the break in front of it stays.
        std::string &last = m_hardLines.back();
        if (last.empty())
            return;
        last.clear();
    }
    ++m_changes;
}

std::string LineBuffer::text() const
{
    std::size_t size = 0;
    for (const std::string &line : m_hardLines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string &line : m_hardLines) {
        if (&line != &m_hardLines.front())
            text += "\r\n";
        text += line;
    }
    return text;
}
