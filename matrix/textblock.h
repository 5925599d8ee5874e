// The lines of a keyword-delimited block of a text file, as the text imports
// of matrices and graphs read them.
//
// Every line is prepared the same way: upper-cased, cut before the comment
// mark (when one is given), trimmed at both ends; empty lines are passed
// over. The block ends at the first line that contains the end key (that
// line is consumed and yields nothing) or at the end of the file. With both
// keys given, a line inside the block that contains the start key opens a
// nested block, which is passed over up to and including the next line that
// contains the end key.
#pragma once

#include <string>

#include "matrix/textnumber.h"
#include "platform/afx/afx.h"

namespace zelkor {

class KeywordBlockReader {
public:
    enum Nesting { kNestByStartKey, kNestByFirstChar };

    // Reads from the file's current position; the keys and the comment mark
    // are compared in upper case, empty ones are not used.
    KeywordBlockReader(CFile& file, std::string start, std::string end, std::string comment,
                       Nesting nesting = kNestByStartKey);
    KeywordBlockReader(const KeywordBlockReader&) = delete;
    KeywordBlockReader& operator=(const KeywordBlockReader&) = delete;

    // The next prepared line of the block; false when the block has ended.
    bool Next(std::string& line);
    // Bytes taken from the file since the start, line ends included: the
    // file stands right after the last line read when positioned at the
    // starting position plus this count.
    unsigned long long Consumed() const { return m_lines.Consumed(); }

private:
    // The next non-empty prepared line; false at the end of the file.
    bool NextPrepared(std::string& line);
    bool HasEnd(const std::string& line) const;
    bool OpensNested(const std::string& line) const;

    LineScanner m_lines;
    std::string m_start;
    std::string m_end;
    std::string m_comment;
    Nesting m_nesting;
    bool m_done = false;
};

} // namespace zelkor
