#include "lines.h"

#include "questionindex.h"

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
