#pragma once

#include "lines.h"

#include <optional>
#include <string>
#include <vector>

// The question lines and the answer lines of a block, without its separator and divider.
struct Block
{
    std::vector<std::string> question;
    std::vector<std::string> answer;

    friend bool operator==(const Block &, const Block &) = default;
};

// The line index of the k-th block separator line, counting from line 0.
std::optional<int> LocateBlock(const Lines &lines, int k);

// Removes block k, line by line, up to the next separator or the end of the text. Returns
// the index at which it began.
std::optional<int> EraseBlock(Lines &lines, int k);

// Block k's question lines (up to the first divider or the next block) and answer lines
// (after that divider, when there is one).
std::optional<Block> ReadBlock(const Lines &lines, int k);

// Replaces block k by separator, question, divider and answer, inserted line by line where
// it began. Returns whether block k was found; when it was not, nothing changes.
bool WriteBlock(Lines &lines, int k, const Block &block);

// Adds the block after the last line. On an empty text an empty title line comes first,
// since no block may begin at line 0.
void AddBlock(Lines &lines, const Block &block);
