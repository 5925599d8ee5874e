#include "matrix/textnumber.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "platform/afx/numconv.h"

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

// One replacement pass: every standalone occurrence of one of the forms from
// start on is replaced. A "-" right in front is dropped and minusText used
// instead when minusText is given. The line is rebuilt once, and each form
// is searched again only when the pass has moved past its last find, so a
// pass takes time in proportion to the line's length however many words it
// meets. (Replacements hold no letters and neither start nor end with a
// separator, so the tests below can look at the text as it was.)
void ReplaceWord(std::string& line, int start, std::initializer_list<std::string_view> forms,
                 std::string_view text, std::string_view minusText = {})
{
    std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    if (from >= line.size())
        return;
    constexpr std::size_t kMaxForms = 4;
    std::size_t next[kMaxForms];
    std::size_t count = 0;
    for (std::string_view form : forms)
        next[count++] = line.find(form, from);

    std::string out;
    std::size_t copied = 0;  // line[0, copied) is in out (when out is used)
    bool rebuilt = false;
    while (from < line.size()) {
        // The earliest occurrence at or after from (the forms never overlap).
        std::size_t at = std::string::npos;
        std::size_t len = 0;
        std::size_t k = 0;
        for (std::string_view form : forms) {
            if (next[k] != std::string::npos && next[k] < from)
                next[k] = line.find(form, from);
            if (next[k] < at) {
                at = next[k];
                len = form.size();
            }
            ++k;
        }
        if (at == std::string::npos)
            break;
        from = at + 1;
        if (!StandsAlone(line, at, len))
            continue;
        if (!rebuilt) {
            out.reserve(line.size() + line.size() / 2);
            rebuilt = true;
        }
        const bool minus = !minusText.empty() && at > 0 && line[at - 1] == '-';
        const std::size_t cut = minus ? at - 1 : at;
        if (cut > copied)
            out.append(line, copied, cut - copied);
        out.append(minus ? minusText : text);
        copied = at + len;
        from = copied;
    }
    if (!rebuilt)
        return;
    out.append(line, copied, std::string::npos);
    line.swap(out);
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

void ReplaceWords(std::string& line, int start)
{
    ReplacePI(line, start);
    ReplaceIs(line, start);
    ReplaceGravity(line, start);
}

void ReadNumber(int& pos, std::string& line, std::string& number)
{
    if (pos < 0)
        pos = 0;
    ReplaceWords(line, pos);
    ScanNumber(pos, line, number);
}

void ScanNumber(int& pos, const std::string& line, std::string& number)
{
    number.clear();
    if (pos < 0)
        pos = 0;
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

LineNumbers::LineNumbers(std::string line) : m_line(std::move(line))
{
    ReplaceWords(m_line, 0);
}

bool LineNumbers::Next(std::string& number)
{
    ScanNumber(m_pos, m_line, number);
    return !number.empty();
}

int AppendLineNumbers(std::string line, std::vector<double>& values)
{
    LineNumbers numbers(std::move(line));
    int count = 0;
    std::string number;
    while (numbers.Next(number)) {
        values.push_back(AfxStrToD(number.c_str()));
        ++count;
    }
    return count;
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
        // One pass to the first line end: looking for each end character
        // through the whole buffer would cost the buffer on every line.
        const char* last = m_buffer + m_len;
        const char* stop = std::find_if(begin, last, [](char c) { return c == '\n' || c == '\r'; });
        if (stop == last) {
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
