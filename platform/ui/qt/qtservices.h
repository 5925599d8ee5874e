// The Qt implementations of the layer's services (platform/ui/core/
// services.h) and of the message service, with the conversions they rest
// on. Native dialogs are never used, so the dialogs behave the same under
// Xvfb and on every desktop.
#pragma once

#include <map>

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>

#include <memory>

#include "platform/afx/message.h"
#include "platform/ui/core/services.h"
#include "platform/ui/core/wnd.h"

class QWidget;

// The widget of a window's peer, or null.
QWidget* AfxQtWidgetOf(const CWnd* pWnd);
// The parent for a dialog of pWnd: its top-level widget, else the active
// window.
QWidget* AfxQtDialogParent(const CWnd* pWnd);

// ---- Message boxes ----------------------------------------------------------
// Gives box the buttons, default button, Escape answer, icon, caption
// ("Brantel" when null) and text of a message box of type nType.
void AfxQtSetUpMessageBox(QMessageBox& box, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType);
// The answer (IDOK, IDCANCEL, IDYES, ...) of a finished box.
int AfxQtMessageBoxAnswer(const QMessageBox& box);

class CQtMessageService : public CMessageService
{
public:
    // The wait cursor is lifted while the box is up, then shown again.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) override;
};

// ---- File dialogs -----------------------------------------------------------
// "description|pattern|...||" to Qt name filters. The pattern field decides:
// a description's trailing parenthesised patterns are replaced by it, so
// what the dialog shows and what it filters agree. "*.*" becomes "*";
// blanks are simplified as QFileDialog shows them.
QStringList AfxQtFileFilters(const CString& strFilter);
// The extension a Qt name filter stands for ("jpg" of "JPEG (*.jpg)"):
// empty unless the filter has exactly one pattern "*.ext".
QString AfxQtFilterSuffix(const QString& filter);

class CQtFileDialogs : public CFileDialogService
{
public:
    AfxFileDialogResult ShowFileDialog(const AfxFileDialogRequest& request, CWnd* pParent) override;
};

// ---- Fonts and colours ------------------------------------------------------
// lfHeight is a pixel height: negative for the character height (the pixel
// size), positive for the cell height.
QFont AfxQtFontFromLogFont(const LOGFONT& lf);
LOGFONT AfxQtLogFontFromFont(const QFont& font);
QColor AfxQtColor(COLORREF clr);
COLORREF AfxQtColorRef(const QColor& color);

class CQtFontDialogs : public CFontDialogService
{
public:
    BOOL ChooseFont(LOGFONT& lf, CWnd* pParent) override;
};

class CQtColorDialogs : public CColorDialogService
{
public:
    BOOL ChooseColor(COLORREF& clr, CWnd* pParent) override;
};

// ---- Popup menus, clipboard, opener, beep, cursor ---------------------------
class QMenu;
// Fills menu with the entries (texts, current ids as action data, enabled
// and checked states; popups as sub-menus).
void AfxQtFillMenu(QMenu& menu, const AfxMenu& entries);

class CQtPopupMenus : public CPopupMenuService
{
public:
    UINT TrackPopupMenu(const AfxMenu& menu, CPoint ptScreen, CWnd* pOwner) override;
};

class CQtClipboard : public CClipboardService
{
public:
    BOOL SetDib(const BITMAPINFOHEADER& header, const void* pBits, std::size_t nBytes) override;
};
// The image of a bottom-up 24- or 32-bit DIB (null for other formats or
// too few bytes).
class QImage;
QImage AfxQtImageFromDib(const BITMAPINFOHEADER& header, const void* pBits, std::size_t nBytes);

class CQtOpener : public COpenerService
{
public:
    BOOL OpenFile(LPCTSTR lpszPath) override;
};

class CQtBeeper : public CBeepService
{
public:
    void Beep(DWORD dwFreq, DWORD dwDuration) override;
};

class CQtCursor : public CCursorService
{
public:
    void ShowWaitCursor(BOOL bShow) override;
    // On the view widget the mouse last entered or moved over (see
    // AfxQtSetCursorWidget); only when it changes.
    void SetCursor(const AfxCursorResource* pCursor) override;
};

// ---- Profile ----------------------------------------------------------------
// "$XDG_CONFIG_HOME/Vornetic Applications/brantel.ini", under ~/.config
// when XDG_CONFIG_HOME is unset or empty: never the working folder.
QString AfxQtProfilePath();

// The profile in a QSettings INI file. Section and entry names are kept as
// given; ints, strings and binary blobs round-trip.
class CQtProfile : public CProfileService
{
public:
    explicit CQtProfile(const QString& path = AfxQtProfilePath());
    BOOL GetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int& nValue) override;
    BOOL GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, CString& strValue) override;
    BOOL GetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, std::vector<BYTE>& data) override;
    BOOL WriteInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) override;
    BOOL WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) override;
    BOOL WriteBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData,
                     UINT nBytes) override;
    // Writes what is pending to the file. Until then writes stay in memory
    // (reads see them): a running program writes nothing before it ends.
    void Flush();
    QSettings& Settings() { return m_settings; }

private:
    QVariant Value(const QString& key) const;
    QSettings m_settings;
    std::map<QString, QVariant> m_pending;
};
