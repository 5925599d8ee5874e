#include "platform/ui/headless/scripted_services.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace afxui::headless
{

namespace
{
FailureReporter g_reporter = nullptr;
} // namespace

FailureReporter SetFailureReporter(FailureReporter reporter)
{
    const FailureReporter previous = g_reporter;
    g_reporter = reporter;
    return previous;
}

void ReportFailure(const std::string& message)
{
    if (g_reporter)
        g_reporter(message);
    else
        std::fprintf(stderr, "afxui_headless: %s\n", message.c_str());
}

// ---- Message boxes ---------------------------------------------------------------------

void StrictMessageService::Expect(std::string text, int answer)
{
    m_expected.emplace_back(std::move(text), answer);
}

int StrictMessageService::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    const std::string text = lpszText ? lpszText : "";
    int answer = AfxDefaultAnswer(nType);
    if (m_expected.empty())
        ReportFailure("unexpected message box \"" + text + "\"");
    else if (m_expected.front().first != text)
        ReportFailure("unexpected message box \"" + text + "\" where \"" +
                      m_expected.front().first + "\" was expected");
    else {
        answer = m_expected.front().second;
        m_expected.pop_front();
    }
    m_shown.push_back({text, lpszCaption ? std::optional<std::string>(lpszCaption) : std::nullopt,
                       nType, answer});
    return answer;
}

std::vector<std::string> StrictMessageService::Texts() const
{
    std::vector<std::string> texts;
    for (const Box& box : m_shown)
        texts.push_back(box.text);
    return texts;
}

void StrictMessageService::Verify()
{
    for (const auto& [text, answer] : m_expected)
        ReportFailure("expected message box \"" + text + "\" was never shown");
    m_expected.clear();
}

// ---- Dialogs and menus -----------------------------------------------------------------

void ScriptedFileDialogs::Choose(std::vector<CString> paths, int nFilterIndex)
{
    AfxFileDialogResult result;
    result.bOK = TRUE;
    result.paths = std::move(paths);
    result.nFilterIndex = nFilterIndex;
    m_script.Push(std::move(result));
}

void ScriptedFileDialogs::Cancel()
{
    m_script.Push(AfxFileDialogResult{});
}

AfxFileDialogResult ScriptedFileDialogs::ShowFileDialog(const AfxFileDialogRequest& request, CWnd*)
{
    std::optional<AfxFileDialogResult> answer = m_script.Next(request);
    if (!answer || !answer->bOK) {
        AfxFileDialogResult cancelled;
        cancelled.nFilterIndex = request.nFilterIndex;
        return cancelled;
    }
    return *answer;
}

namespace
{

// A dialog that starts from value and, unless cancelled, writes the choice.
template <class T> BOOL TakeChoice(Script<T, std::optional<T>>& script, T& value)
{
    std::optional<std::optional<T>> answer = script.Next(value);
    if (!answer || !*answer)
        return FALSE;
    value = **answer;
    return TRUE;
}

} // namespace

BOOL ScriptedFontDialogs::ChooseFont(LOGFONT& lf, CWnd*)
{
    return TakeChoice(m_script, lf);
}

BOOL ScriptedColorDialogs::ChooseColor(COLORREF& clr, CWnd*)
{
    return TakeChoice(m_script, clr);
}

namespace
{

bool ShowsEnabled(const AfxMenu& menu, UINT nID)
{
    return std::any_of(menu.begin(), menu.end(), [&](const AfxMenuEntry& e) {
        return e.popup.empty() ? !e.bSeparator && e.item.bEnabled && e.item.nCurrentID == nID
                               : ShowsEnabled(e.popup, nID);
    });
}

} // namespace

UINT ScriptedPopupMenus::TrackPopupMenu(const AfxMenu& menu, CPoint ptScreen, CWnd*)
{
    std::optional<UINT> answer = m_script.Next({menu, ptScreen});
    if (!answer || *answer == 0)
        return 0;
    if (!ShowsEnabled(menu, *answer)) {
        ReportFailure("the popup menu shows no enabled item " + std::to_string(*answer) +
                      " to pick");
        return 0;
    }
    return *answer;
}

BOOL ScriptedPrintDialogs::ShowPrintDialog(AfxPrintRequest& request, CWnd*)
{
    auto answer = m_script.Next(request);
    if (!answer || !*answer)
        return FALSE;
    if (**answer)
        (**answer)(request);
    return TRUE;
}

CDC* ScriptedPrintDialogs::GetPrinterDC(const AfxPrintRequest&)
{
    m_printer = std::make_unique<RecordingDC>();
    m_printer->m_bPrinting = true;
    return m_printer.get();
}

// ---- Recorders ---------------------------------------------------------------------------

BOOL RecordingClipboard::SetDib(const BITMAPINFOHEADER& header, const void* pBits,
                                std::size_t nBytes)
{
    const BYTE* bytes = static_cast<const BYTE*>(pBits);
    m_images.push_back({header, std::vector<BYTE>(bytes, bytes + nBytes)});
    return TRUE;
}

BOOL RecordingOpener::OpenFile(LPCTSTR lpszPath)
{
    m_opened.emplace_back(lpszPath);
    return m_bResult;
}

// ---- Profile -----------------------------------------------------------------------------

const MemoryProfile::Value* MemoryProfile::Find(LPCTSTR lpszSection, LPCTSTR lpszEntry) const
{
    auto it = m_entries.find({lpszSection ? lpszSection : "", lpszEntry ? lpszEntry : ""});
    return it == m_entries.end() ? nullptr : &it->second;
}

BOOL MemoryProfile::GetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int& nValue)
{
    const Value* value = Find(lpszSection, lpszEntry);
    if (!value || value->binary)
        return FALSE;
    nValue = std::atoi(value->text.c_str());
    return TRUE;
}

BOOL MemoryProfile::GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, CString& strValue)
{
    const Value* value = Find(lpszSection, lpszEntry);
    if (!value || value->binary)
        return FALSE;
    strValue = value->text;
    return TRUE;
}

BOOL MemoryProfile::GetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, std::vector<BYTE>& data)
{
    const Value* value = Find(lpszSection, lpszEntry);
    if (!value || !value->binary)
        return FALSE;
    data = value->data;
    return TRUE;
}

BOOL MemoryProfile::WriteInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    return WriteString(lpszSection, lpszEntry, std::to_string(nValue).c_str());
}

BOOL MemoryProfile::WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    Value& value = m_entries[{lpszSection ? lpszSection : "", lpszEntry ? lpszEntry : ""}];
    value = Value{false, lpszValue ? lpszValue : "", {}};
    return TRUE;
}

BOOL MemoryProfile::WriteBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData,
                                UINT nBytes)
{
    Value& value = m_entries[{lpszSection ? lpszSection : "", lpszEntry ? lpszEntry : ""}];
    value = Value{true, {}, std::vector<BYTE>(pData, pData + nBytes)};
    return TRUE;
}

} // namespace afxui::headless
