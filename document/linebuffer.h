#pragma once

#include "lines.h"

#include <string>
#include <vector>

// An in-memory FAQ text with the same line rules as the text area.
class LineBuffer : public Lines
{
public:
    LineBuffer() = default;
    // text: CR LF separated bytes, as a loaded file holds them.
    explicit LineBuffer(std::string_view text);

    int count() const override;
    std::string line(int i) const override;
    void insert(int i, std::string_view s) override;
    void remove(int i) override;

    // The whole text, CR LF between lines.
    std::string text() const;
    // How many insert and remove calls changed the text.
    int changes() const { return m_changes; }

private:
    // Like the text area's paragraphs: never empty, and an empty last one after a final
    // line break.
    std::vector<std::string> m_hardLines{std::string()};
    int m_changes = 0;
};
