// Scripted implementations of the layer's services for tests. Dialogs,
// popup menus and message boxes are strict: each one shown takes the next
// scripted answer, and one shown without an answer fails the test (and is
// cancelled); answers left over fail it at the end (Verify). Everything
// shown is recorded. The clipboard, opener, beep and cursor only record.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/afx/message.h"
#include "platform/ui/core/gdi.h"
#include "platform/ui/core/services.h"

namespace afxui::headless
{

// Reports a misuse of the scripted services (an unexpected box, a
// scripted answer left over, a control a user cannot reach) and goes on.
// Without a reporter installed the message goes to standard error; the
// HeadlessApp fixture's header installs one that fails the running test.
void ReportFailure(const std::string& message);
using FailureReporter = void (*)(const std::string& message);
// Installs `reporter` (null: back to standard error); returns the previous one.
FailureReporter SetFailureReporter(FailureReporter reporter);

// Answers in order, with the requests recorded; what names the dialog kind
// in failure messages.
template <class Request, class Answer> class Script
{
public:
    explicit Script(const char* what) : m_what(what) {}

    void Push(Answer answer) { m_answers.push_back(std::move(answer)); }
    // Records the request and gives the next answer, or fails the test and
    // gives nothing.
    std::optional<Answer> Next(Request request);
    const std::vector<Request>& Requests() const { return m_requests; }
    void Verify();

private:
    const char* m_what;
    std::deque<Answer> m_answers;
    std::vector<Request> m_requests;
};

template <class Request, class Answer>
std::optional<Answer> Script<Request, Answer>::Next(Request request)
{
    m_requests.push_back(std::move(request));
    if (m_answers.empty()) {
        ReportFailure(std::string("unexpected ") + m_what + ": no answer was scripted");
        return std::nullopt;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

template <class Request, class Answer> void Script<Request, Answer>::Verify()
{
    if (!m_answers.empty())
        ReportFailure(std::to_string(m_answers.size()) + " scripted " + m_what +
                      " answer(s) were never used");
    m_answers.clear();
}

// Message boxes: each one shown must match the next expectation's text byte
// for byte, and is answered by it.
class StrictMessageService : public CMessageService
{
public:
    struct Box {
        std::string text;
        std::optional<std::string> caption; // none when the caller passed null
        UINT type;
        int answer;
    };

    void Expect(std::string text, int answer = IDOK);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) override;

    const std::vector<Box>& Shown() const { return m_shown; }
    std::vector<std::string> Texts() const;
    void Verify();

private:
    std::deque<std::pair<std::string, int>> m_expected;
    std::vector<Box> m_shown;
};

class ScriptedFileDialogs : public CFileDialogService
{
public:
    void Choose(std::vector<CString> paths, int nFilterIndex = 1);
    void Cancel();
    AfxFileDialogResult ShowFileDialog(const AfxFileDialogRequest& request, CWnd* pParent) override;
    const std::vector<AfxFileDialogRequest>& Shown() const { return m_script.Requests(); }
    void Verify() { m_script.Verify(); }

private:
    Script<AfxFileDialogRequest, AfxFileDialogResult> m_script{"file dialog"};
};

class ScriptedFontDialogs : public CFontDialogService
{
public:
    void Choose(const LOGFONT& lf) { m_script.Push(lf); }
    void Cancel() { m_script.Push(std::nullopt); }
    BOOL ChooseFont(LOGFONT& lf, CWnd* pParent) override;
    // The fonts the dialogs started from.
    const std::vector<LOGFONT>& Shown() const { return m_script.Requests(); }
    void Verify() { m_script.Verify(); }

private:
    Script<LOGFONT, std::optional<LOGFONT>> m_script{"font dialog"};
};

class ScriptedColorDialogs : public CColorDialogService
{
public:
    void Choose(COLORREF clr) { m_script.Push(clr); }
    void Cancel() { m_script.Push(std::nullopt); }
    BOOL ChooseColor(COLORREF& clr, CWnd* pParent) override;
    const std::vector<COLORREF>& Shown() const { return m_script.Requests(); }
    void Verify() { m_script.Verify(); }

private:
    Script<COLORREF, std::optional<COLORREF>> m_script{"colour dialog"};
};

class ScriptedPopupMenus : public CPopupMenuService
{
public:
    struct Shown {
        AfxMenu menu;
        CPoint point;
    };
    // Picks the enabled item whose current id is nID; picking an id the menu
    // does not show enabled fails the test and dismisses the menu.
    void Pick(UINT nID) { m_script.Push(nID); }
    void Dismiss() { m_script.Push(0); }
    UINT TrackPopupMenu(const AfxMenu& menu, CPoint ptScreen, CWnd* pOwner) override;
    const std::vector<Shown>& Menus() const { return m_script.Requests(); }
    void Verify() { m_script.Verify(); }

private:
    Script<Shown, UINT> m_script{"popup menu"};
};

class ScriptedPrintDialogs : public CPrintService
{
public:
    // Accepts the next dialog, letting edit change the request first.
    void Accept(std::function<void(AfxPrintRequest&)> edit = {}) { m_script.Push(std::move(edit)); }
    void Cancel() { m_script.Push(std::nullopt); }
    BOOL ShowPrintDialog(AfxPrintRequest& request, CWnd* pParent) override;
    // A fresh recording printer for each print run.
    CDC* GetPrinterDC(const AfxPrintRequest& request) override;
    const std::vector<AfxPrintRequest>& Shown() const { return m_script.Requests(); }
    // The printer of the last run, or null before any.
    RecordingDC* Printer() { return m_printer.get(); }
    void Verify() { m_script.Verify(); }

private:
    std::unique_ptr<RecordingDC> m_printer;
    Script<AfxPrintRequest, std::optional<std::function<void(AfxPrintRequest&)>>> m_script{
        "print dialog"};
};

class RecordingClipboard : public CClipboardService
{
public:
    struct Image {
        BITMAPINFOHEADER header;
        std::vector<BYTE> bits;
    };
    BOOL SetDib(const BITMAPINFOHEADER& header, const void* pBits, std::size_t nBytes) override;
    const std::vector<Image>& Images() const { return m_images; }

private:
    std::vector<Image> m_images;
};

class RecordingOpener : public COpenerService
{
public:
    BOOL OpenFile(LPCTSTR lpszPath) override;
    // What OpenFile answers (TRUE unless set).
    void SetResult(BOOL bResult) { m_bResult = bResult; }
    const std::vector<CString>& Opened() const { return m_opened; }

private:
    BOOL m_bResult = TRUE;
    std::vector<CString> m_opened;
};

class RecordingBeeper : public CBeepService
{
public:
    void Beep(DWORD dwFreq, DWORD dwDuration) override { m_beeps.emplace_back(dwFreq, dwDuration); }
    const std::vector<std::pair<DWORD, DWORD>>& Beeps() const { return m_beeps; }

private:
    std::vector<std::pair<DWORD, DWORD>> m_beeps;
};

class RecordingCursor : public CCursorService
{
public:
    void ShowWaitCursor(BOOL bShow) override { m_changes.push_back(bShow != FALSE); }
    bool IsWaitShown() const { return !m_changes.empty() && m_changes.back(); }
    // Each show (true) and lift (false) in order.
    const std::vector<bool>& Changes() const { return m_changes; }

private:
    std::vector<bool> m_changes;
};

// The profile in memory. Entries are kept as an INI file keeps them: ints
// as decimal text (so GetInt reads a string entry as a number, and
// GetString an int entry as its text) and blobs apart.
class MemoryProfile : public CProfileService
{
public:
    BOOL GetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int& nValue) override;
    BOOL GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, CString& strValue) override;
    BOOL GetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, std::vector<BYTE>& data) override;
    BOOL WriteInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) override;
    BOOL WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) override;
    BOOL WriteBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData,
                     UINT nBytes) override;

    struct Value {
        bool binary = false;
        std::string text;       // ints and strings
        std::vector<BYTE> data; // blobs
    };
    typedef std::map<std::pair<std::string, std::string>, Value> Entries;
    const Entries& GetEntries() const { return m_entries; }

private:
    const Value* Find(LPCTSTR lpszSection, LPCTSTR lpszEntry) const;
    Entries m_entries;
};

} // namespace afxui::headless
