// The formatted writer: field editing, layout control and units.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace solvika;

namespace {

const double kPi = 3.14159265358979323846;
const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Golden {
    const char* layout;
    std::vector<FArg> values;
    const char* text;
};

// Every field width the run log uses, the edge cases of each edit
// descriptor, and the line control of a write.
const std::vector<Golden>& goldenTable() {
    static const std::vector<Golden> table = {
        // Integers, every width in use.
        {"I3", {7}, "  7\n"},
        {"I3", {-12}, "-12\n"},
        {"I3", {1000}, "***\n"},
        {"I3", {-100}, "***\n"},
        {"I4", {-999}, "-999\n"},
        {"I5", {12345}, "12345\n"},
        {"I6", {-1}, "    -1\n"},
        {"I7", {0}, "      0\n"},
        {"I8", {12345678}, "12345678\n"},
        {"I9", {-12345678}, "-12345678\n"},
        {"I10", {2147483647}, "2147483647\n"},
        {"I11", {-2147483647 - 1}, "-2147483648\n"},
        {"I12", {std::int64_t(123456789012)}, "123456789012\n"},
        {"I13", {std::int64_t(-123456789012)}, "-123456789012\n"},
        {"I15", {std::int64_t(1) << 40}, "  1099511627776\n"},
        // Fixed point.
        {"F9.3", {12.3456}, "   12.346\n"},
        {"F9.3", {-0.5}, "   -0.500\n"},
        {"F9.3", {0.0}, "    0.000\n"},
        {"F9.3", {-0.0}, "    0.000\n"},
        {"F9.3", {-0.0001}, "   -0.000\n"},
        {"F9.3", {12345.678}, "12345.678\n"},
        {"F9.3", {999999.9996}, "*********\n"},
        {"F7.3", {1000.0}, "*******\n"},
        {"F7.3", {100.0}, "100.000\n"},
        {"F7.3", {99.9994}, " 99.999\n"},
        {"F5.3", {0.25}, "0.250\n"},
        {"F4.3", {0.25}, ".250\n"},
        {"F5.3", {-0.25}, "-.250\n"},
        {"F4.3", {-0.25}, "****\n"},
        {"F5.0", {12.0}, "  12.\n"},
        {"F7.3", {kNaN}, "    NaN\n"},
        {"F9.3", {kInf}, " Infinity\n"},
        {"F9.3", {-kInf}, "-Infinity\n"},
        {"F7.3", {kInf}, "    Inf\n"},
        {"F7.3", {-kInf}, "   -Inf\n"},
        {"F7.3", {5}, "  5.000\n"},
        // Rounding is that of the exact binary value: ties go to even.
        {"F5.2", {0.125}, " 0.12\n"},
        {"F5.2", {0.375}, " 0.38\n"},
        {"1P E10.2", {0.0625}, "  6.25E-02\n"},
        {"1P E9.1", {0.0625}, "  6.2E-02\n"},
        // Exponent form with 1P, every width in use.
        {"1P E11.3", {1.0e-10}, "  1.000E-10\n"},
        {"1P E11.4", {9.99996}, " 1.0000E+01\n"},
        {"1P E11.4", {-9.99994}, "-9.9999E+00\n"},
        {"1P E11.4", {1.0e100}, " 1.0000+100\n"},
        {"1P E11.4", {-2.5e-123}, "-2.5000-123\n"},
        {"1P E11.4", {0.0}, " 0.0000E+00\n"},
        {"1P E11.4", {-0.0}, " 0.0000E+00\n"},
        {"1P E11.4", {kNaN}, "        NaN\n"},
        {"1P E11.4", {-kInf}, "  -Infinity\n"},
        {"1P E12.3", {123.456}, "   1.235E+02\n"},
        {"1P E12.4", {-0.001}, " -1.0000E-03\n"},
        {"1P E13.5", {kPi}, "  3.14159E+00\n"},
        {"1P E14.4", {2.0e5}, "    2.0000E+05\n"},
        {"1P E14.5", {-1.0}, "  -1.00000E+00\n"},
        {"1P E15.4", {25.0}, "     2.5000E+01\n"},
        {"1P E15.6", {1.0 / 3.0}, "   3.333333E-01\n"},
        {"1P E15.7", {-2.0 / 3.0}, " -6.6666667E-01\n"},
        {"1P E16.5", {6.02214076e23}, "     6.02214E+23\n"},
        {"1P E17.7", {1.0e-300}, "    1.0000000-300\n"},
        {"1P E18.7", {kPi}, "     3.1415927E+00\n"},
        {"1P E8.4", {1.0}, "********\n"},
        {"1P D15.4", {-kPi}, "    -3.1416D+00\n"},
        {"1P D16.5", {1.5e-7}, "     1.50000D-07\n"},
        {"1P D23.14", {kPi}, "   3.14159265358979D+00\n"},
        {"1P D24.15", {-kPi}, "  -3.141592653589793D+00\n"},
        {"1P D15.4", {1.0e250}, "     1.0000+250\n"},
        // Without a scale factor the mantissa starts with "0."; its 0 goes
        // when the field is tight.
        {"E11.4", {kPi}, " 0.3142E+01\n"},
        {"E10.4", {-kPi}, "-.3142E+01\n"},
        // 1P holds for every later exponent field of the write.
        {"I5 1P E12.3 E11.3 4E13.5", {3, 1.5, 2.5, 1.0, 2.0, 3.0, 4.0},
         "    3   1.500E+00  2.500E+00  1.00000E+00  2.00000E+00  3.00000E+00  4.00000E+00\n"},
        {"1P E17.7 1P 2E15.7", {1.0, 2.0, 3.0}, "    1.0000000E+00  2.0000000E+00  3.0000000E+00\n"},
        // Text.
        {"'Storage format : ' A7", {"SKYLINE"}, "Storage format : SKYLINE\n"},
        {"A10", {"abc"}, "       abc\n"},
        {"A3", {"PFMNUM"}, "PFM\n"},
        {"A13", {"Q8-element"}, "   Q8-element\n"},
        {"'<' A '>'", {"own length"}, "<own length>\n"},
        {"A18", {std::string_view("Lanczos")}, "           Lanczos\n"},
        // Literals, blanks and repeats.
        {"5X 'Node' I6 ' is not connected'", {17}, "     Node    17 is not connected\n"},
        {"'it''s \"NEW\"'", {}, "it's \"NEW\"\n"},
        {"6X 72('-')", {},
         "      ------------------------------------------------------------------------\n"},
        {"3I6", {1, 2, 3}, "     1     2     3\n"},
        {"2(I3 'x')", {1, 2}, "  1x  2x\n"},
        {"2(2('ab') '|')", {}, "abab|abab|\n"},
        {"I12 2X 'I' I7 9I6 / 14X 'I'", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         "           1  I      2     3     4     5     6     7     8     9    10    11\n"
         "              I\n"},
        // Line control: leading, inner and trailing slashes.
        {"/ 20X '*** Brantel - log and error file ***' / /", {},
         "\n                    *** Brantel - log and error file ***\n\n\n"},
        {"/ / I12 ' storage locations allocated for stiffness matrix'", {1234},
         "\n\n        1234 storage locations allocated for stiffness matrix\n"},
        {"'a' / 'b'", {}, "a\nb\n"},
        // A layout beginning with "1": a line holding only "1" first.
        {"'1' / 5X 3('*') / 'x'", {}, "1\n     ***\nx\n"},
        {"'1' 4X 'Table' /", {}, "1\n    Table\n\n"},
        {"'1' I3", {5}, "1\n  5\n"},
        {"'1'", {}, "1\n"},
        {"'1' /", {}, "1\n\n"},
        {"'12'", {}, "1\n2\n"},
        // More values than fields: the layout again on a new line.
        {"2I10 5I7", {1, 2, 3, 4, 5, 6, 7, 8, 9},
         "         1         2      3      4      5      6      7\n"
         "         8         9\n"},
        {"I3 ':' I3", {1, 2, 3}, "  1:  2\n  3:\n"},
        // Values run out: literals, blanks and slashes up to the next field.
        {"/ 8I15", {1, 2, 3, 4, 5, 6},
         "\n              1              2              3              4              5              6\n"},
        {"5X '(the requested number was' I5 '  )'", {3}, "     (the requested number was    3  )\n"},
        {"5X 'Node' I6 ' is not connected'", {}, "     Node\n"},
        {"I5 / I5 / 'end'", {1}, "    1\n\n"},
        // Layout without fields: extra values are ignored.
        {"'done'", {1, 2}, "done\n"},
        // Values of the wrong kind for the field print asterisks.
        {"I4 A3", {2.5, 7}, "*******\n"},
    };
    return table;
}

} // namespace

TEST(FWrite, GoldenTable) {
    for (const Golden& g : goldenTable()) {
        SCOPED_TRACE(g.layout);
        const Layout layout(g.layout);
        std::string sink;
        attachSink(42, &sink);
        fwrite(42, layout, std::span<const FArg>(g.values));
        detachSink(42);
        EXPECT_EQ(sink, g.text);
    }
}

TEST(FWrite, SpansGiveOneValuePerElementAndBothIntegerSizes) {
    const Layout layout("I5 1P 3E12.4");
    std::vector<std::int32_t> node{7};
    const double xyz[] = {1.0, -2.0, 0.5};
    EXPECT_EQ(fformat(layout, {node, std::span<const double>(xyz)}),
              "    7  1.0000E+00 -2.0000E+00  5.0000E-01\n");
    const std::int64_t big[] = {std::int64_t(1) << 33, -5};
    EXPECT_EQ(fformat(Layout("2I12"), {std::span<const std::int64_t>(big)}), "  8589934592          -5\n");
    // An empty span gives no value; the write stops at the first field.
    EXPECT_EQ(fformat(Layout("'n:' I3"), {std::span<const std::int32_t>()}), "n:\n");
    std::size_t count = 12;
    EXPECT_EQ(fformat(Layout("I4"), {count}), "  12\n");
}

TEST(FWrite, MalformedLayoutsAreRefused) {
    for (const char* bad : {"I", "I0", "F7", "F7.", "F7.7", "E11.4.", "Q5", "'open", "2(I3", "I3)", "0X", "3)",
                            "P", "-1X", "A0", "(((((((((I3)))))))))"}) {
        SCOPED_TRACE(bad);
        EXPECT_THROW(Layout{bad}, std::invalid_argument);
    }
    EXPECT_NO_THROW(Layout("(I3, 1PE11.4, 2x, a)"));
}

TEST(FWrite, OnlyConnectedUnitsReceiveText) {
    const Layout layout("'x'");
    std::string sink10, sink11;
    attachSink(11, &sink11);
    fwrite(0, layout);
    fwrite(-1, layout);
    fwrite(10, layout);  // no run open: unit 10 goes nowhere too
    fwrite(11, layout);
    detachSink(11);
    fwrite(11, layout);
    EXPECT_EQ(sink11, "x\n");
    attachSink(10, &sink10);
    attachSink(0, &sink11);
    fwrite(10, layout);
    fwrite(0, layout);
    detachSink(10);
    detachSink(0);
    EXPECT_EQ(sink10, "x\n");
    EXPECT_EQ(sink11, "x\nx\n");
}

TEST(FWrite, LongWritesArriveWhole) {
    // Far more than the chunk the writer hands on at once.
    std::vector<double> values(40000);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = double(i);
    const Layout layout("1P 8E15.7");
    std::string sink;
    attachSink(12, &sink);
    fwrite(12, layout, {values});
    detachSink(12);
    EXPECT_EQ(sink, fformat(layout, {values}));
    EXPECT_EQ(std::count(sink.begin(), sink.end(), '\n'), 40000 / 8);
    EXPECT_EQ(sink.substr(0, 31), "  0.0000000E+00  1.0000000E+00 ");
}
