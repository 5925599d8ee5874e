#include "platform/ui/qt/qtservices.h"

#include <cstring>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QImage>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "platform/ui/qt/qtmodal.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qttext.h"

QWidget* AfxQtWidgetOf(const CWnd* pWnd)
{
    if (!pWnd)
        return nullptr;
    auto* peer = dynamic_cast<CQtPeer*>(pWnd->GetPeer());
    return peer ? peer->Widget() : nullptr;
}

QWidget* AfxQtDialogParent(const CWnd* pWnd)
{
    if (QWidget* widget = AfxQtWidgetOf(pWnd))
        return widget->window();
    return QApplication::activeWindow();
}

namespace
{

// Lifts the wait cursor for the life of a modal dialog, then shows it again
// as deep as it was.
class LiftWaitCursor
{
public:
    LiftWaitCursor()
    {
        while (QGuiApplication::overrideCursor()) {
            QGuiApplication::restoreOverrideCursor();
            ++m_nDepth;
        }
    }
    ~LiftWaitCursor()
    {
        for (int i = 0; i < m_nDepth; ++i)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    LiftWaitCursor(const LiftWaitCursor&) = delete;
    LiftWaitCursor& operator=(const LiftWaitCursor&) = delete;

private:
    int m_nDepth = 0;
};

struct BoxButton {
    QMessageBox::StandardButton button;
    int nAnswer;
};

// The buttons of each MB_ type, in the order they show.
std::vector<BoxButton> ButtonsOf(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {{QMessageBox::Abort, IDABORT},
                {QMessageBox::Retry, IDRETRY},
                {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {
            {QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

} // namespace

void AfxQtSetUpMessageBox(QMessageBox& box, LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    box.setWindowTitle(lpszCaption ? AfxToQString(lpszCaption) : QString("Brantel"));
    box.setText(AfxToQString(lpszText));
    box.setTextFormat(Qt::PlainText);
    switch (nType & MB_ICONMASK) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    const std::vector<BoxButton> buttons = ButtonsOf(nType);
    QMessageBox::StandardButtons all;
    for (const BoxButton& b : buttons)
        all |= b.button;
    box.setStandardButtons(all);
    // MB_DEFBUTTONn counts the buttons as they show; out of range: the first.
    std::size_t nDefault = (nType & MB_DEFMASK) >> 8;
    if (nDefault >= buttons.size())
        nDefault = 0;
    box.setDefaultButton(buttons[nDefault].button);
    // Escape answers Cancel where there is one; a Yes/No box answers No and
    // a lone OK answers OK.
    QMessageBox::StandardButton escape = buttons.back().button;
    for (const BoxButton& b : buttons)
        if (b.nAnswer == IDCANCEL)
            escape = b.button;
    box.setEscapeButton(escape);
}

int AfxQtMessageBoxAnswer(const QMessageBox& box)
{
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    const UINT types[] = {MB_OK,          MB_OKCANCEL, MB_ABORTRETRYIGNORE,
                          MB_YESNOCANCEL, MB_YESNO,    MB_RETRYCANCEL};
    for (UINT type : types)
        for (const BoxButton& b : ButtonsOf(type))
            if (b.button == clicked)
                return b.nAnswer;
    // Closed without a button: the Escape answer.
    const QMessageBox::StandardButton escape = box.standardButton(box.escapeButton());
    for (UINT type : types)
        for (const BoxButton& b : ButtonsOf(type))
            if (b.button == escape)
                return b.nAnswer;
    return IDCANCEL;
}

int CQtMessageService::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    LiftWaitCursor lift;
    QMessageBox box(QApplication::activeWindow());
    AfxQtSetUpMessageBox(box, lpszText, lpszCaption, nType);
    AfxQtRunModal(box);
    return AfxQtMessageBoxAnswer(box);
}

// ---- File dialogs ---------------------------------------------------------

QStringList AfxQtFileFilters(const CString& strFilter)
{
    const QStringList fields = AfxToQString(strFilter).split('|');
    QStringList filters;
    static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QString description = fields[i];
        QString patterns = fields[i + 1];
        if (description.isEmpty() && patterns.isEmpty())
            break; // the closing "||"
        patterns.replace(';', ' ');
        patterns.replace("*.*", "*");
        patterns = patterns.simplified();
        description.remove(trailingPatterns);
        // QFileDialog shows its filters with blanks simplified; the same
        // text here lets the chosen filter be found again.
        filters << QString("%1 (%2)").arg(description.simplified(), patterns);
    }
    return filters;
}

QString AfxQtFilterSuffix(const QString& filter)
{
    // The patterns are the text in the last brackets: "Name (*.a *.b)".
    const qsizetype open = filter.lastIndexOf('(');
    const qsizetype close = filter.lastIndexOf(')');
    if (open < 0 || close < open)
        return QString();
    const QStringList patterns = filter.mid(open + 1, close - open - 1).split(' ', Qt::SkipEmptyParts);
    static const QRegularExpression plain(R"(^\*\.([A-Za-z0-9_]+)$)");
    const QRegularExpressionMatch match = patterns.size() == 1 ? plain.match(patterns.front())
                                                               : QRegularExpressionMatch();
    return match.hasMatch() ? match.captured(1) : QString();
}

AfxFileDialogResult CQtFileDialogs::ShowFileDialog(const AfxFileDialogRequest& request,
                                                   CWnd* pParent)
{
    LiftWaitCursor lift;
    QFileDialog dialog(AfxQtDialogParent(pParent));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.bOpenFileDialog ? QFileDialog::AcceptOpen
                                                 : QFileDialog::AcceptSave);
    if (request.bOpenFileDialog)
        dialog.setFileMode((request.dwFlags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                    : QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    if (!(request.dwFlags & OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.strTitle.IsEmpty())
        dialog.setWindowTitle(AfxToQString(request.strTitle));
    if (!request.strDefExt.IsEmpty())
        dialog.setDefaultSuffix(AfxToQString(request.strDefExt));
    const QStringList filters = AfxQtFileFilters(request.strFilter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = request.nFilterIndex - 1;
        const QString chosen = filters[index >= 0 && index < filters.size() ? index : 0];
        dialog.selectNameFilter(chosen);
        // A name typed without an extension takes the chosen type's: the
        // filter's one extension, or the default where it has none or many.
        const QString fallback = AfxToQString(request.strDefExt);
        const auto suffixOf = [fallback](const QString& filter) {
            const QString suffix = AfxQtFilterSuffix(filter);
            return suffix.isEmpty() ? fallback : suffix;
        };
        dialog.setDefaultSuffix(suffixOf(chosen));
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog, suffixOf](const QString& filter) {
                             dialog.setDefaultSuffix(suffixOf(filter));
                         });
    }
    // The start folder is the one asked for, else the current one: never
    // the folder another dialog visited last.
    dialog.setDirectory(request.strInitialDir.IsEmpty() ? QDir::currentPath()
                                                        : AfxToQString(request.strInitialDir));
    if (!request.places.empty()) {
        QList<QUrl> places = dialog.sidebarUrls();
        for (const CString& place : request.places) {
            const QUrl url = QUrl::fromLocalFile(QFile::decodeName(QByteArray(place.GetString())));
            if (!place.IsEmpty() && !places.contains(url))
                places << url;
        }
        dialog.setSidebarUrls(places);
    }
    if (!request.strFileName.IsEmpty())
        dialog.selectFile(AfxToQString(request.strFileName));

    AfxFileDialogResult result;
    result.nFilterIndex = request.nFilterIndex;
    if (AfxQtRunModal(dialog) != QDialog::Accepted)
        return result;
    result.bOK = TRUE;
    for (const QString& path : dialog.selectedFiles()) {
        const QByteArray bytes = QFile::encodeName(path);
        result.paths.emplace_back(bytes.constData(), static_cast<int>(bytes.size()));
    }
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        result.nFilterIndex = static_cast<int>(chosen) + 1;
    return result;
}

// ---- Fonts and colours ------------------------------------------------------

QFont AfxQtFontFromLogFont(const LOGFONT& lf)
{
    QFont font(AfxToQString(
        CString(lf.lfFaceName, static_cast<int>(strnlen(lf.lfFaceName, LF_FACESIZE)))));
    if (lf.lfHeight != 0)
        font.setPixelSize(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight);
    if (lf.lfWeight > 0)
        font.setWeight(QFont::Weight(lf.lfWeight < 1      ? 1
                                     : lf.lfWeight > 1000 ? 1000
                                                          : lf.lfWeight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    // A fixed-pitch family stays fixed-pitch when the face is missing.
    if ((lf.lfPitchAndFamily & 0xF0) == FF_MODERN) {
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    return font;
}

LOGFONT AfxQtLogFontFromFont(const QFont& font)
{
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    int pixels = font.pixelSize();
    if (pixels <= 0)
        pixels = QFontInfo(font).pixelSize();
    lf.lfHeight = -pixels;
    lf.lfWeight = font.weight();
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    const CString face = AfxFromQString(font.family());
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

QColor AfxQtColor(COLORREF clr)
{
    return QColor(GetRValue(clr), GetGValue(clr), GetBValue(clr));
}

COLORREF AfxQtColorRef(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return RGB(rgb.red(), rgb.green(), rgb.blue());
}

BOOL CQtFontDialogs::ChooseFont(LOGFONT& lf, CWnd* pParent)
{
    LiftWaitCursor lift;
    QFontDialog dialog(AfxQtFontFromLogFont(lf), AfxQtDialogParent(pParent));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (AfxQtRunModal(dialog) != QDialog::Accepted)
        return FALSE;
    lf = AfxQtLogFontFromFont(dialog.selectedFont());
    return TRUE;
}

BOOL CQtColorDialogs::ChooseColor(COLORREF& clr, CWnd* pParent)
{
    LiftWaitCursor lift;
    QColorDialog dialog(AfxQtColor(clr), AfxQtDialogParent(pParent));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (AfxQtRunModal(dialog) != QDialog::Accepted)
        return FALSE;
    clr = AfxQtColorRef(dialog.selectedColor());
    return TRUE;
}

// ---- Popup menus, clipboard, opener, beep, cursor ---------------------------

void AfxQtFillMenu(QMenu& menu, const AfxMenu& entries)
{
    for (const AfxMenuEntry& entry : entries) {
        if (entry.bSeparator) {
            menu.addSeparator();
        } else if (!entry.popup.empty()) {
            QMenu* sub = menu.addMenu(AfxToQString(entry.item.strText));
            AfxQtFillMenu(*sub, entry.popup);
        } else {
            QAction* action = menu.addAction(AfxToQString(entry.item.strText));
            action->setData(entry.item.nCurrentID);
            action->setEnabled(entry.item.bEnabled);
            action->setCheckable(entry.item.nCheck != 0);
            action->setChecked(entry.item.nCheck != 0);
        }
    }
}

UINT CQtPopupMenus::TrackPopupMenu(const AfxMenu& menu, CPoint ptScreen, CWnd* pOwner)
{
    QMenu popup(AfxQtDialogParent(pOwner));
    AfxQtFillMenu(popup, menu);
    QAction* chosen = popup.exec(QPoint(ptScreen.x, ptScreen.y));
    return chosen ? chosen->data().toUInt() : 0;
}

QImage AfxQtImageFromDib(const BITMAPINFOHEADER& header, const void* pBits, std::size_t nBytes)
{
    const int width = header.biWidth;
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const int bytesPerPixel = header.biBitCount / 8;
    if (width <= 0 || height <= 0 || (bytesPerPixel != 3 && bytesPerPixel != 4))
        return QImage();
    const std::size_t stride = (static_cast<std::size_t>(width) * bytesPerPixel + 3) / 4 * 4;
    if (nBytes < stride * static_cast<std::size_t>(height))
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    const auto* bits = static_cast<const unsigned char*>(pBits);
    for (int y = 0; y < height; ++y) {
        // Rows run bottom-up unless the height is negative.
        const int row = header.biHeight < 0 ? y : height - 1 - y;
        const unsigned char* src = bits + stride * static_cast<std::size_t>(row);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, src += bytesPerPixel)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
    return image;
}

BOOL CQtClipboard::SetDib(const BITMAPINFOHEADER& header, const void* pBits, std::size_t nBytes)
{
    const QImage image = AfxQtImageFromDib(header, pBits, nBytes);
    if (image.isNull())
        return FALSE;
    QGuiApplication::clipboard()->setImage(image);
    return TRUE;
}

BOOL CQtOpener::OpenFile(LPCTSTR lpszPath)
{
    const QString path = QFile::decodeName(QByteArray(lpszPath ? lpszPath : ""));
    if (path.isEmpty() || !QFileInfo::exists(path))
        return FALSE;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path)) ? TRUE : FALSE;
}

void CQtBeeper::Beep(DWORD, DWORD)
{
    QApplication::beep();
}

void CQtCursor::ShowWaitCursor(BOOL bShow)
{
    if (bShow)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else if (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

// ---- Profile ----------------------------------------------------------------

QString AfxQtProfilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + "/.config";
    return base + "/Vornetic Applications/brantel.ini";
}

namespace
{
QString Key(LPCTSTR lpszSection, LPCTSTR lpszEntry)
{
    return AfxToQString(lpszSection) + "/" + AfxToQString(lpszEntry);
}
} // namespace

CQtProfile::CQtProfile(const QString& path) : m_settings(path, QSettings::IniFormat) {}

QVariant CQtProfile::Value(const QString& key) const
{
    const auto pending = m_pending.find(key);
    return pending != m_pending.end() ? pending->second : m_settings.value(key);
}

BOOL CQtProfile::GetInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int& nValue)
{
    const QVariant value = Value(Key(lpszSection, lpszEntry));
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!value.isValid() || !ok)
        return FALSE;
    nValue = n;
    return TRUE;
}

BOOL CQtProfile::GetString(LPCTSTR lpszSection, LPCTSTR lpszEntry, CString& strValue)
{
    const QVariant value = Value(Key(lpszSection, lpszEntry));
    if (!value.isValid())
        return FALSE;
    strValue = AfxFromQString(value.toString());
    return TRUE;
}

BOOL CQtProfile::GetBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, std::vector<BYTE>& data)
{
    const QVariant value = Value(Key(lpszSection, lpszEntry));
    if (!value.isValid())
        return FALSE;
    const QByteArray bytes = value.toByteArray();
    data.assign(bytes.begin(), bytes.end());
    return TRUE;
}

BOOL CQtProfile::WriteInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    m_pending[Key(lpszSection, lpszEntry)] = nValue;
    return TRUE;
}

BOOL CQtProfile::WriteString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    m_pending[Key(lpszSection, lpszEntry)] = AfxToQString(lpszValue);
    return TRUE;
}

BOOL CQtProfile::WriteBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, const BYTE* pData, UINT nBytes)
{
    m_pending[Key(lpszSection, lpszEntry)] =
        QByteArray(reinterpret_cast<const char*>(pData), static_cast<int>(nBytes));
    return TRUE;
}

void CQtProfile::Flush()
{
    for (const auto& [key, value] : m_pending)
        m_settings.setValue(key, value);
    m_pending.clear();
    m_settings.sync();
}
