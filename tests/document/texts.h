#pragma once

// FAQ texts for the document tests, written as lists of lines the way the cases are told:
// T a title, S a block separator, D the answer divider.

#include <QByteArray>
#include <QByteArrayList>

#include <string>
#include <vector>

using Text = QByteArrayList;

inline const QByteArray S(80, '-');
inline const QByteArray D("---");

// The lines joined by CR LF, without a final break.
inline QByteArray crlf(const Text &lines)
{
    return lines.join("\r\n");
}

inline Text toText(const std::vector<std::string> &lines)
{
    Text text;
    for (const std::string &line : lines)
        text.append(QByteArray::fromStdString(line));
    return text;
}

inline std::vector<std::string> toStrings(const Text &text)
{
    std::vector<std::string> lines;
    for (const QByteArray &line : text)
        lines.push_back(line.toStdString());
    return lines;
}
