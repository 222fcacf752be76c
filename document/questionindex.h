#pragma once

#include "lines.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view BlockSeparator =
    "--------------------------------------------------------------------------------";
inline constexpr std::string_view AnswerDivider = "---";

inline bool isBlockSeparator(std::string_view line) { return line == BlockSeparator; }
inline bool isAnswerDivider(std::string_view line) { return line == AnswerDivider; }

// The question index from scratch: line 0, then the line after each block separator line.
// Every separator opens an entry, also one that directly follows another, so that entry k
// is always block k.
std::vector<std::string> questionEntries(const Lines &lines);

// Entries [first, first + removed) of the index before a change became entries
// [first, first + added) after it; the others kept their text.
struct EntryChange
{
    int first = 0;
    int removed = 0;
    int added = 0;

    friend bool operator==(const EntryChange &, const EntryChange &) = default;
};

// The question index kept in step with a text by the lines each change touched, so that a
// change costs what it touched rather than a scan of the whole text. Its entries always
// equal questionEntries() of the text it follows.
class QuestionIndex
{
public:
    // Finds the separators anew in lines, or in CR LF separated text.
    void rebuild(const Lines &lines);
    void rebuild(std::string_view text);

    // Lines [first, first + removed) of the old text were replaced by lines
    // [first, first + added) of lines, which is the text after the change.
    EntryChange update(const Lines &lines, int first, int removed, int added);

    int entryCount() const { return static_cast<int>(m_separators.size()) + 1; }
    // The line of the k-th separator, as Lines::findSeparator() gives it.
    std::optional<int> separatorLine(int k) const;
    // Entry k of the index over lines; "" for k out of range.
    std::string entry(const Lines &lines, int k) const;

    // Counts rebuilds and updates, so that a follower can tell whether lastChange() is the
    // only change it missed.
    int revision() const { return m_revision; }
    EntryChange lastChange() const { return m_lastChange; }

private:
    std::vector<int> m_separators;
    int m_revision = 0;
    EntryChange m_lastChange;
};
