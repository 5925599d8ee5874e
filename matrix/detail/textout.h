// Buffered text output into an open file, and the text block of a matrix
// shared by the dense and the integer matrices.
#pragma once

#include <functional>
#include <string>

#include "platform/afx/afx.h"

namespace zelkor::detail {

// Collects formatted text and writes it to the file in large blocks. Flush
// writes what is left; text still buffered when the object goes (because a
// write failed and threw) is dropped.
class TextOut {
public:
    explicit TextOut(CFile* file) : m_file(file) {}
    TextOut(const TextOut&) = delete;
    TextOut& operator=(const TextOut&) = delete;

    void Put(const std::string& text);
    void Put(const char* text);
    // printf rules in the "C" numeric locale.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Flush();

private:
    void FlushIfFull();

    CFile* m_file;
    std::string m_text;
};

// The text of "%*u" with (width, 0) without its trailing "0": a blank field
// as wide as a number field of that width.
std::string BlankField(int width);

// The column-number line of a matrix block: with rowNumbers a blank margin
// as wide as the row-number field (width - precision) plus two blanks; then
// "%s%*u%s" with (pre, width, j, post) for j = 1 .. cols; then a line end.
void WriteMatrixHeader(TextOut& out, const CString& pre, const CString& post, int width,
                       int precision, bool rowNumbers, int cols);

// The rows of a matrix block, one a line, each number between pre and post
// in "%*.*f" (style 0), "%*.*e" (style 1) or "%*g" (style 2, precision
// unused); any other style writes no rows. rowNumbers puts the 1-based row
// number in front of each row in a field of width - precision and one blank.
// One more line end closes the block.
void WriteMatrixRows(TextOut& out, const CString& pre, const CString& post, int width,
                     int precision, int style, bool rowNumbers, int rows, int cols,
                     const std::function<double(int, int)>& value);

} // namespace zelkor::detail
