// Text numbers: the tokenizer behind every numeric text input of the system,
// and a line scanner that reads text lines from a byte source while counting
// the bytes it consumed (so that a file can be positioned after any line).
//
// Number syntax: a number starts at a digit, at "+" or "-" directly followed
// by a digit, "." or ",", or at "." directly followed by a digit; it runs over
// digits, ".", ",", "E", "e", "+" and "-". A "," is read as the decimal point.
// The standalone words "pi", "g" and "i1" to "i3" stand for numbers.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zelkor {

// Replaces every standalone "PI", "Pi" or "pi" from start on by
// "3.141592653589793".
void ReplacePI(std::string& line, int start);
// Replaces every standalone "i1", "i2", "i3" (or "I1" ...) from start on by
// the unit vector "1 0 0", "0 1 0", "0 0 1"; a "-" in front negates it.
void ReplaceIs(std::string& line, int start);
// Replaces every standalone "g" or "G" from start on by "9.81".
void ReplaceGravity(std::string& line, int start);

// The three replacements above, in that order, from start on.
void ReplaceWords(std::string& line, int start);

// Applies the word replacements from pos on, then sets number to the text of
// the next number at or after pos ("," turned into ".") and moves pos just
// after it. number is empty and pos the line's length when there is none.
// Every call goes over the rest of the line: to read a whole line, use
// LineNumbers, which replaces the words once.
void ReadNumber(int& pos, std::string& line, std::string& number);
// ReadNumber without the word replacements, for a line that has had them.
void ScanNumber(int& pos, const std::string& line, std::string& number);

// The numbers of one line in reading order: the same texts as ReadNumber
// calls from position 0 on give, with the words replaced once for the whole
// line, so that a line of any length is read in linear time.
class LineNumbers {
public:
    explicit LineNumbers(std::string line);
    // The next number's text; false (and number empty) when none is left.
    bool Next(std::string& number);

private:
    std::string m_line;
    int m_pos = 0;
};

// Appends the numbers of one line (as LineNumbers reads them) to values;
// returns how many there were.
int AppendLineNumbers(std::string line, std::vector<double>& values);

// Reads text lines from a byte source. A line ends at LF, at CR LF, at a lone
// CR, or at the end of the source; the line end is not part of the line.
// Consumed() counts every byte taken so far, line ends included.
class LineScanner {
public:
    // The source fills up to n bytes and returns how many it gave (0 at the end).
    using Source = std::function<std::size_t(char* buffer, std::size_t n)>;

    explicit LineScanner(Source source);

    // The next line; false when the source holds nothing more.
    bool ReadLine(std::string& line);
    unsigned long long Consumed() const { return m_consumed; }

private:
    bool Fill();

    Source m_source;
    char m_buffer[4096];
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_end = false;
    unsigned long long m_consumed = 0;
};

} // namespace zelkor
