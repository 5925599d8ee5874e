#include "platform/ui/qt/qttext.h"

#include <QList>
#include <QStringDecoder>

#include "platform/ui/core/text1252.h"

QString AfxToQString(LPCTSTR lpszText)
{
    return AfxToQString(CString(lpszText ? lpszText : ""));
}

QString AfxToQString(const CString& text)
{
    const QByteArray bytes(static_cast<const char*>(text), text.GetLength());
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return decoded;
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes)
        out += QChar(static_cast<char16_t>(AfxCp1252ToUnicode(static_cast<unsigned char>(c))));
    return out;
}

CString AfxFromQString(const QString& text)
{
    CString out;
    for (char32_t code : text.toUcs4()) {
        unsigned char byte = 0;
        if (!AfxUnicodeToCp1252(code, byte)) {
            const QByteArray utf8 = text.toUtf8();
            return CString(utf8.constData(), static_cast<int>(utf8.size()));
        }
        out += static_cast<TCHAR>(byte);
    }
    return out;
}
