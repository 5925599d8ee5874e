#include "matrix/textnumber.h"

#include <cstring>
#include <initializer_list>
#include <string_view>

namespace zelkor {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A word stands alone when nothing, "-", a blank or a tab is on either side.
bool IsWordSeparator(char c) { return c == '-' || c == ' ' || c == '\t'; }

bool StandsAlone(const std::string& line, std::size_t at, std::size_t len)
{
    if (at > 0 && !IsWordSeparator(line[at - 1]))
        return false;
    std::size_t after = at + len;
    return after >= line.size() || IsWordSeparator(line[after]);
}

// Finds the next occurrence of any of the forms from 'from' on (the earliest
// one; the forms never overlap each other).
std::size_t FindAnyForm(const std::string& line, std::size_t from,
                        std::initializer_list<std::string_view> forms, std::size_t& len)
{
    std::size_t best = std::string::npos;
    for (std::string_view form : forms) {
        std::size_t at = line.find(form, from);
        if (at < best) {
            best = at;
            len = form.size();
        }
    }
    return best;
}

// One replacement pass: every standalone occurrence of one of the forms from
// start on is replaced. A "-" right in front is dropped and minusText used
// instead when minusText is given.
void ReplaceWord(std::string& line, int start, std::initializer_list<std::string_view> forms,
                 std::string_view text, std::string_view minusText = {})
{
    std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    while (from < line.size()) {
        std::size_t len = 0;
        std::size_t at = FindAnyForm(line, from, forms, len);
        if (at == std::string::npos)
            return;
        if (!StandsAlone(line, at, len)) {
            from = at + 1;
            continue;
        }
        if (!minusText.empty() && at > 0 && line[at - 1] == '-') {
            line.replace(at - 1, len + 1, minusText);
            from = at - 1 + minusText.size();
        } else {
            line.replace(at, len, text);
            from = at + text.size();
        }
    }
}

} // namespace

void ReplacePI(std::string& line, int start)
{
    ReplaceWord(line, start, {"PI", "Pi", "pi"}, "3.141592653589793");
}

void ReplaceIs(std::string& line, int start)
{
    ReplaceWord(line, start, {"I1", "i1"}, "1 0 0");
    ReplaceWord(line, start, {"I2", "i2"}, "0 1 0", "0 -1 0");
    ReplaceWord(line, start, {"I3", "i3"}, "0 0 1", "0 0 -1");
}

void ReplaceGravity(std::string& line, int start)
{
    ReplaceWord(line, start, {"G", "g"}, "9.81");
}

void ReadNumber(int& pos, std::string& line, std::string& number)
{
    number.clear();
    if (pos < 0)
        pos = 0;
    ReplacePI(line, pos);
    ReplaceIs(line, pos);
    ReplaceGravity(line, pos);
    const int length = static_cast<int>(line.size());

    // Skip to the start of a number.
    for (;; ++pos) {
        if (pos >= length) {
            pos = length;
            return;
        }
        char c = line[pos];
        char next = pos + 1 < length ? line[pos + 1] : '\0';
        if (IsDigit(c))
            break;
        if ((c == '+' || c == '-') && IsDigit(next))
            break;
        if ((c == '+' || c == '-') && (next == '.' || next == ',')) {
            number += c;
            number += '0';
            ++pos;
            break;
        }
        if (c == '.' && IsDigit(next)) {
            number += '0';
            break;
        }
    }
    // Collect it.
    for (; pos < length; ++pos) {
        char c = line[pos];
        if (IsDigit(c) || c == '.' || c == 'E' || c == 'e' || c == '+' || c == '-')
            number += c;
        else if (c == ',')
            number += '.';
        else
            break;
    }
}

LineScanner::LineScanner(Source source) : m_source(std::move(source)) {}

bool LineScanner::Fill()
{
    if (m_end)
        return false;
    m_pos = 0;
    m_len = m_source(m_buffer, sizeof m_buffer);
    if (m_len == 0)
        m_end = true;
    return m_len > 0;
}

bool LineScanner::ReadLine(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (m_pos >= m_len && !Fill())
            return any;
        any = true;
        const char* begin = m_buffer + m_pos;
        const char* stop = static_cast<const char*>(std::memchr(begin, '\n', m_len - m_pos));
        const char* cr = static_cast<const char*>(std::memchr(begin, '\r', m_len - m_pos));
        if (cr && (!stop || cr < stop))
            stop = cr;
        if (!stop) {
            line.append(begin, m_len - m_pos);
            m_consumed += m_len - m_pos;
            m_pos = m_len;
            continue;
        }
        line.append(begin, static_cast<std::size_t>(stop - begin));
        std::size_t taken = static_cast<std::size_t>(stop - begin) + 1;
        m_consumed += taken;
        m_pos += taken;
        if (*stop == '\r') {
            // CR LF counts as one line end, even across a buffer refill.
            if (m_pos >= m_len)
                Fill();
            if (m_pos < m_len && m_buffer[m_pos] == '\n') {
                ++m_pos;
                ++m_consumed;
            }
        }
        return true;
    }
}

} // namespace zelkor
