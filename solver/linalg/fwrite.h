// Formatted sequential output of the solver: every run-log line is written
// through here, with Fortran-style edit descriptors.
//
// A layout is parsed once into items and reused:
//
//     static const solvika::Layout kNotConnected("5X 'Node' I6 ' is not connected'");
//     solvika::fwrite(lunit, kNotConnected, {node});
//
// Notation: nX blanks; Iw integer; Fw.d fixed; 1P Ew.d / 1P Dw.d exponent
// form (1P holds for every later E/D field of the write); Aw / A text;
// 'text' a literal (single quotes, so texts may hold double quotes); '/'
// ends a line (leading: an empty line first; trailing: an empty line after);
// k before a field or a parenthesised group repeats it; a layout beginning
// with "1" writes a line holding only "1". Each write starts a new line; a
// write with more values than fields starts the layout again on a new line.
// When the values run out, literals, blanks and '/' are still written up to
// the next data field. Fields and literals may be separated by blanks or
// commas; '' inside a literal is one quote.
//
// Editing: a value too wide for its field prints w asterisks; a value of
// the wrong kind for its field (a real or text in an I field, a number in
// an A field) prints asterisks too, while an integer in a real field
// prints its value. Rounding is the correct rounding of the binary value;
// NaN and the infinities print as "NaN", "Infinity" or "Inf"; -0.0 prints
// without a sign.
//
// Unit numbers: only units connected by the run (the log, unit 10) or by a
// test (attachSink) receive text; writes to any other unit go nowhere.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <ranges>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace solvika {

// One value of a write: a scalar, a text or a contiguous run of values
// (each element consumes one field).
class FArg {
public:
    enum class Kind { Int, Real, Text, IntSpan, Int64Span, RealSpan };

    FArg(int v) : m_kind(Kind::Int), m_int(v) {}
    FArg(long v) : m_kind(Kind::Int), m_int(v) {}
    FArg(long long v) : m_kind(Kind::Int), m_int(v) {}
    FArg(unsigned v) : m_kind(Kind::Int), m_int(v) {}
    FArg(unsigned long v) : m_kind(Kind::Int), m_int(static_cast<std::int64_t>(v)) {}
    FArg(unsigned long long v) : m_kind(Kind::Int), m_int(static_cast<std::int64_t>(v)) {}
    FArg(double v) : m_kind(Kind::Real), m_real(v) {}
    FArg(const char* s) : m_kind(Kind::Text), m_text(s) {}
    FArg(std::string_view s) : m_kind(Kind::Text), m_text(s) {}
    FArg(const std::string& s) : m_kind(Kind::Text), m_text(s) {}
    FArg(std::span<const std::int32_t> v) : m_kind(Kind::IntSpan), m_ints(v) {}
    FArg(std::span<const std::int64_t> v) : m_kind(Kind::Int64Span), m_ints64(v) {}
    FArg(std::span<const double> v) : m_kind(Kind::RealSpan), m_reals(v) {}
    // Any other contiguous run of int32_t, int64_t or double (a mutable
    // span, a vector, an array): the conversion to a span of const values
    // would otherwise be a second user-defined conversion.
    template <class R>
        requires std::ranges::contiguous_range<const R&> && std::ranges::sized_range<const R&> &&
                 (std::same_as<std::ranges::range_value_t<R>, std::int32_t> ||
                  std::same_as<std::ranges::range_value_t<R>, std::int64_t> ||
                  std::same_as<std::ranges::range_value_t<R>, double>)
    FArg(const R& r) : FArg(std::span<const std::ranges::range_value_t<R>>(std::ranges::data(r), std::ranges::size(r))) {}

    Kind kind() const { return m_kind; }
    std::int64_t intValue() const { return m_int; }
    double realValue() const { return m_real; }
    std::string_view text() const { return m_text; }
    std::span<const std::int32_t> ints() const { return m_ints; }
    std::span<const std::int64_t> ints64() const { return m_ints64; }
    std::span<const double> reals() const { return m_reals; }

private:
    Kind m_kind;
    std::int64_t m_int = 0;
    double m_real = 0.0;
    std::string_view m_text;
    std::span<const std::int32_t> m_ints;
    std::span<const std::int64_t> m_ints64;
    std::span<const double> m_reals;
};

// A parsed line layout. Parsing a malformed layout throws
// std::invalid_argument (layouts are constants; a unit test catches it).
class Layout {
public:
    explicit Layout(std::string_view text);
    ~Layout();
    Layout(const Layout&) = delete;
    Layout& operator=(const Layout&) = delete;

    struct Impl;
    const Impl& impl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// Writes the values through the layout to the unit.
void fwrite(int unit, const Layout& layout, std::initializer_list<FArg> args = {});
void fwrite(int unit, const Layout& layout, std::span<const FArg> args);

// Formats into a string instead of a unit (lines end in "\n").
std::string fformat(const Layout& layout, std::initializer_list<FArg> args = {});
std::string fformat(const Layout& layout, std::span<const FArg> args);

// Test hook: every later write to the unit is appended to *sink, until
// detachSink(unit). Not for use inside a run.
void attachSink(int unit, std::string* sink);
void detachSink(int unit);

} // namespace solvika
