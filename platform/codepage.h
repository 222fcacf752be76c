#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

// The text is 8-bit, one byte per character. It is shown with the glyphs of Windows-1252;
// the five bytes that code page leaves undefined show as the C1 controls of the same value,
// so that every byte has a character and comes back as itself.

QString decodeLine(std::string_view bytes);
// CR LF separated bytes to a text for QTextDocument, where "\n" separates paragraphs.
QString decodeText(std::string_view bytes);

// Characters outside the code page become "?"; a text area never holds one.
std::string encodeLine(QStringView text);
// A QTextDocument's raw text to CR LF separated bytes: its paragraph separators become
// CR LF.
std::string encodeText(QStringView text);

// What may enter a text area of ours from the keyboard, the clipboard or a drop: every line
// break (CR LF, CR, LF, U+2028, U+2029) becomes "\n", a NUL ends the text, and any other
// character the code page lacks becomes "?".
QString toInsertable(QStringView text);
