// A frame's bar state in the profile: the backend's layout bytes and the
// layer's own list of which control bars show.
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/ui/core/bars.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/services.h"

namespace
{

constexpr const char* kLayoutEntry = "Layout";
constexpr const char* kVisibleEntry = "Visible";
constexpr const char* kFallbackSection = "VizBarState";

// The control bars among the frame's children (status bar included).
std::vector<CControlBar*> ControlBars(HWND hFrame)
{
    std::vector<CControlBar*> bars;
    for (CWndState* child : AfxGetChildStates(hFrame))
        if (auto* bar = dynamic_cast<CControlBar*>(child->Target()))
            bars.push_back(bar);
    return bars;
}

// Whether the section holds a bar state at all.
bool HasBarState(LPCTSTR lpszSection)
{
    CString text;
    BYTE* data = nullptr;
    UINT nBytes = 0;
    const bool layout = AfxGetProfileBinary(lpszSection, kLayoutEntry, &data, &nBytes);
    delete[] data;
    CProfileService* profile = AfxGetProfileService();
    return layout || (profile && profile->GetString(lpszSection, kVisibleEntry, text));
}

} // namespace

CString AfxFormatBarVisibility(const std::vector<AfxBarVisibility>& bars)
{
    CString text;
    for (const AfxBarVisibility& bar : bars) {
        if (!text.IsEmpty())
            text += ";";
        text += std::to_string(bar.nBarID) + (bar.bVisible ? "=1" : "=0");
    }
    return text;
}

std::vector<AfxBarVisibility> AfxParseBarVisibility(const CString& text)
{
    std::vector<AfxBarVisibility> bars;
    const std::string s(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(';', start);
        if (end == std::string::npos)
            end = s.size();
        const std::string part = s.substr(start, end - start);
        const std::size_t eq = part.find('=');
        if (eq != std::string::npos && eq > 0 && eq + 2 == part.size() &&
            (part[eq + 1] == '0' || part[eq + 1] == '1') &&
            part.find_first_not_of("0123456789") == eq) {
            errno = 0;
            const unsigned long id = std::strtoul(part.c_str(), nullptr, 10);
            if (errno == 0 && id <= 0xFFFFFFFFul)
                bars.push_back({static_cast<UINT>(id), part[eq + 1] == '1'});
        }
        start = end + 1;
    }
    return bars;
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName)
{
    if (!GetSafeHwnd())
        return;
    std::vector<AfxBarVisibility> list;
    for (CControlBar* bar : ControlBars(m_hWnd))
        list.push_back({static_cast<UINT>(bar->GetDlgCtrlID()), (bar->GetStyle() & WS_VISIBLE) != 0});
    AfxWriteProfileString(lpszProfileName, kVisibleEntry, AfxFormatBarVisibility(list));
    if (CWndBackend* backend = AfxGetWndBackend()) {
        const std::vector<BYTE> layout = backend->SaveBarLayout(*this);
        if (!layout.empty())
                AfxWriteProfileBinary(lpszProfileName, kLayoutEntry, layout.data(),
                                  static_cast<UINT>(layout.size()));
    }
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
    if (!GetSafeHwnd())
        return;
    LPCTSTR section = HasBarState(lpszProfileName) ? lpszProfileName : kFallbackSection;
    BYTE* data = nullptr;
    UINT nBytes = 0;
    if (AfxGetProfileBinary(section, kLayoutEntry, &data, &nBytes)) {
        const std::unique_ptr<BYTE[]> owned(data);
        if (CWndBackend* backend = AfxGetWndBackend())
            backend->RestoreBarLayout(*this, std::vector<BYTE>(data, data + nBytes));
    }
    // The layer's list decides last: the layout may carry its own notion.
    const std::vector<CControlBar*> bars = ControlBars(m_hWnd);
    for (const AfxBarVisibility& entry :
         AfxParseBarVisibility(AfxGetProfileString(section, kVisibleEntry, "")))
        for (CControlBar* bar : bars)
            if (static_cast<UINT>(bar->GetDlgCtrlID()) == entry.nBarID)
                ShowControlBar(bar, entry.bVisible, FALSE);
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar && pBar->GetSafeHwnd())
        pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CMDIFrameWnd::SetWorkbookMode(BOOL bWorkbook)
{
    m_bWorkbookMode = bWorkbook != FALSE;
    if (CWndState* state = GetState())
        state->Changed(PEER_STYLE);
}
