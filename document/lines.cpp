#include "lines.h"

#include "questionindex.h"

std::vector<std::string> allLines(const Lines &lines)
{
    std::vector<std::string> result;
    result.reserve(static_cast<std::size_t>(lines.count()));
    for (int i = 0; i < lines.count(); ++i)
        result.push_back(lines.line(i));
    return result;
}

void appendLines(Lines &lines, const std::vector<std::string> &added)
{
    for (const std::string &line : added)
        lines.append(line);
}

std::optional<int> Lines::findSeparator(int k) const
{
    if (k < 1)
        return std::nullopt;
    int separators = 0;
    const int lineCount = count();
    for (int i = 0; i < lineCount; ++i) {
        if (isBlockSeparator(line(i)) && ++separators == k)
            return i;
    }
    return std::nullopt;
}
