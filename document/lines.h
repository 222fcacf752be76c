#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The FAQ text as hard lines: what the question index and the block operations work on.
// Lines hold 8-bit text without line breaks. No operation fails: an index out of range
// reads as an empty line or changes nothing.
class Lines
{
public:
    virtual ~Lines() = default;

    // Hard lines, less one when the text ends with a line break (or is empty).
    virtual int count() const = 0;
    // The whole line; "" for i < 0 or i >= count().
    virtual std::string line(int i) const = 0;
    // Inserts s before line i. At i == count() s becomes the new last line, keeping whether
    // the text ends with a line break; beyond that nothing happens.
    virtual void insert(int i, std::string_view s) = 0;
    // Removes line i with its line break. Removing the last line of a text without a final
    // line break leaves the break in front of it.
    virtual void remove(int i) = 0;

    void append(std::string_view s) { insert(count(), s); }

    // The line of the k-th block separator line, counting every one from line 0; nothing
    // for k < 1 or past the last. This scans; a model that keeps its separators indexed
    // answers without reading the text.
    virtual std::optional<int> findSeparator(int k) const;
};

std::vector<std::string> allLines(const Lines &lines);
void appendLines(Lines &lines, const std::vector<std::string> &added);
