// The Qt peers: what Qt would do by itself is held back (auto-exclusive
// radios, its tristate order, combos inserting on Return), real input
// reaches the layer in order, and pictures, colour swatches, mnemonic
// buddies and line breaks show as the layer says.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "platform/afx/numconv.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

using afxui::qt::testing::ModalHookScope;
using afxui::qt::testing::TestApplication;

constexpr UINT kPeersTemplate = 9101;
constexpr UINT kRedPicture = 9102;
enum : int {
    kEdit = 2001,
    kThreeState = 2002,
    kRadioA = 2003,
    kRadioB = 2004,
    kCombo = 2005,
    kNumber = 2006,
    kColor = 2007,
    kPicture = 2008,
    kMissingPicture = 2009,
    kRadius = 2010,
    kMeshText = 2011,
    kTabList = 2012,
    kMulti = 2013,
    kListEdit = 2014,
    kPictureButton = 2015,
};

DialogTemplate PeersTemplate()
{
    DialogTemplate t;
    t.nID = kPeersTemplate;
    t.strCaption = "Peers";
    t.size = CSize(260, 160);
    DialogControl picture =
        AfxDialogControl(kPicture, AfxCtl::picture, "", CRect(200, 10, 240, 40), WS_VISIBLE);
    picture.nBitmapID = kRedPicture;
    DialogControl missing = picture;
    missing.nID = kMissingPicture;
    missing.rect = CRect(200, 50, 240, 80);
    missing.nBitmapID = 16070;
    DialogControl pictureButton =
        AfxDialogControl(kPictureButton, AfxCtl::pictureButton, "Plate", CRect(130, 42, 190, 62),
                         WS_VISIBLE | WS_TABSTOP);
    pictureButton.nBitmapID = kRedPicture;
    t.Add(AfxDialogControl(kEdit, AfxCtl::edit, "", CRect(10, 10, 80, 22),
                           WS_VISIBLE | WS_TABSTOP | WS_GROUP))
        .Add(AfxDialogControl(kThreeState, AfxCtl::auto3State, "Loads", CRect(90, 10, 150, 20),
                              WS_VISIBLE | WS_TABSTOP))
        .Add(AfxRadioColumn(CPoint(10, 30), 50, {{kRadioA, "T15"}, {kRadioB, "T18"}}))
        .Add(AfxDialogControl(kCombo, AfxCtl::comboDrop, "", CRect(90, 30, 150, 90),
                              WS_VISIBLE | WS_TABSTOP | WS_GROUP))
        .Add(AfxDialogControl(kNumber, AfxCtl::edit, "", CRect(10, 60, 60, 72),
                              WS_VISIBLE | WS_TABSTOP | ES_NUMBER))
        .Add(AfxDialogControl(kColor, AfxCtl::colorButton, "", CRect(90, 100, 120, 114),
                              WS_VISIBLE | WS_TABSTOP))
        .Add(picture)
        .Add(missing)
        .Add(AfxDialogControl(IDC_STATIC, AfxCtl::staticText, "&Radius (R)", CRect(10, 80, 60, 90),
                              WS_VISIBLE))
        .Add(AfxDialogControl(kRadius, AfxCtl::edit, "", CRect(10, 92, 60, 104),
                              WS_VISIBLE | WS_TABSTOP))
        .Add(AfxDialogControl(kMeshText, AfxCtl::staticText,
                              "Constrained mesh\r(single quadrilateral region)",
                              CRect(10, 110, 80, 130), WS_VISIBLE))
        .Add(AfxDialogControl(kTabList, AfxCtl::listBox, "", CRect(130, 100, 190, 140),
                              WS_VISIBLE | WS_TABSTOP | LBS_USETABSTOPS))
        .Add(AfxDialogControl(kMulti, AfxCtl::multiEdit, "", CRect(130, 10, 190, 40),
                              WS_VISIBLE | WS_TABSTOP))
        .Add(AfxDialogControl(kListEdit, AfxCtl::listEdit, "&Items:", CRect(200, 90, 255, 135),
                              WS_VISIBLE | WS_TABSTOP))
        .Add(pictureButton)
        .Add(AfxButtonRow(250, 140, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

std::vector<unsigned char> RedPng()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

const CResourceModule s_resources("qtpeers", CResourceModule::program, [](CResourceModule& m) {
    m.Add(kPeersTemplate, PeersTemplate());
    m.Add(kRedPicture, AfxBitmapResource{RedPng(), "png"});
});

// Logs the notifications its controls send, as "<id>:<code>".
class CNotifyLog : public CWnd
{
public:
    std::vector<std::string> log;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam)
            log.push_back(AfxFormat("%u:%u", LOWORD(wParam), HIWORD(wParam)));
        else if (message == WM_COLORBUTTON_CHANGED)
            log.push_back(AfxFormat("0x465 %u 0x%06lX", unsigned(wParam),
                                    static_cast<unsigned long>(lParam)));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class QtPeers : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestApplication();
        m_old = AfxSetWndBackend(&m_backend);
        m_oldColors = AfxSetColorDialogService(&m_colors);
        ASSERT_TRUE(AfxCreateFromTemplate(m_window, kPeersTemplate, nullptr));
        m_window.log.clear();
        m_window.ShowWindow(SW_SHOW);
        QApplication::setActiveWindow(Widget(m_window)); // focus needs an active window
    }
    void TearDown() override
    {
        m_window.DestroyWindow();
        AfxSetColorDialogService(m_oldColors);
        AfxSetWndBackend(m_old);
    }
    static QWidget* Widget(const CWnd& wnd) { return AfxQtWidgetOf(&wnd); }
    template <class W> W* Control(int nID)
    {
        auto* peer = dynamic_cast<CQtPeer*>(m_window.GetDlgItem(nID)->GetPeer());
        return peer ? qobject_cast<W*>(peer->Widget()) : nullptr;
    }
    std::vector<std::string> Take() { return std::exchange(m_window.log, {}); }

    CQtBackend m_backend;
    CQtColorDialogs m_colors;
    CWndBackend* m_old = nullptr;
    CColorDialogService* m_oldColors = nullptr;
    CNotifyLog m_window;
};

std::string Code(int nID, UINT nCode)
{
    return AfxFormat("%d:%u", nID, nCode);
}

TEST_F(QtPeers, RadiosAreNeverAutoExclusiveAndAGroupMayHaveNothingChecked)
{
    auto* a = Control<QRadioButton>(kRadioA);
    auto* b = Control<QRadioButton>(kRadioB);
    ASSERT_TRUE(a && b);
    EXPECT_FALSE(a->autoExclusive());
    EXPECT_FALSE(b->autoExclusive());
    EXPECT_FALSE(a->isChecked());
    EXPECT_FALSE(b->isChecked());
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->isChecked());
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_FALSE(a->isChecked()); // the layer cleared it
    EXPECT_TRUE(b->isChecked());
    // A click on a checked radio keeps it checked (Qt alone would clear it).
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->isChecked());
    // The program clears the whole group: nothing checked, no notification.
    Take();
    static_cast<CButton*>(m_window.GetDlgItem(kRadioB))->SetCheck(0);
    EXPECT_FALSE(a->isChecked());
    EXPECT_FALSE(b->isChecked());
    EXPECT_TRUE(Take().empty());
}

TEST_F(QtPeers, AThreeStateCheckFollowsTheLayersCycle)
{
    auto* check = Control<QCheckBox>(kThreeState);
    ASSERT_NE(check, nullptr);
    const Qt::CheckState expected[] = {Qt::Checked, Qt::PartiallyChecked, Qt::Unchecked,
                                       Qt::Checked};
    const int layer[] = {1, 2, 0, 1};
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(check, Qt::LeftButton);
        EXPECT_EQ(check->checkState(), expected[i]) << i;
        EXPECT_EQ(static_cast<CButton*>(m_window.GetDlgItem(kThreeState))->GetCheck(), layer[i]);
    }
    const std::vector<std::string> log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), Code(kThreeState, BN_CLICKED)), 4);
    // A programmatic state shows without a notification.
    static_cast<CButton*>(m_window.GetDlgItem(kThreeState))->SetCheck(2);
    EXPECT_EQ(check->checkState(), Qt::PartiallyChecked);
    EXPECT_TRUE(Take().empty());
}

TEST_F(QtPeers, AnEditableComboNeverInsertsTypedTextOnReturn)
{
    auto* combo = Control<QComboBox>(kCombo);
    ASSERT_NE(combo, nullptr);
    auto& layer = *static_cast<CComboBox*>(m_window.GetDlgItem(kCombo));
    layer.AddString("0.5");
    layer.AddString("1");
    EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
    combo->lineEdit()->setFocus();
    QTest::keyClicks(combo->lineEdit(), "2.5");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(layer.GetCount(), 2);
    CString text;
    layer.GetWindowText(text);
    EXPECT_EQ(std::string(text), "2.5");
    const std::vector<std::string> log = Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), Code(kCombo, CBN_EDITCHANGE)), 3);
    // Choosing an entry notifies the selection change.
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(layer.GetCurSel(), 1);
    const std::vector<std::string> chosen = Take();
    EXPECT_NE(std::find(chosen.begin(), chosen.end(), Code(kCombo, CBN_SELCHANGE)), chosen.end());
}

TEST_F(QtPeers, ANumberEditTakesDigitsOnlyAndTheLimitHolds)
{
    auto* number = Control<QLineEdit>(kNumber);
    ASSERT_NE(number, nullptr);
    EXPECT_NE(number->validator(), nullptr);
    QTest::keyClicks(number, "12a3");
    CString text;
    m_window.GetDlgItem(kNumber)->GetWindowText(text);
    EXPECT_EQ(std::string(text), "123");
    EXPECT_EQ(number->text(), "123");
    static_cast<CEdit*>(m_window.GetDlgItem(kNumber))->LimitText(4);
    number->end(false);
    QTest::keyClicks(number, "456");
    m_window.GetDlgItem(kNumber)->GetWindowText(text);
    EXPECT_EQ(std::string(text), "1234");
    EXPECT_EQ(number->text(), "1234");
}

TEST_F(QtPeers, TypingThenClickingOkKillsTheEditsFocusFirst)
{
    auto* edit = Control<QLineEdit>(kEdit);
    auto* ok = Control<QPushButton>(IDOK);
    ASSERT_TRUE(edit && ok);
    EXPECT_TRUE(ok->isDefault());
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, "25");
    QTest::mouseClick(ok, Qt::LeftButton);
    const std::vector<std::string> log = Take();
    const std::vector<std::string> expected = {Code(kEdit, EN_SETFOCUS), Code(kEdit, EN_CHANGE),
                                               Code(kEdit, EN_CHANGE), Code(kEdit, EN_KILLFOCUS),
                                               Code(IDOK, BN_CLICKED)};
    EXPECT_EQ(log, expected);
}

TEST_F(QtPeers, ProgrammaticChangesSendNothingFromQt)
{
    auto& combo = *static_cast<CComboBox*>(m_window.GetDlgItem(kCombo));
    combo.AddString("a");
    combo.AddString("b");
    combo.SetCurSel(1);
    static_cast<CButton*>(m_window.GetDlgItem(kRadioA))->SetCheck(1);
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(Control<QComboBox>(kCombo)->currentIndex(), 1);
    // An edit notifies its own programmatic change once (the layer's rule).
    m_window.GetDlgItem(kEdit)->SetWindowText("3.5");
    EXPECT_EQ(Take(), std::vector<std::string>{Code(kEdit, EN_CHANGE)});
    EXPECT_EQ(Control<QLineEdit>(kEdit)->text(), "3.5");
}

TEST_F(QtPeers, TheColourButtonShowsItsColourAndSendsTheChoiceOnOkOnly)
{
    auto* button = Control<QToolButton>(kColor);
    ASSERT_NE(button, nullptr);
    static_cast<CColorButton*>(m_window.GetDlgItem(kColor))->SetColor(RGB(0, 0, 255));
    EXPECT_EQ(button->icon().pixmap(button->iconSize()).toImage().pixelColor(4, 4),
              QColor(0, 0, 255));
    {
        ModalHookScope hook([](QDialog& dialog) {
            auto& chooser = dynamic_cast<QColorDialog&>(dialog);
            chooser.setCurrentColor(QColor(255, 128, 0));
            chooser.accept();
        });
        QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_EQ(Take(), std::vector<std::string>{"0x465 2007 0x0080FF"});
    EXPECT_EQ(button->icon().pixmap(button->iconSize()).toImage().pixelColor(4, 4),
              QColor(255, 128, 0));
    {
        ModalHookScope hook([](QDialog& dialog) { dialog.reject(); });
        QTest::mouseClick(button, Qt::LeftButton);
    }
    EXPECT_TRUE(Take().empty());
}

TEST_F(QtPeers, PicturesShowTheRegistryImageOrAFrameWithTheirId)
{
    QWidget* picture = Widget(*m_window.GetDlgItem(kPicture));
    ASSERT_NE(picture, nullptr);
    const QImage red = picture->grab().toImage();
    ASSERT_FALSE(red.isNull());
    EXPECT_EQ(red.pixelColor(red.width() / 2, red.height() / 2), QColor(255, 0, 0));
    // Missing: a frame and the id, drawn on the background.
    const QImage missing = Widget(*m_window.GetDlgItem(kMissingPicture))->grab().toImage();
    const QColor edge = missing.pixelColor(0, missing.height() / 2);
    const QColor inside = missing.pixelColor(missing.width() / 2 + missing.width() / 4, 2);
    EXPECT_NE(edge, inside);
    // Swapping the bitmap (as SetBitmap does) shows the new one at once.
    CWndState& state = *m_window.GetDlgItem(kMissingPicture)->GetState();
    state.nBitmapID = kRedPicture;
    state.Changed(PEER_BITMAP);
    const QImage swapped = Widget(*m_window.GetDlgItem(kMissingPicture))->grab().toImage();
    EXPECT_EQ(swapped.pixelColor(swapped.width() / 2, swapped.height() / 2), QColor(255, 0, 0));
}

TEST_F(QtPeers, APictureShowsABitmapMadeInMemoryAtItsOwnSize)
{
    // 8 x 6 pixels at 24 and 32 bits: the top row blue, the others red
    // (DIB rows count from the bottom, blue first).
    for (int bits : {24, 32}) {
        SCOPED_TRACE(bits);
        CBitmap dib;
        ASSERT_TRUE(dib.CreateDIB(8, 6, bits));
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                std::uint8_t* p = dib.Row(y) + x * (bits / 8);
                p[0] = y == 5 ? 255 : 0;
                p[2] = y == 5 ? 0 : 255;
            }
        auto* picture = static_cast<CStatic*>(m_window.GetDlgItem(kMissingPicture));
        picture->SetBitmap(&dib);
        const QImage shown = Widget(*picture)->grab().toImage();
        EXPECT_EQ(shown.pixelColor(3, 0), QColor(0, 0, 255));
        EXPECT_EQ(shown.pixelColor(7, 5), QColor(255, 0, 0));
        EXPECT_NE(shown.pixelColor(9, 7), QColor(255, 0, 0)); // beyond the bitmap
        picture->SetBitmap(nullptr);
    }
}

TEST_F(QtPeers, AScreenshotFailsOnAMissingPictureOrACutDrawnOne)
{
    QString why;
    EXPECT_FALSE(afxui::qt::testing::SaveScreenshot(Widget(m_window), "peers-pictures.png", &why));
    EXPECT_EQ(why, "picture 16070 is missing");
    auto* picture = static_cast<CStatic*>(m_window.GetDlgItem(kMissingPicture));
    const QSize room = Widget(*picture)->size();
    for (int wider : {0, 1}) {
        SCOPED_TRACE(wider);
        CBitmap dib;
        ASSERT_TRUE(dib.CreateDIB(room.width() + wider, room.height(), 24));
        picture->SetBitmap(&dib);
        const bool saved =
            afxui::qt::testing::SaveScreenshot(Widget(m_window), "peers-pictures.png", &why);
        EXPECT_EQ(saved, wider == 0) << why.toStdString();
        if (wider) {
            EXPECT_TRUE(why.contains("cut off")) << why.toStdString();
        }
        picture->SetBitmap(nullptr);
    }
}

TEST_F(QtPeers, LabelsBreakLinesAndTheirMnemonicFocusesTheNextControl)
{
    auto* mesh = qobject_cast<QLabel*>(Widget(*m_window.GetDlgItem(kMeshText)));
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->text(), "Constrained mesh\n(single quadrilateral region)");
    QLabel* radius = nullptr;
    for (QLabel* label : Widget(m_window)->findChildren<QLabel*>())
        if (label->text() == "&Radius (R)")
            radius = label;
    ASSERT_NE(radius, nullptr);
    EXPECT_EQ(radius->buddy(), Control<QLineEdit>(kRadius));
    EXPECT_EQ(mesh->buddy(), Control<QListWidget>(kTabList));
}

TEST_F(QtPeers, TabStopListsDrawTextAfterATabAtTheNextStop)
{
    auto& list = *static_cast<CListBox*>(m_window.GetDlgItem(kTabList));
    list.AddString("\tX");
    auto* widget = Control<QListWidget>(kTabList);
    ASSERT_NE(widget, nullptr);
    widget->doItemsLayout(); // the view lays its items out lazily
    const QImage image = widget->viewport()->grab().toImage();
    const QRect row = widget->visualItemRect(widget->item(0));
    // The first column with ink in the item's row.
    int first = -1;
    for (int x = 0; x < image.width() && first < 0; ++x)
        for (int y = row.top(); y <= row.bottom() && y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                first = x;
                break;
            }
    // Stops every 32 dialog units.
    const int stop = AfxMulDiv(32, AfxGetDialogBaseUnits().cx, 4);
    EXPECT_GE(first, stop);
    EXPECT_LT(first, stop + 8);
}

TEST_F(QtPeers, MultiLineSelectionsCountCrLfAsTwo)
{
    auto& edit = *static_cast<CEdit*>(m_window.GetDlgItem(kMulti));
    auto* widget = qobject_cast<QPlainTextEdit*>(Widget(edit));
    ASSERT_NE(widget, nullptr);
    edit.SetWindowText("ab\r\ncd\r\nef");
    EXPECT_EQ(widget->toPlainText(), "ab\ncd\nef");
    edit.SetSel(4, 6); // "cd"
    EXPECT_EQ(widget->textCursor().selectedText(), "cd");
    // Typing over it reaches the layer in its own form.
    widget->setFocus();
    QTest::keyClicks(widget, "XY");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(std::string(text), "ab\r\nXY\r\nef");
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 6);
}

TEST_F(QtPeers, TheListEditorsButtonsAndInPlaceEditsReachTheLayer)
{
    auto& list = *static_cast<CListEditCtrl*>(m_window.GetDlgItem(kListEdit));
    QWidget* editor = Widget(list);
    ASSERT_NE(editor, nullptr);
    auto* items = editor->findChild<QListWidget*>();
    ASSERT_NE(items, nullptr);
    list.InsertItem(-1, "1");
    list.InsertItem(-1, "2");
    EXPECT_EQ(items->count(), 2);
    QTest::mouseClick(items->viewport(), Qt::LeftButton, {},
                      items->visualItemRect(items->item(0)).center());
    EXPECT_EQ(list.GetCurSel(), 0);
    editor->findChild<QToolButton*>("New")->click();
    ASSERT_EQ(items->count(), 3);
    EXPECT_EQ(list.GetCurSel(), 1);
    items->item(1)->setText("1.5"); // an in-place edit
    EXPECT_EQ(std::string(list.GetItemText(1)), "1.5");
    editor->findChild<QToolButton*>("Down")->click();
    EXPECT_EQ(std::string(list.GetItemText(2)), "1.5");
    EXPECT_EQ(items->item(2)->text(), "1.5");
    editor->findChild<QToolButton*>("Delete")->click();
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(items->count(), 2);
}

TEST_F(QtPeers, APictureButtonShowsItsPictureAboveItsText)
{
    auto* button = Control<QToolButton>(kPictureButton);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Plate");
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    const QImage icon = button->icon().pixmap(button->iconSize()).toImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixelColor(icon.width() / 2, icon.height() / 2), QColor(255, 0, 0));
}

TEST_F(QtPeers, AWidgetDeletedByQtFirstIsNotDeletedAgain)
{
    CNotifyLog other;
    ASSERT_TRUE(AfxCreateFromTemplate(other, kPeersTemplate, nullptr));
    // Qt deletes the top-level widget with all its children ...
    delete Widget(other);
    EXPECT_EQ(Widget(other), nullptr);
    EXPECT_EQ(Widget(*other.GetDlgItem(kEdit)), nullptr);
    // ... and the layer still destroys its windows cleanly (ASan checks).
    EXPECT_TRUE(other.DestroyWindow());
}

} // namespace

namespace
{

// Records the messages posted to it.
class CPostLog : public CWnd
{
public:
    std::vector<UINT> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER)
            received.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(QtBackend, PostedMessagesAndZeroTimersDrainThroughQueuedQtCalls)
{
    TestApplication();
    CQtBackend backend;
    CWndBackend* old = AfxSetWndBackend(&backend);
    {
        CPostLog window;
        ASSERT_TRUE(window.Create(nullptr, "Posts", 0, CRect(0, 0, 10, 10), nullptr, 0));
        window.PostMessage(0x405);
        window.PostMessage(0x406);
        EXPECT_TRUE(window.received.empty()); // posted, not sent
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(window.received, (std::vector<UINT>{0x405, 0x406}));
        // A message to a window destroyed before the loop runs is dropped.
        CPostLog gone;
        ASSERT_TRUE(gone.Create(nullptr, "Gone", 0, CRect(0, 0, 10, 10), nullptr, 0));
        gone.PostMessage(0x407);
        gone.DestroyWindow();
        QCoreApplication::sendPostedEvents();
        EXPECT_TRUE(gone.received.empty());
    }
    AfxSetWndBackend(old);
}

} // namespace
