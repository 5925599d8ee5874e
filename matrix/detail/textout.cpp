#include "matrix/detail/textout.h"

#include <cstdarg>

namespace zelkor::detail {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

} // namespace

void TextOut::Put(const std::string& text)
{
    m_text += text;
    FlushIfFull();
}

void TextOut::Put(const char* text)
{
    m_text += text;
    FlushIfFull();
}

void TextOut::Format(const char* format, ...)
{
    char buffer[256];
    va_list args;
    va_start(args, format);
    int n = AfxVsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0)
        return;
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        m_text.append(buffer, static_cast<std::size_t>(n));
    } else {
        std::string big(static_cast<std::size_t>(n) + 1, '\0');
        va_start(args, format);
        AfxVsnprintf(big.data(), big.size(), format, args);
        va_end(args);
        m_text.append(big.data(), static_cast<std::size_t>(n));
    }
    FlushIfFull();
}

void TextOut::FlushIfFull()
{
    if (m_text.size() >= kFlushSize)
        Flush();
}

void TextOut::Flush()
{
    if (m_text.empty())
        return;
    std::string text;
    text.swap(m_text);
    m_file->Write(text.data(), static_cast<UINT>(text.size()));
}

std::string BlankField(int width)
{
    std::string field = AfxFormat("%*u", width, 0u);
    while (!field.empty() && field.back() == '0')
        field.pop_back();
    return field;
}

void WriteMatrixHeader(TextOut& out, const CString& pre, const CString& post, int width,
                       int precision, bool rowNumbers, int cols)
{
    if (rowNumbers)
        out.Put(BlankField(width - precision) + "  ");
    for (int j = 1; j <= cols; ++j)
        out.Format("%s%*u%s", pre.GetString(), width, static_cast<unsigned>(j), post.GetString());
    out.Put("\r\n");
}

void WriteMatrixRows(TextOut& out, const CString& pre, const CString& post, int width,
                     int precision, int style, bool rowNumbers, int rows, int cols,
                     const std::function<double(int, int)>& value)
{
    const int numberWidth = width - precision;
    if (style >= 0 && style <= 2) {
        for (int i = 0; i < rows; ++i) {
            for (int j = 0; j < cols; ++j) {
                const double v = value(i, j);
                const bool numbered = rowNumbers && j == 0;
                const unsigned r = static_cast<unsigned>(i + 1);
                const char* p = pre.GetString();
                const char* s = post.GetString();
                switch (style) {
                case 0:
                    if (numbered)
                        out.Format("%*u %s%*.*f%s", numberWidth, r, p, width, precision, v, s);
                    else
                        out.Format("%s%*.*f%s", p, width, precision, v, s);
                    break;
                case 1:
                    if (numbered)
                        out.Format("%*u %s%*.*e%s", numberWidth, r, p, width, precision, v, s);
                    else
                        out.Format("%s%*.*e%s", p, width, precision, v, s);
                    break;
                default:
                    if (numbered)
                        out.Format("%*u %s%*g%s", numberWidth, r, p, width, v, s);
                    else
                        out.Format("%s%*g%s", p, width, v, s);
                    break;
                }
            }
            out.Put("\r\n");
        }
    }
    out.Put("\r\n");
}

} // namespace zelkor::detail
