#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A FAQ text of about the given size: a title line, then blocks of a separator, one
// question line, "---" and six answer lines of 70 to 85 characters, all ending in CR LF.
// The same size always gives the same bytes.
std::string makeFaqText(std::size_t bytes);

// The generated text of kilobytes * 1000 bytes, and a file holding it. Both are made once
// per run; the files live in a folder that is removed at exit.
const std::string &faqText(int kilobytes);
const std::string &faqFile(int kilobytes);

// A path in that folder for the benchmarks to write to.
std::string scratchFile(const std::string &name);

// The block separator lines in CR LF text. What any change event costs at least when it
// looks at the whole text: the floor of the change event benchmarks.
int countSeparators(std::string_view text);
