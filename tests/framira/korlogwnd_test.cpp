// The log window: its tabs, trimming at the text limit and the scroll range
// that follows the active tab.
#include <string>
#include <vector>

#include "framework/framira.h"
#include "platform/ui/headless/afxui_headless.h"

namespace
{

using afxui::headless::HeadlessApp;

CStringArray Lines(std::initializer_list<const char*> texts)
{
    CStringArray lines;
    for (const char* t : texts)
        lines.Add(t);
    return lines;
}

std::string Text(const CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return std::string(text);
}

class KorLogWndTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Brantel", WS_OVERLAPPEDWINDOW, CRect(), nullptr, 0));
        ASSERT_TRUE(log.Create(frame));
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        HeadlessApp::TearDown();
    }
    CFrameWnd* frame = nullptr; // deletes itself
    KorLogWnd log;
};

TEST_F(KorLogWndTest, HasALogAndAnErrorTabAndWritingKeepsTheActiveOne)
{
    CTabWnd& tabs = log.GetTabWnd();
    ASSERT_EQ(tabs.GetTabCount(), 2);
    EXPECT_EQ(std::string(tabs.GetTabLabel(0)), "Log");
    EXPECT_EQ(std::string(tabs.GetTabLabel(1)), "Error");
    EXPECT_EQ(log.GetLogEdit().GetDlgCtrlID(), 3094);
    EXPECT_EQ(log.GetErrorEdit().GetDlgCtrlID(), 3095);
    EXPECT_TRUE(log.GetLogEdit().GetStyle() & ES_READONLY);
    EXPECT_FALSE(log.GetErrorEdit().GetStyle() & ES_READONLY);
    // The log lines up in columns: fixed pitch, unwrapped; the error tab keeps the dialog font.
    const CWndState* logState = log.GetLogEdit().GetState();
    ASSERT_TRUE(logState->font.has_value());
    EXPECT_EQ(std::string(logState->font->lfFaceName), "DejaVu Sans Mono");
    EXPECT_EQ(logState->font->lfPitchAndFamily & 0xF0, FF_MODERN);
    EXPECT_TRUE(log.GetLogEdit().GetStyle() & ES_AUTOHSCROLL);
    EXPECT_FALSE(log.GetErrorEdit().GetState()->font.has_value());
    EXPECT_EQ(tabs.GetActiveTab(), 0);

    CStringArray lines = Lines({"Meshing\r\n", "Done\r\n"});
    CStringArray errors = Lines({"Region 3 is open\r\n"});
    log.WriteErrorEntry(&errors);
    EXPECT_EQ(tabs.GetActiveTab(), 0);
    log.ScrollToTab(1);
    log.WriteLogEntry(&lines);
    EXPECT_EQ(tabs.GetActiveTab(), 1);
    EXPECT_EQ(Text(log.GetLogEdit()), "Meshing\r\nDone\r\n");
    EXPECT_EQ(Text(log.GetErrorEdit()), "Region 3 is open\r\n");

    log.EmptyLog();
    EXPECT_EQ(Text(log.GetLogEdit()), "");
    EXPECT_EQ(Text(log.GetErrorEdit()), "Region 3 is open\r\n");
}

TEST_F(KorLogWndTest, TheScrollRangeFollowsTheActiveTab)
{
    CScrollBar* bar = log.GetTabWnd().GetScrollBar(SB_VERT);
    ASSERT_NE(bar, nullptr);
    bar->SetScrollRange(0, 99);
    CStringArray errors = Lines({"a\r\n", "b\r\n"});
    int lo = 0, hi = 0;
    // "Log" active: the error edit's own range.
    log.WriteErrorEntry(&errors);
    log.GetErrorEdit().GetScrollRange(SB_VERT, &lo, &hi);
    EXPECT_EQ(hi, 3);
    bar->GetScrollRange(&lo, &hi);
    EXPECT_EQ(hi, 99);
    // "Error" active: the tab window's bar.
    log.ScrollToTab(1);
    log.WriteErrorEntry(&errors);
    bar->GetScrollRange(&lo, &hi);
    EXPECT_EQ(hi, 5);
    EXPECT_EQ(log.GetTabWnd().GetActiveTab(), 1);
}

// Limit, text before, strings written, text after.
struct TrimCase {
    const char* name;
    int limit;
    const char* before;
    std::vector<const char*> strings;
    const char* after;
};

TEST_F(KorLogWndTest, AtTheLimitTextGoesFromTheStartInBlocksOfTheNewString)
{
    const TrimCase cases[] = {
        {"fits", 10, "abc", {"def"}, "abcdef"},
        {"one block", 10, "abcdefg", {"xyz"}, "defgxyz"},
        {"blocks until below", 6, "abcdefgh", {"xy"}, "ghxy"},
        {"exactly at the limit drops", 10, "abcdefgh", {"xy"}, "cdefghxy"},
        {"too long keeps its tail", 6, "abc", {"0123456789"}, "56789"},
        {"empty strings are skipped", 5, "abcd", {"", ""}, "abcd"},
        {"inside a line end", 8, "ab\r\ncd", {"xyz"}, "\ncdxyz"},
        {"empty at a full limit", 4, "abcd", {""}, "abcd"},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(c.name);
        KorLogEdit& edit = log.GetErrorEdit();
        edit.LimitText(0);
        edit.SetWindowText(c.before);
        edit.LimitText(c.limit);
        CStringArray lines;
        for (const char* s : c.strings)
            lines.Add(s);
        edit.WriteText(&lines, nullptr);
        EXPECT_EQ(Text(edit), c.after);
        EXPECT_GE(edit.GetLineCount(), 1);
    }
}

TEST_F(KorLogWndTest, ALongRunKeepsTheNewestTextBelowTheDefaultLimit)
{
    KorLogEdit& edit = log.GetLogEdit();
    const int limit = static_cast<int>(edit.GetLimitText());
    CStringArray lines;
    for (int i = 0; i < 800; ++i) {
        CString line;
        line.Format("%04d %-43s\r\n", i, "step finished");
        lines.Add(line);
    }
    log.WriteLogEntry(&lines);
    const std::string text = Text(edit);
    EXPECT_LT(static_cast<int>(text.size()), limit);
    EXPECT_NE(text.find("0799 step finished"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

} // namespace
