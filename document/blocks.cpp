#include "blocks.h"

#include "questionindex.h"

#include <ranges>

std::optional<int> LocateBlock(const Lines &lines, int k)
{
    return lines.findSeparator(k);
}

std::optional<int> EraseBlock(Lines &lines, int k)
{
    const std::optional<int> start = LocateBlock(lines, k);
    if (!start)
        return std::nullopt;
    const int s = *start;
    lines.remove(s);
    // Up to the next block's separator, which stays, or to the end of the text.
    while (!isBlockSeparator(lines.line(s)) && s < lines.count())
        lines.remove(s);
    return s;
}

std::optional<Block> ReadBlock(const Lines &lines, int k)
{
    const std::optional<int> start = LocateBlock(lines, k);
    if (!start)
        return std::nullopt;
    Block block;
    const int count = lines.count();
    int i = *start + 1;
    for (; i < count; ++i) {
        std::string line = lines.line(i);
        if (isAnswerDivider(line) || isBlockSeparator(line))
            break;
        block.question.push_back(std::move(line));
    }
    if (i < count && isAnswerDivider(lines.line(i))) {
        for (++i; i < count; ++i) {
            std::string line = lines.line(i);
            if (isBlockSeparator(line))
                break;
            block.answer.push_back(std::move(line));
        }
    }
    return block;
}

bool WriteBlock(Lines &lines, int k, const Block &block)
{
    const std::optional<int> start = EraseBlock(lines, k);
    if (!start)
        return false;
    // Each line goes in at the same index, in front of the ones inserted before it, so the
    // block is inserted back to front.
    for (const std::string &line : std::views::reverse(block.answer))
        lines.insert(*start, line);
    lines.insert(*start, AnswerDivider);
    for (const std::string &line : std::views::reverse(block.question))
        lines.insert(*start, line);
    lines.insert(*start, BlockSeparator);
    return true;
}

void AddBlock(Lines &lines, const Block &block)
{
    if (lines.count() == 0)
        lines.append("");
    lines.append(BlockSeparator);
    for (const std::string &line : block.question)
        lines.append(line);
    lines.append(AnswerDivider);
    for (const std::string &line : block.answer)
        lines.append(line);
}
