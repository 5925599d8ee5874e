#include "matrix/textblock.h"

#include <algorithm>
#include <cctype>

namespace zelkor {

namespace {

void ToUpper(std::string& text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// The white space that line trimming removes.
constexpr const char* kBlanks = " \t\r\n\v\f";

} // namespace

KeywordBlockReader::KeywordBlockReader(CFile& file, std::string start, std::string end,
                                       std::string comment, Nesting nesting)
    : m_lines([&file](char* buffer, std::size_t n) {
          return static_cast<std::size_t>(file.Read(buffer, static_cast<UINT>(n)));
      }),
      m_start(std::move(start)), m_end(std::move(end)), m_comment(std::move(comment)),
      m_nesting(nesting)
{
    ToUpper(m_start);
    ToUpper(m_end);
    ToUpper(m_comment);
}

bool KeywordBlockReader::NextPrepared(std::string& line)
{
    while (m_lines.ReadLine(line)) {
        ToUpper(line);
        if (!m_comment.empty()) {
            const std::size_t at = line.find(m_comment);
            if (at != std::string::npos)
                line.erase(at);
        }
        const std::size_t first = line.find_first_not_of(kBlanks);
        if (first == std::string::npos)
            continue;
        line.erase(line.find_last_not_of(kBlanks) + 1);
        line.erase(0, first);
        return true;
    }
    return false;
}

bool KeywordBlockReader::HasEnd(const std::string& line) const
{
    return !m_end.empty() && line.find(m_end) != std::string::npos;
}

bool KeywordBlockReader::OpensNested(const std::string& line) const
{
    if (m_start.empty())
        return false;
    if (m_nesting == kNestByFirstChar)
        return line[0] == m_start[0];
    return !m_end.empty() && line.find(m_start) != std::string::npos;
}

bool KeywordBlockReader::Next(std::string& line)
{
    while (!m_done) {
        if (!NextPrepared(line) || HasEnd(line)) {
            m_done = true;
            break;
        }
        if (OpensNested(line)) {
            // A nested block: passed over up to and including its end line.
            while (NextPrepared(line) && !HasEnd(line)) {
            }
            continue;
        }
        return true;
    }
    line.clear();
    return false;
}

} // namespace zelkor
