#include "questionindex.h"

#include <algorithm>

std::vector<std::string> questionEntries(const Lines &lines)
{
    std::vector<std::string> entries{lines.line(0)};
    const int count = lines.count();
    for (int i = 0; i < count; ++i) {
        // The heading line is tested in its turn as well: when it is a separator itself it
        // opens the next entry, so entries and blocks are counted alike.
        if (isBlockSeparator(lines.line(i)))
            entries.push_back(lines.line(i + 1));
    }
    return entries;
}

void QuestionIndex::rebuild(const Lines &lines)
{
    const int oldCount = entryCount();
    m_separators.clear();
    const int count = lines.count();
    for (int i = 0; i < count; ++i) {
        if (isBlockSeparator(lines.line(i)))
            m_separators.push_back(i);
    }
    m_lastChange = {0, oldCount, entryCount()};
    ++m_revision;
}

void QuestionIndex::rebuild(std::string_view text)
{
    const int oldCount = entryCount();
    m_separators.clear();
    int i = 0;
    for (std::size_t start = 0; start < text.size(); ++i) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (isBlockSeparator(text.substr(start, end - start)))
            m_separators.push_back(i);
        start = end + 2;
    }
    m_lastChange = {0, oldCount, entryCount()};
    ++m_revision;
}

EntryChange QuestionIndex::update(const Lines &lines, int first, int removed, int added)
{
    if (first < 0 || removed < 0 || added < 0) {
        // Not a change that can be followed line by line: start over.
        rebuild(lines);
        return m_lastChange;
    }
    ++m_revision;
    if (removed == 0 && added == 0) {
        m_lastChange = {};
        return m_lastChange;
    }

    // Separators [touched, after) lose their entries: those among the replaced lines, and
    // the one just before them, whose heading is the first replaced line.
    const auto position = [this](int line) {
        const auto it = std::lower_bound(m_separators.begin(), m_separators.end(), line);
        return static_cast<int>(it - m_separators.begin());
    };
    const int touched = position(std::max(first - 1, 0));
    const int replacedFrom = position(first);
    const int after = position(first + removed);

    std::vector<int> found;
    for (int i = first; i < first + added; ++i) {
        if (isBlockSeparator(lines.line(i)))
            found.push_back(i);
    }
    if (added != removed) {
        for (auto it = m_separators.begin() + after; it != m_separators.end(); ++it)
            *it += added - removed;
    }
    m_separators.erase(m_separators.begin() + replacedFrom, m_separators.begin() + after);
    m_separators.insert(m_separators.begin() + replacedFrom, found.begin(), found.end());

    // Entry k + 1 belongs to separator k. Entry 0 is line 0, changed only when the change
    // begins there, in which case touched is 0 and the rows run on from it.
    const int firstEntry = first == 0 ? 0 : touched + 1;
    const int oldEnd = after + 1;
    const int newEnd = replacedFrom + static_cast<int>(found.size()) + 1;
    m_lastChange = {firstEntry, oldEnd - firstEntry, newEnd - firstEntry};
    return m_lastChange;
}

std::string QuestionIndex::entry(const Lines &lines, int k) const
{
    if (k == 0)
        return lines.line(0);
    if (k < 0 || k >= entryCount())
        return {};
    return lines.line(m_separators[static_cast<std::size_t>(k - 1)] + 1);
}

std::optional<int> QuestionIndex::separatorLine(int k) const
{
    if (k < 1 || k >= entryCount())
        return std::nullopt;
    return m_separators[static_cast<std::size_t>(k - 1)];
}
