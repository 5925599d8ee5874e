// Formatted sequential output: layout parsing, field editing, and the
// table of connected units.
#include "solver/linalg/fwrite.h"

#include "solver/linalg/funit.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace solvika {

namespace {

enum class Op : std::uint8_t { Literal, Skip, Slash, Scale, Int, Fixed, Exp, Text, GroupBegin, GroupEnd };

struct Item {
    Op op;
    char letter = 'E';      // exponent letter of an Exp field
    int count = 1;          // repeat count of a field, literal or group
    int w = 0;              // field width (A alone: 0); Skip: blanks
    int d = 0;              // decimals; Scale: the factor
    std::uint32_t pos = 0;  // Literal: offset in the text; Group*: index of the partner item
    std::uint32_t len = 0;  // Literal: length
};

bool isData(Op op) { return op == Op::Int || op == Op::Fixed || op == Op::Exp || op == Op::Text; }

constexpr int kMaxDepth = 8;     // nesting of parenthesised groups
constexpr int kMaxWidth = 300;   // widest numeric field
constexpr int kMaxDecimals = 100;

} // namespace

struct Layout::Impl {
    std::vector<Item> items;
    std::string text;        // the literals, one after another
    bool pageLine = false;   // begins with "1": a line holding only "1" first
    bool pageOnly = false;   // and that line is all there is
    bool hasData = false;    // holds at least one data field
};

// ---------------------------------------------------------------- parsing

namespace {

class Parser {
public:
    Parser(std::string_view s, Layout::Impl& out) : m_s(s), m_out(out) {}

    void parse() {
        std::vector<std::size_t> open;
        for (;;) {
            skipBlanks();
            if (atEnd()) break;
            int count = -1;
            bool negative = false;
            if (peek() == '-') {
                negative = true;
                ++m_i;
                if (!isDigit()) fail("digits expected after '-'");
            }
            if (isDigit()) {
                count = number();
                skipBlanks();
                if (atEnd()) fail("descriptor expected after a number");
            }
            const char c = upper(peek());
            if (negative && c != 'P') fail("a negative number only scales (kP)");
            if (c == 'P') {
                if (count < 0) fail("scale factor expected before P");
                ++m_i;
                push({.op = Op::Scale, .d = negative ? -count : count});
                continue;
            }
            if (count == 0) fail("a count must be positive");
            const int n = count < 0 ? 1 : count;
            switch (c) {
            case 'X':
                ++m_i;
                push({.op = Op::Skip, .w = n});
                break;
            case '/':
                ++m_i;
                for (int k = 0; k < n; ++k) push({.op = Op::Slash});
                break;
            case '\'':
                literal(n);
                break;
            case '(':
                ++m_i;
                if (int(open.size()) == kMaxDepth) fail("groups nested too deep");
                open.push_back(m_out.items.size());
                push({.op = Op::GroupBegin, .count = n});
                break;
            case ')': {
                ++m_i;
                if (count >= 0) fail("no count before ')'");
                if (open.empty()) fail("')' without '('");
                const std::size_t begin = open.back();
                open.pop_back();
                m_out.items[begin].pos = std::uint32_t(m_out.items.size());
                push({.op = Op::GroupEnd, .pos = std::uint32_t(begin)});
                break;
            }
            case 'I':
                ++m_i;
                push({.op = Op::Int, .count = n, .w = width()});
                break;
            case 'F':
            case 'E':
            case 'D': {
                ++m_i;
                const int w = width();
                if (atEnd() || peek() != '.') fail("'.' expected in a real field");
                ++m_i;
                const int d = number();
                if (d > kMaxDecimals || d >= w) fail("decimals do not fit the width");
                push({.op = c == 'F' ? Op::Fixed : Op::Exp, .letter = c, .count = n, .w = w, .d = d});
                break;
            }
            case 'A': {
                ++m_i;
                int w = 0;
                if (isDigit() && (w = number()) == 0) fail("A width must be positive");
                push({.op = Op::Text, .count = n, .w = w});
                break;
            }
            default:
                fail("unknown descriptor");
            }
        }
        if (!open.empty()) fail("'(' without ')'");
        pageLine();
        for (const Item& it : m_out.items)
            if (isData(it.op)) m_out.hasData = true;
    }

private:
    [[noreturn]] void fail(const char* what) const {
        throw std::invalid_argument("layout \"" + std::string(m_s) + "\", column " + std::to_string(m_i + 1) +
                                    ": " + what);
    }
    bool atEnd() const { return m_i >= m_s.size(); }
    char peek() const { return m_s[m_i]; }
    bool isDigit() const { return !atEnd() && peek() >= '0' && peek() <= '9'; }
    static char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
    void skipBlanks() {
        while (!atEnd() && (peek() == ' ' || peek() == ',' || peek() == '\t')) ++m_i;
    }
    int number() {
        if (!isDigit()) fail("number expected");
        int v = 0;
        while (isDigit()) {
            v = v * 10 + (peek() - '0');
            if (v > 1000000) fail("number too large");
            ++m_i;
        }
        return v;
    }
    int width() {
        const int w = number();
        if (w < 1 || w > kMaxWidth) fail("field width out of range");
        return w;
    }
    void literal(int count) {
        ++m_i;  // opening quote
        const std::size_t start = m_out.text.size();
        for (;;) {
            if (atEnd()) fail("unterminated literal");
            const char c = m_s[m_i++];
            if (c == '\'') {
                if (!atEnd() && peek() == '\'') {
                    m_out.text.push_back('\'');
                    ++m_i;
                    continue;
                }
                break;
            }
            m_out.text.push_back(c);
        }
        push({.op = Op::Literal,
              .count = count,
              .pos = std::uint32_t(start),
              .len = std::uint32_t(m_out.text.size() - start)});
    }
    void push(const Item& it) { m_out.items.push_back(it); }

    // A layout that begins with the literal "1" writes a line holding only
    // "1" first; a "/" right after it only ends that line.
    void pageLine() {
        auto& items = m_out.items;
        if (items.empty() || items[0].op != Op::Literal || items[0].count != 1 || items[0].len == 0 ||
            m_out.text[items[0].pos] != '1')
            return;
        m_out.pageLine = true;
        ++items[0].pos;
        if (--items[0].len > 0) return;
        std::uint32_t removed = 1;
        if (items.size() == 1) m_out.pageOnly = true;
        if (items.size() > 1 && items[1].op == Op::Slash) removed = 2;
        items.erase(items.begin(), items.begin() + removed);
        for (Item& it : items)  // group partners moved down
            if (it.op == Op::GroupBegin || it.op == Op::GroupEnd) it.pos -= removed;
    }

    std::string_view m_s;
    Layout::Impl& m_out;
    std::size_t m_i = 0;
};

} // namespace

Layout::Layout(std::string_view text) : m_impl(std::make_unique<Impl>()) { Parser(text, *m_impl).parse(); }

Layout::~Layout() = default;

// ---------------------------------------------------------------- editing

namespace {

void stars(std::string& out, int w) { out.append(std::size_t(w), '*'); }

// Right-justifies text in w columns, or w asterisks when it does not fit.
void putField(std::string& out, int w, const char* text, std::size_t n) {
    if (n > std::size_t(w)) {
        stars(out, w);
        return;
    }
    out.append(std::size_t(w) - n, ' ');
    out.append(text, n);
}

void editInt(std::string& out, int w, std::int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    putField(out, w, buf, std::size_t(r.ptr - buf));
}

// NaN and the infinities; false for a finite value.
bool editSpecial(std::string& out, int w, double v) {
    if (std::isnan(v)) {
        putField(out, w, "NaN", 3);
        return true;
    }
    if (!std::isinf(v)) return false;
    if (v > 0)
        w >= 8 ? putField(out, w, "Infinity", 8) : putField(out, w, "Inf", 3);
    else
        w >= 9 ? putField(out, w, "-Infinity", 9) : putField(out, w, "-Inf", 4);
    return true;
}

// Negative zero prints without a sign; a negative value that rounds to
// zero keeps it.
bool hasMinus(double v) { return std::signbit(v) && v != 0.0; }

void editFixed(std::string& out, int w, int d, double v) {
    if (editSpecial(out, w, v)) return;
    const double a = std::fabs(v);
    if (a >= 1e300) {  // more digits than any field holds
        stars(out, w);
        return;
    }
    char buf[512];
    char* digits = buf + 1;
    int n = int(std::to_chars(digits, buf + sizeof buf - 1, a, std::chars_format::fixed, d).ptr - digits);
    if (d == 0) digits[n++] = '.';  // the point is always written
    const bool minus = hasMinus(v);
    if (minus + n > w && digits[0] == '0' && digits[1] == '.') {  // the leading 0 is optional
        ++digits;
        --n;
    }
    if (minus) *--digits = '-';
    putField(out, w, digits, std::size_t(n + minus));
}

// Exponent form with scale factor k: k > 0 gives k digits before the point
// and d - k + 1 after it; k <= 0 gives "0." and -k zeros, then d + k digits.
void editExp(std::string& out, int w, int d, int k, char letter, double v) {
    if (editSpecial(out, w, v)) return;
    if (k <= -d || k > d + 1) {
        stars(out, w);
        return;
    }
    const int sig = k > 0 ? d + 1 : d + k;
    const double a = std::fabs(v);
    char num[160];
    *std::to_chars(num, num + sizeof num - 1, a, std::chars_format::scientific, sig - 1).ptr = '\0';
    char digs[128];
    int nd = 0;
    const char* p = num;
    for (; *p != 'e'; ++p)
        if (*p != '.') digs[nd++] = *p;
    int e = std::atoi(p + 1);
    int shown = a == 0.0 ? 0 : (k > 0 ? e - k + 1 : e + 1 - k);

    char buf[200];
    int n = 0;
    if (hasMinus(v)) buf[n++] = '-';
    const int lead = n;
    if (k > 0) {
        std::memcpy(buf + n, digs, std::size_t(k));
        n += k;
        buf[n++] = '.';
        std::memcpy(buf + n, digs + k, std::size_t(sig - k));
        n += sig - k;
    } else {
        buf[n++] = '0';
        buf[n++] = '.';
        for (int z = 0; z < -k; ++z) buf[n++] = '0';
        std::memcpy(buf + n, digs, std::size_t(sig));
        n += sig;
    }
    const int ae = shown < 0 ? -shown : shown;
    if (ae > 999) {
        stars(out, w);
        return;
    }
    if (ae <= 99) {  // beyond 99 the letter gives way to the third digit
        buf[n++] = letter;
        buf[n++] = shown < 0 ? '-' : '+';
    } else {
        buf[n++] = shown < 0 ? '-' : '+';
        buf[n++] = char('0' + ae / 100);
    }
    buf[n++] = char('0' + ae / 10 % 10);
    buf[n++] = char('0' + ae % 10);
    if (n > w && k <= 0) {  // the leading 0 of "0." is optional
        std::memmove(buf + lead, buf + lead + 1, std::size_t(n - lead - 1));
        --n;
    }
    putField(out, w, buf, std::size_t(n));
}

void editText(std::string& out, int w, std::string_view t) {
    if (w == 0)
        out.append(t);
    else if (t.size() >= std::size_t(w))
        out.append(t.substr(0, std::size_t(w)));
    else
        putField(out, w, t.data(), t.size());
}

// One value taken from the argument list.
struct Value {
    enum class Kind { Int, Real, Text } kind;
    std::int64_t i = 0;
    double r = 0.0;
    std::string_view t = {};
};

// Walks the arguments one field value at a time; a span gives one value
// per element, an empty span none.
class Values {
public:
    explicit Values(std::span<const FArg> args) : m_args(args) {}

    bool more() {
        while (m_a < m_args.size() && m_e >= length(m_args[m_a])) {
            ++m_a;
            m_e = 0;
        }
        return m_a < m_args.size();
    }

    Value next() {  // after more() returned true
        const FArg& f = m_args[m_a];
        const std::size_t e = m_e++;
        switch (f.kind()) {
        case FArg::Kind::Int: return {.kind = Value::Kind::Int, .i = f.intValue()};
        case FArg::Kind::Real: return {.kind = Value::Kind::Real, .r = f.realValue()};
        case FArg::Kind::Text: return {.kind = Value::Kind::Text, .t = f.text()};
        case FArg::Kind::IntSpan: return {.kind = Value::Kind::Int, .i = f.ints()[e]};
        case FArg::Kind::Int64Span: return {.kind = Value::Kind::Int, .i = f.ints64()[e]};
        case FArg::Kind::RealSpan: return {.kind = Value::Kind::Real, .r = f.reals()[e]};
        }
        return {.kind = Value::Kind::Int};
    }

private:
    static std::size_t length(const FArg& f) {
        switch (f.kind()) {
        case FArg::Kind::IntSpan: return f.ints().size();
        case FArg::Kind::Int64Span: return f.ints64().size();
        case FArg::Kind::RealSpan: return f.reals().size();
        default: return 1;
        }
    }

    std::span<const FArg> m_args;
    std::size_t m_a = 0;  // current argument
    std::size_t m_e = 0;  // element within it
};

// A value of the wrong kind for its field prints asterisks; an integer in
// a real field prints its value.
void editField(std::string& out, const Item& it, const Value& v, int scale) {
    switch (it.op) {
    case Op::Int:
        if (v.kind == Value::Kind::Int)
            editInt(out, it.w, v.i);
        else
            stars(out, it.w);
        break;
    case Op::Fixed:
    case Op::Exp:
        if (v.kind == Value::Kind::Text) {
            stars(out, it.w);
            break;
        }
        {
            const double x = v.kind == Value::Kind::Int ? double(v.i) : v.r;
            if (it.op == Op::Fixed)
                editFixed(out, it.w, it.d, x);
            else
                editExp(out, it.w, it.d, scale, it.letter, x);
        }
        break;
    case Op::Text:
        if (v.kind == Value::Kind::Text)
            editText(out, it.w, v.t);
        else
            stars(out, it.w == 0 ? 1 : it.w);
        break;
    default: break;
    }
}

class UnitSlot;

// Collects the lines of one write; a long write is handed on in chunks.
struct Lines {
    std::string& out;
    UnitSlot* target = nullptr;
    void end();
};

void runLayout(const Layout::Impl& L, std::span<const FArg> args, Lines& lines) {
    std::string& out = lines.out;
    Values values(args);
    if (L.pageLine) {
        out.push_back('1');
        lines.end();
        if (L.pageOnly) return;
    }
    struct Frame {
        std::size_t begin;
        int left;
    };
    Frame stack[kMaxDepth];
    int scale = 0;  // holds for the whole write, across reversion
    for (;;) {
        int top = 0;
        bool stop = false;
        for (std::size_t k = 0; k < L.items.size() && !stop; ++k) {
            const Item& it = L.items[k];
            switch (it.op) {
            case Op::Literal:
                for (int r = 0; r < it.count; ++r) out.append(L.text, it.pos, it.len);
                break;
            case Op::Skip: out.append(std::size_t(it.w), ' '); break;
            case Op::Slash: lines.end(); break;
            case Op::Scale: scale = it.d; break;
            case Op::GroupBegin: stack[top++] = {k, it.count}; break;
            case Op::GroupEnd:
                if (--stack[top - 1].left > 0)
                    k = stack[top - 1].begin;
                else
                    --top;
                break;
            default:
                for (int r = 0; r < it.count; ++r) {
                    if (!values.more()) {  // values ran out: stop at this field
                        stop = true;
                        break;
                    }
                    editField(out, it, values.next(), scale);
                }
            }
        }
        if (stop || !L.hasData || !values.more()) break;
        lines.end();  // more values than fields: the layout again, on a new line
    }
    lines.end();
}

} // namespace

// ---------------------------------------------------------------- units

namespace {

class UnitSlot {
public:
    int unit = 0;
    std::string* sink = nullptr;
    UnitFile* file = nullptr;

    void deliver(std::string& text) {
        if (sink)
            sink->append(text);
        else if (file)
            file->put(text.data(), text.size());
        text.clear();
    }
};

constexpr int kMaxUnits = 16;
UnitSlot g_units[kMaxUnits];
int g_unitCount = 0;

UnitSlot* findUnit(int unit) {
    for (int i = 0; i < g_unitCount; ++i)
        if (g_units[i].unit == unit) return &g_units[i];
    return nullptr;
}

UnitSlot* addUnit(int unit) {
    if (g_unitCount == kMaxUnits) return nullptr;
    g_units[g_unitCount] = UnitSlot{unit, nullptr, nullptr};
    return &g_units[g_unitCount++];
}

void dropIfUnused(UnitSlot* slot) {
    if (slot->sink || slot->file) return;
    *slot = g_units[--g_unitCount];
}

constexpr std::size_t kChunk = std::size_t(1) << 16;

void Lines::end() {
    out.push_back('\n');
    if (target && out.size() >= kChunk) target->deliver(out);
}

std::string& scratch() {
    thread_local std::string s;
    return s;
}

} // namespace

void fwrite(int unit, const Layout& layout, std::span<const FArg> args) {
    UnitSlot* slot = findUnit(unit);
    if (!slot) return;
    std::string& out = scratch();
    out.clear();
    Lines lines{out, slot};
    runLayout(layout.impl(), args, lines);
    slot->deliver(out);
}

void fwrite(int unit, const Layout& layout, std::initializer_list<FArg> args) {
    fwrite(unit, layout, std::span<const FArg>(args.begin(), args.size()));
}

std::string fformat(const Layout& layout, std::span<const FArg> args) {
    std::string out;
    Lines lines{out};
    runLayout(layout.impl(), args, lines);
    return out;
}

std::string fformat(const Layout& layout, std::initializer_list<FArg> args) {
    return fformat(layout, std::span<const FArg>(args.begin(), args.size()));
}

void attachSink(int unit, std::string* sink) {
    if (!sink) {
        detachSink(unit);
        return;
    }
    UnitSlot* slot = findUnit(unit);
    if (!slot) slot = addUnit(unit);
    if (!slot) throw std::length_error("too many connected units");
    slot->sink = sink;
}

void detachSink(int unit) {
    if (UnitSlot* slot = findUnit(unit)) {
        slot->sink = nullptr;
        dropIfUnused(slot);
    }
}

// ---------------------------------------------------------------- files

namespace {

safereplace::Step g_injectFailure = safereplace::Step::none;  // set by tests only

} // namespace

void UnitFile::injectFailure(safereplace::Step step) noexcept { g_injectFailure = step; }

UnitFile::~UnitFile() {
    if (m_fd < 0) return;
    ::close(m_fd);
    ::unlink(m_temp.c_str());
    m_fd = -1;
    disconnect();
}

// The log is written as every whole file is (replace/safereplace.h): a
// symbolic link is followed only where no other user can have put it (the
// user's or the superuser's own link, or another's in a folder of the
// user's that nobody else may write), so a link planted in a shared folder
// never has a file of the user replaced; a folder, FIFO or device is
// refused before anything is created.
int UnitFile::open(int unit, const char* path) noexcept {
    if (m_fd >= 0) return EBUSY;
    const safereplace::Step failAt = g_injectFailure;
    g_injectFailure = safereplace::Step::none;
    UnitSlot* slot = findUnit(unit);
    if (slot && slot->file) return EBUSY;
    int refused = 0;
    try {
        refused = safereplace::Check(path ? path : "", m_target);
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    if (refused) return refused;
    m_buffer.reset(new (std::nothrow) char[kBufferSize]);
    if (!m_buffer) return ENOMEM;
    if (!slot) slot = addUnit(unit);
    if (!slot) {
        m_buffer.reset();
        return EMFILE;
    }
    int fd = -1;
    try {
        fd = safereplace::OpenTemp(m_target, m_temp);
    } catch (const std::bad_alloc&) {
        fd = -ENOMEM;
    }
    if (fd < 0) {
        m_buffer.reset();
        dropIfUnused(slot);
        return -fd;
    }
    m_fd = fd;
    m_unit = unit;
    m_error = 0;
    m_used = 0;
    m_failAt = failAt;
    slot->file = this;
    return 0;
}

void UnitFile::disconnect() noexcept {
    if (UnitSlot* slot = findUnit(m_unit); slot && slot->file == this) {
        slot->file = nullptr;
        dropIfUnused(slot);
    }
    m_buffer.reset();
    m_used = 0;
}

int UnitFile::close() noexcept {
    if (m_fd < 0) return 0;
    flush();
    if (m_error == 0) m_error = safereplace::Finish(m_fd, m_target, m_failAt);
    if (::close(m_fd) != 0 && m_error == 0) m_error = errno;
    m_fd = -1;
    if (m_error == 0)
        m_error = safereplace::Replace(m_temp, m_target, m_failAt);
    else
        ::unlink(m_temp.c_str());
    disconnect();
    const int err = m_error;
    m_error = 0;
    return err;
}

void UnitFile::put(const char* text, std::size_t size) noexcept {
    if (m_fd < 0 || m_error != 0) return;
    if (m_used + size > kBufferSize) flush();
    if (size > kBufferSize) {
        writeAll(text, size);
        return;
    }
    std::memcpy(m_buffer.get() + m_used, text, size);
    m_used += size;
}

void UnitFile::flush() noexcept {
    if (m_used > 0 && m_error == 0) writeAll(m_buffer.get(), m_used);
    m_used = 0;
}

void UnitFile::writeAll(const char* text, std::size_t size) noexcept {
    while (size > 0 && m_error == 0) {
        const ssize_t n = m_failAt == safereplace::Step::write ? (errno = ENOSPC, -1) : ::write(m_fd, text, size);
        if (n < 0) {
            if (errno != EINTR) m_error = errno;
            continue;
        }
        text += n;
        size -= std::size_t(n);
    }
}

} // namespace solvika
