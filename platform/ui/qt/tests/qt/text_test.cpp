// Text between the layer's 1252/UTF-8 bytes and Qt.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

// Types text as key presses carrying it (QTest's key helpers know ASCII only).
void TypeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}

TEST(QtText, BytesBecomeQtTextAsUtf8WhenValidElse1252)
{
    struct Case {
        const char* bytes;
        const char16_t* shown;
    } cases[] = {
        {"kN/m\xB2", u"kN/m\u00B2"},                 // 1252 superscript two
        {"\xA7 3.1", u"\u00A7 3.1"},                 // section sign
        {"\x80 \x85 \x99", u"\u20AC \u2026 \u2122"}, // the 0x80-0x9F block
        {"kN/m\xC2\xB2", u"kN/m\u00B2"},             // valid UTF-8 (a path)
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(AfxToQString(CString(c.bytes)), QString::fromUtf16(c.shown));
    }
}

TEST(QtText, QtTextBecomes1252WhenItFitsElseUtf8SoNothingIsLost)
{
    struct Case {
        const char16_t* typed;
        const char* bytes;
    } cases[] = {
        {u"kN/m\u00B2", "kN/m\xB2"},
        {u"\u20AC\u2030", "\x80\x89"},
        {u"\u03B1 = 3", "\xCE\xB1 = 3"},       // alpha has no 1252 byte
        {u"\u00B2\u03B1", "\xC2\xB2\xCE\xB1"}, // one misfit makes it all UTF-8
    };
    for (const auto& c : cases) {
        const QString typed = QString::fromUtf16(c.typed);
        SCOPED_TRACE(typed.toStdString());
        EXPECT_EQ(std::string(AfxFromQString(typed)), std::string(c.bytes));
        EXPECT_EQ(AfxToQString(AfxFromQString(typed)), typed); // round trip
    }
    // Every 1252 byte survives the round trip.
    for (int b = 1; b < 256; ++b) {
        CString one;
        one += static_cast<TCHAR>(b);
        EXPECT_EQ(AfxFromQString(AfxToQString(one)), one) << b;
    }
}

TEST(QtText, TextTypedIntoALineEditArrivesIn1252)
{
    afxui::qt::testing::TestApplication();
    CQtBackend backend;
    CWndBackend* old = AfxSetWndBackend(&backend);
    {
        CWnd parent;
        ASSERT_TRUE(parent.Create(nullptr, "Units", WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
        CEdit edit;
        ASSERT_TRUE(edit.Create(nullptr, "", WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 150, 30),
                                &parent, 1001));
        auto* line = qobject_cast<QLineEdit*>(AfxQtWidgetOf(&edit));
        ASSERT_NE(line, nullptr);
        TypeText(line, QString::fromUtf16(u"kN/m\u00B2"));
        CString text;
        edit.GetWindowText(text);
        EXPECT_EQ(std::string(text), "kN/m\xB2");
        TypeText(line, QString::fromUtf16(u" \u03B1"));
        edit.GetWindowText(text);
        EXPECT_EQ(std::string(text), "kN/m\xC2\xB2 \xCE\xB1");
    }
    AfxSetWndBackend(old);
}

} // namespace
