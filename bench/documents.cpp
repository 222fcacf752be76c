#include "documents.h"

#include "document/questionindex.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <stdexcept>

namespace {

constexpr std::array<std::string_view, 24> Words = {
    "the",      "document", "question", "answer", "block",  "editor",   "line",   "file",
    "list",     "select",   "remove",   "window", "caret",  "heading",  "saved",  "text",
    "changes",  "entry",    "press",    "open",   "menu",   "separator", "title", "index",
};

// Words until the line is between min and max characters long, then a full stop.
std::string sentenceLine(std::mt19937 &random, std::size_t min, std::size_t max)
{
    std::uniform_int_distribution<std::size_t> pick(0, Words.size() - 1);
    std::uniform_int_distribution<std::size_t> length(min, max);
    const std::size_t target = length(random);
    std::string line = "Lorem";
    while (line.size() + 1 < target) {
        line += ' ';
        line += Words[pick(random)];
    }
    line.resize(target - 1);
    if (line.back() == ' ')
        line.back() = 'x';
    line += '.';
    return line;
}

class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "nobrex-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a folder for the benchmark files");
        m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

ScratchFolder &scratchFolder()
{
    static ScratchFolder folder;
    return folder;
}

} // namespace

std::string makeFaqText(std::size_t bytes)
{
    std::mt19937 random(20240611);
    std::string text = "Frequently asked questions, generated for the benchmarks\r\n";
    text.reserve(bytes + 1024);
    for (int block = 1; text.size() < bytes; ++block) {
        text += BlockSeparator;
        text += "\r\nQuestion ";
        text += std::to_string(block);
        text += ": how does one ";
        std::string question = sentenceLine(random, 20, 30);
        question.back() = '?';
        text += question;
        text += "\r\n---\r\n";
        for (int i = 0; i < 6; ++i) {
            text += sentenceLine(random, 70, 85);
            text += "\r\n";
        }
    }
    return text;
}

const std::string &faqText(int kilobytes)
{
    static std::map<int, std::string> texts;
    auto it = texts.find(kilobytes);
    if (it == texts.end())
        it = texts.emplace(kilobytes, makeFaqText(std::size_t(kilobytes) * 1000)).first;
    return it->second;
}

const std::string &faqFile(int kilobytes)
{
    static std::map<int, std::string> files;
    auto it = files.find(kilobytes);
    if (it == files.end()) {
        const std::string path = scratchFile("faq-" + std::to_string(kilobytes) + "k.txt");
        std::ofstream out(path, std::ios::binary);
        const std::string &text = faqText(kilobytes);
        out.write(text.data(), std::streamsize(text.size()));
        out.close();
        if (!out)
            throw std::runtime_error("cannot write " + path);
        it = files.emplace(kilobytes, path).first;
    }
    return it->second;
}

std::string scratchFile(const std::string &name)
{
    return (scratchFolder().path() / name).string();
}

int countSeparators(std::string_view text)
{
    int separators = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        if (isBlockSeparator(text.substr(start, end - start)))
            ++separators;
        start = end + 2;
    }
    return separators;
}
