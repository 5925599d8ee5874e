#include "platform/ui/qt/qtpeers.h"

#include <exception>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPainter>
#include <QSvgRenderer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <qdrawutil.h>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/afx/numconv.h"
#include "platform/ui/core/bars.h"
#include "platform/ui/core/dialog.h"
#include "platform/ui/core/docview.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/input.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/viewinput.h"
#include "platform/ui/core/winapp.h"
#include "platform/ui/qt/qtbars.h"
#include "platform/ui/qt/qtframe.h"
#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/qtmodal.h"
#include "platform/ui/qt/qtpaint.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qttext.h"

UINT AfxQtScrollCode(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub:
        return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd:
        return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub:
        return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum:
        return SB_TOP;
    case QAbstractSlider::SliderToMaximum:
        return SB_BOTTOM;
    case QAbstractSlider::SliderMove:
        return SB_THUMBTRACK;
    default:
        return SB_ENDSCROLL;
    }
}

void AfxQtEntry(const std::function<void()>& fn) noexcept
{
    try {
        fn();
    } catch (const std::exception& e) {
        try {
            CString format;
            if (!AfxLoadString(AFX_IDP_INTERNAL_FAILURE, format))
                format = "An unexpected error occurred: %s";
            AfxGetMessageService()->MessageBox(AfxFormat(format, e.what()).c_str(), nullptr,
                                               MB_OK | MB_ICONSTOP);
        } catch (...) {
        }
    } catch (...) {
        try {
            AfxGetMessageService()->MessageBox("An unexpected error occurred: unknown exception",
                                               nullptr, MB_OK | MB_ICONSTOP);
        } catch (...) {
        }
    }
}

void AfxQtPostUserClose(QWidget* pWidget, HWND hWnd)
{
    QMetaObject::invokeMethod(
        pWidget, [hWnd] { AfxQtEntry([hWnd] { AfxUserClose(hWnd); }); }, Qt::QueuedConnection);
}

QString AfxQtDisplayText(const CString& text, bool bMnemonic)
{
    const QString in = AfxToQString(text);
    QString out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        const QChar c = in[i];
        if (c == '\r') {
            if (i + 1 < in.size() && in[i + 1] == '\n')
                ++i;
            out += '\n';
        } else if (c == '&' && !bMnemonic) {
            if (i + 1 < in.size() && in[i + 1] == '&') {
                out += '&';
                ++i;
            }
        } else {
            out += c;
        }
    }
    return out;
}

namespace
{
// The drawing of an SVG picture resource, or null when it is none.
std::unique_ptr<QSvgRenderer> SvgOf(UINT nBitmapID)
{
    const AfxBitmapResource* resource = AfxFindResource<AfxBitmapResource>(nBitmapID);
    if (!resource || resource->data.empty() || resource->strFormat != "svg")
        return nullptr;
    auto svg = std::make_unique<QSvgRenderer>(QByteArray(
        reinterpret_cast<const char*>(resource->data.data()), static_cast<qsizetype>(resource->data.size())));
    return svg->isValid() ? std::move(svg) : nullptr;
}
} // namespace

QImage AfxQtLoadPicture(UINT nBitmapID)
{
    const AfxBitmapResource* resource = AfxFindResource<AfxBitmapResource>(nBitmapID);
    if (!resource || resource->data.empty())
        return QImage();
    if (const std::unique_ptr<QSvgRenderer> svg = SvgOf(nBitmapID)) {
        QImage image(svg->defaultSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg->render(&painter);
        return image;
    }
    return QImage::fromData(resource->data.data(), static_cast<int>(resource->data.size()));
}

QSize AfxQtPictureSize(UINT nBitmapID)
{
    if (const std::unique_ptr<QSvgRenderer> svg = SvgOf(nBitmapID))
        return svg->defaultSize();
    return AfxQtLoadPicture(nBitmapID).size();
}

QRect AfxQtPictureRect(UINT nBitmapID, const QRect& rect)
{
    const QSize natural = AfxQtPictureSize(nBitmapID);
    if (natural.isEmpty() || rect.isEmpty())
        return rect;
    const QSize shown = natural.scaled(rect.size(), Qt::KeepAspectRatio);
    return QRect(rect.left() + (rect.width() - shown.width()) / 2,
                 rect.top() + (rect.height() - shown.height()) / 2, shown.width(), shown.height());
}

QPixmap AfxQtArtPixmap(UINT nID, QSize size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    AfxQtDrawPicture(painter, QRect(QPoint(0, 0), size), nID);
    return pixmap;
}

void AfxQtDrawPicture(QPainter& painter, const QRect& rect, UINT nBitmapID)
{
    // SVG is drawn as vectors at the device's resolution.
    if (const std::unique_ptr<QSvgRenderer> svg = SvgOf(nBitmapID)) {
        svg->render(&painter, rect);
        return;
    }
    const QImage image = AfxQtLoadPicture(nBitmapID);
    if (!image.isNull()) {
        // Scaled to the rectangle in device pixels, so it stays sharp on
        // HiDPI screens.
        const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
        QImage scaled =
            image.scaled(rect.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        painter.drawImage(rect.topLeft(), scaled);
        return;
    }
    painter.save();
    painter.setPen(QPen(Qt::darkGray, 1));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    if (nBitmapID != 0) // a picture static still waiting for its bitmap shows an empty frame
        painter.drawText(rect, Qt::AlignCenter, QString::number(nBitmapID));
    painter.restore();
}

namespace
{

// A picture static (SS_BITMAP): a resource picture in its own shape, as
// large as the control holds it and centred, or a bitmap made in memory (a drawn section) at its
// own size from the top left, as a static shows a bitmap.
class PictureWidget : public QWidget
{
public:
    PictureWidget(HWND hWnd, QWidget* pParent) : QWidget(pParent), m_hWnd(hWnd) {}
    UINT m_nBitmapID = 0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        // The bitmap is the window's (not owned): read at each paint.
        const CWndState* state = AfxGetWndState(m_hWnd);
        const CBitmap* bitmap = state ? state->hBitmap : nullptr;
        if (bitmap && bitmap->GetResourceID() == 0) {
            const QImage image = AfxQtImageFromBitmap(*bitmap);
            if (!image.isNull()) {
                painter.drawImage(QPoint(0, 0), image);
                return;
            }
        }
        AfxQtDrawPicture(painter, AfxQtPictureRect(m_nBitmapID, rect()), m_nBitmapID);
    }

public:
    QString Fault() const
    {
        const CWndState* state = AfxGetWndState(m_hWnd);
        const CBitmap* bitmap = state ? state->hBitmap : nullptr;
        if (bitmap && bitmap->GetResourceID() == 0 && bitmap->IsValid()) {
            if (bitmap->Width() <= width() && bitmap->Height() <= height())
                return {};
            return QString("a drawn picture of %1 x %2 pixels is cut off by its %3 x %4 control")
                .arg(bitmap->Width())
                .arg(bitmap->Height())
                .arg(width())
                .arg(height());
        }
        if (m_nBitmapID != 0 && AfxQtPictureSize(m_nBitmapID).isEmpty())
            return QString("picture %1 is missing").arg(m_nBitmapID);
        return {};
    }

private:
    HWND m_hWnd;
};

} // namespace

QString AfxQtPictureFault(const QWidget& widget)
{
    const auto* picture = dynamic_cast<const PictureWidget*>(&widget);
    return picture ? picture->Fault() : QString();
}

namespace
{

// A group box drawn as the templates place it: the frame line runs through
// the middle of the title, so the controls a template puts just below the
// title stand inside the frame, clear of its line.
class GroupFrame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const QString text = title();
        // An etched frame, drawn here: the style's group frame keeps its
        // own room for a title above the line.
        qDrawShadeRect(&painter, rect().adjusted(0, text.isEmpty() ? 0 : metrics.height() / 2, 0, 0),
                       palette(), true, 1);
        if (text.isEmpty())
            return;
        const QRect band(6, 0, metrics.horizontalAdvance(text) + 4, metrics.height());
        painter.fillRect(band, palette().window());
        style()->drawItemText(&painter, band.adjusted(2, 0, 0, 0),
                              Qt::AlignLeft | Qt::AlignVCenter | Qt::TextHideMnemonic, palette(),
                              isEnabled(), text, QPalette::WindowText);
    }
};

// A tab control: the tab bar over a painted page frame; the dialog's
// controls lie over it as siblings.
class TabFrame : public QWidget
{
public:
    explicit TabFrame(QWidget* pParent) : QWidget(pParent), m_bar(new QTabBar(this))
    {
        m_bar->setDrawBase(false);
        m_bar->setExpanding(false);
    }
    QTabBar* Bar() const { return m_bar; }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        m_bar->setGeometry(0, 0, width(), m_bar->sizeHint().height());
    }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, m_bar->sizeHint().height() - 1, -1, -1));
    }

private:
    QTabBar* m_bar;
};

// The rows of a list editor are edited in place: each keystroke in a row's
// editor reaches the row at once, so that OK, Apply or a click elsewhere
// never drops what is typed, and the editor opens with its text selected,
// so that typing on a chosen row replaces it.
class ListEditDelegate : public QStyledItemDelegate
{
public:
    explicit ListEditDelegate(QObject* pParent) : QStyledItemDelegate(pParent) {}
    QWidget* createEditor(QWidget* pParent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(pParent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            QObject::connect(line, &QLineEdit::textEdited, line, [this, line] {
                emit const_cast<ListEditDelegate*>(this)->commitData(line);
            });
        return editor;
    }
};

// List box items with "\t" drawn at tab stops (LBS_USETABSTOPS): every 32
// dialog units, as the system list box places them by default; one stop set
// by SetTabStops is the distance between stops, several are the positions.
class TabStopDelegate : public QStyledItemDelegate
{
public:
    explicit TabStopDelegate(QObject* pParent) : QStyledItemDelegate(pParent) { SetStops({}); }
    // The stops in dialog units (the layer's CWndState::tabStops).
    void SetStops(const std::vector<int>& stops)
    {
        const auto pixels = [](int dlu) {
            return qMax(1, AfxMulDiv(dlu, AfxGetDialogBaseUnits().cx, 4));
        };
        m_stops.clear();
        for (int stop : stops)
            m_stops.push_back(pixels(stop));
        m_nTab = m_stops.size() == 1 ? m_stops.front() : pixels(32);
        if (m_stops.size() == 1)
            m_stops.clear();
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QStringList parts = item.text.split('\t');
        item.text.clear();
        const QWidget* widget = item.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        painter->save();
        painter->setPen(item.palette.color(
            (item.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
        const QRect area = item.rect.adjusted(2, 0, -2, 0);
        int x = area.left();
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0)
                x = area.left() + NextStop(x - area.left());
            painter->drawText(QRect(x, area.top(), qMax(0, area.right() - x), area.height()),
                              Qt::AlignVCenter | Qt::AlignLeft, parts[i]);
            x += item.fontMetrics.horizontalAdvance(parts[i]);
        }
        painter->restore();
    }

private:
    // The first stop right of offset (pixels from the item's left edge).
    int NextStop(int offset) const
    {
        for (int stop : m_stops)
            if (stop > offset)
                return stop;
        return (offset / m_nTab + 1) * m_nTab;
    }

    std::vector<int> m_stops; // positions, when more than one was set
    int m_nTab = 1;           // the distance between stops otherwise
};

// Reports the user's focus moves into a widget to its peer.
// A top-level window of the layer: a dialog, modal or modeless, stacked
// over its parent's window. Closing it from the title bar is the layer's
// WM_CLOSE (a dialog takes it as Cancel); only the layer ends it.
class DialogWidget : public QDialog
{
public:
    DialogWidget(HWND hWnd, QWidget* pParent) : QDialog(pParent), m_hWnd(hWnd) {}

    void done(int nResult) override
    {
        m_bEnding = true;
        QDialog::done(nResult);
        m_bEnding = false;
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (m_bEnding)
            return;
        event->ignore();
        AfxQtPostUserClose(this, m_hWnd);
    }

private:
    HWND m_hWnd;
    bool m_bEnding = false;
};

// The virtual key of a dialog key (Enter, Esc), or 0.
UINT DialogKey(const QKeyEvent& event)
{
    if (event.modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier))
        return 0;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    default:
        return 0;
    }
}

class FocusFilter : public QObject
{
public:
    FocusFilter(std::function<void()> onFocus, std::function<void()> onQtFocus,
                std::function<bool(UINT)> onDialogKey)
        : m_onFocus(std::move(onFocus)), m_onQtFocus(std::move(onQtFocus)),
          m_onDialogKey(std::move(onDialogKey))
    {
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && IsReadOnlyTextKey(object, event)) {
            // Qt lets a read-only multi-line edit's Copy and Select All fall
            // through to the window's shortcuts (Ctrl+C would fire the
            // frame's command); the focused edit takes them as a line edit
            // does.
            event->accept();
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const UINT nVirtKey = DialogKey(*static_cast<QKeyEvent*>(event));
            return nVirtKey && m_onDialogKey(nVirtKey);
        }
        if (event->type() == QEvent::FocusIn) {
            switch (static_cast<QFocusEvent*>(event)->reason()) {
            case Qt::MouseFocusReason:
            case Qt::TabFocusReason:
            case Qt::BacktabFocusReason:
            case Qt::ShortcutFocusReason:
                m_onFocus();
                break;
            default:
                m_onQtFocus(); // Qt's own moves (window activation, popups)
                break;
            }
        }
        return false;
    }

private:
    static bool IsReadOnlyTextKey(QObject* object, QEvent* event)
    {
        auto* edit = qobject_cast<QPlainTextEdit*>(object);
        if (!edit || !edit->isReadOnly())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll);
    }

    std::function<void()> m_onFocus;
    std::function<void()> m_onQtFocus;
    std::function<bool(UINT)> m_onDialogKey;
};

// The window's own painting and mouse input: a layer window with its own
// WM_PAINT handler (a page that draws a picture) is painted through a
// CQtPainterDC inside the widget's paint event, and the mouse buttons
// pressed on the widget itself (not on its controls) reach its handlers.
class PaintFilter : public QObject
{
public:
    explicit PaintFilter(HWND hWnd) : m_hWnd(hWnd) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(object);
        if (!widget)
            return false;
        switch (event->type()) {
        case QEvent::Paint:
            AfxQtPaintWindow(m_hWnd, *widget);
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return Mouse(*static_cast<QMouseEvent*>(event));
        default:
            return false;
        }
    }

private:
    bool Mouse(const QMouseEvent& mouse)
    {
        AfxViewEvent e;
        e.kind = mouse.type() == QEvent::MouseButtonPress     ? AfxViewEventKind::press
                 : mouse.type() == QEvent::MouseButtonRelease ? AfxViewEventKind::release
                                                              : AfxViewEventKind::doubleClick;
        e.button = mouse.button() == Qt::LeftButton    ? AfxMouseButton::left
                   : mouse.button() == Qt::RightButton ? AfxMouseButton::right
                   : mouse.button() == Qt::MiddleButton ? AfxMouseButton::middle
                                                        : AfxMouseButton::none;
        if (e.button == AfxMouseButton::none)
            return false;
        const QPoint at = mouse.position().toPoint();
        e.point = CPoint(at.x(), at.y());
        const Qt::MouseButtons held = mouse.buttons();
        e.nFlags = (held & Qt::LeftButton ? MK_LBUTTON : 0) |
                   (held & Qt::RightButton ? MK_RBUTTON : 0) |
                   (held & Qt::MiddleButton ? MK_MBUTTON : 0) |
                   (mouse.modifiers() & Qt::ShiftModifier ? MK_SHIFT : 0) |
                   (mouse.modifiers() & Qt::ControlModifier ? MK_CONTROL : 0);
        const HWND hWnd = m_hWnd;
        AfxQtEntry([hWnd, e] {
            if (CWnd* wnd = CWnd::FromHandle(hWnd))
                AfxDispatchViewEvent(*wnd, e);
        });
        return true;
    }

    HWND m_hWnd;
};

// True for a plain window or dialog that paints itself in OnPaint. Views
// are left to their host, which runs their drawing cycle, and frames and
// bars to their Qt widgets.
bool PaintsItself(const CWndState& state, const QWidget& widget)
{
    const bool plain = widget.metaObject() == &QWidget::staticMetaObject ||
                       dynamic_cast<const DialogWidget*>(&widget) != nullptr;
    return plain && state.kind == AfxWndKind::window && state.pOwner &&
           !dynamic_cast<CView*>(state.pOwner) && state.pOwner->HandlesMessage(WM_PAINT);
}

bool IsMultiLine(AfxWndKind kind, DWORD dwStyle)
{
    return kind == AfxWndKind::edit && (dwStyle & ES_MULTILINE);
}

// The layer's bytes as the widget holds them: multi-line edits show each
// "\r\n" as one line break.
QString WidgetText(const CString& text, bool bMultiLine)
{
    return bMultiLine ? AfxQtDisplayText(text, true) : AfxToQString(text);
}

// The widget's text as the layer's bytes.
CString LayerText(const QString& text, bool bMultiLine)
{
    if (!bMultiLine)
        return AfxFromQString(text);
    QString crlf = text;
    crlf.replace('\n', "\r\n");
    return AfxFromQString(crlf);
}

// A byte offset of the layer's text as a position in the widget's text.
int WidgetPosition(const CString& text, int nOffset, bool bMultiLine)
{
    if (nOffset < 0 || nOffset > text.GetLength())
        nOffset = text.GetLength();
    return static_cast<int>(WidgetText(text.Left(nOffset), bMultiLine).size());
}

QIcon Swatch(COLORREF clr, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(QColor(GetRValue(clr), GetGValue(clr), GetBValue(clr)));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QPixmap PicturePixmap(UINT nBitmapID, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    AfxQtDrawPicture(painter, AfxQtPictureRect(nBitmapID, pixmap.rect()), nBitmapID);
    return pixmap;
}

// A multi-line edit scrolling sideways keeps its lines whole.
QPlainTextEdit::LineWrapMode WrapMode(DWORD dwStyle)
{
    return (dwStyle & (ES_AUTOHSCROLL | WS_HSCROLL)) ? QPlainTextEdit::NoWrap
                                                     : QPlainTextEdit::WidgetWidth;
}

// A multi-line edit stops tabs every eight spaces of its font, so columns of
// a log line separated by tabs line up as in a terminal (the logs use a
// fixed-pitch font) and a tab never shrinks to nothing at the end of a column.
void SetEditTabStops(QPlainTextEdit* edit)
{
    edit->setTabStopDistance(8 * QFontMetricsF(edit->font()).horizontalAdvance(QLatin1Char(' ')));
}

// Shows a top-level window maximised or in its normal geometry. A window
// already in the asked state is only shown: maximising it again would let
// some platforms take the maximised geometry as the normal one. A frame
// that is restored takes the layer's rectangle (its normal one) again, as
// not every platform keeps it across a hide.
void ShowTopLevel(QWidget* w, bool maximised, CRect normal)
{
    if (maximised && !w->isMaximized()) {
        w->showMaximized();
    } else if (!maximised && w->isMaximized()) {
        w->showNormal();
        if (AfxQtIsFrameWidget(w) && !normal.IsRectEmpty()) {
            w->move(normal.left, normal.top);
            w->resize(normal.Width(), normal.Height());
        }
    } else {
        w->setVisible(true);
    }
}

// The parent's widget, for placement.
QWidget* ParentWidget(const CWndState& state)
{
    const CWndState* parent = AfxGetWndState(state.hWndParent);
    auto* peer = parent ? dynamic_cast<CQtPeer*>(parent->peer.get()) : nullptr;
    QWidget* widget = peer ? peer->Widget() : nullptr;
    // A frame's control bars (the status bar, toolbars, docks) go to the
    // frame itself, its other children into its client area.
    return widget && !dynamic_cast<CControlBar*>(state.pOwner) ? AfxQtClientArea(widget) : widget;
}

} // namespace

// ---- CQtPeer ------------------------------------------------------------------

CQtPeer::CQtPeer(const CWndState& state, QWidget* pParent)
    : m_hWnd(state.hWnd), m_kind(state.kind), m_dwStyle(state.dwStyle)
{
    Build(state, pParent);
    m_input = m_input ? m_input : m_widget;
    m_widget->setAttribute(Qt::WA_DeleteOnClose, false);
    Connect(state);
    m_filter = std::make_unique<FocusFilter>(
        [this] {
            if (!m_bShowing)
                Report([this] { AfxUserFocus(m_hWnd); });
        },
        [this] { ShowLayerFocus(); }, [this](UINT nVirtKey) { return DialogKey(nVirtKey); });
    m_input->installEventFilter(m_filter.get());
    if (auto* combo = qobject_cast<QComboBox*>(m_input.data()); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(m_filter.get());
    SetBuddyOfLabels(state);
    if (PaintsItself(state, *m_widget)) {
        m_paint = std::make_unique<PaintFilter>(m_hWnd);
        m_widget->installEventFilter(m_paint.get());
    }
}

CQtPeer::~CQtPeer()
{
    if (m_widget && m_paint)
        m_widget->removeEventFilter(m_paint.get());
    if (m_input)
        m_input->removeEventFilter(m_filter.get());
    delete m_widget.data(); // null when Qt deleted it with its parent
}

QWidget* CQtPeer::InputWidget() const
{
    return m_input.data();
}

void CQtPeer::Build(const CWndState& state, QWidget* pParent)
{
    const DWORD style = state.dwStyle;
    switch (state.kind) {
    case AfxWndKind::edit:
        if (style & ES_MULTILINE) {
            auto* edit = new QPlainTextEdit(pParent);
            edit->setLineWrapMode(WrapMode(style));
            SetEditTabStops(edit);
            edit->setTabChangesFocus(true);
            m_widget = edit;
        } else {
            auto* edit = new QLineEdit(pParent);
            if (style & ES_NUMBER)
                edit->setValidator(
                    new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
            edit->setAlignment((style & ES_RIGHT)    ? Qt::AlignRight
                               : (style & ES_CENTER) ? Qt::AlignHCenter
                                                     : Qt::AlignLeft);
            m_widget = edit;
        }
        break;
    case AfxWndKind::button:
        switch (style & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: {
            auto* check = new QCheckBox(pParent);
            const DWORD type = style & BS_TYPEMASK;
            check->setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
            m_widget = check;
            break;
        }
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            auto* radio = new QRadioButton(pParent);
            // Groups belong to the layer: nothing checked must be possible.
            radio->setAutoExclusive(false);
            m_widget = radio;
            break;
        }
        case BS_GROUPBOX: {
            auto* group = new GroupFrame(pParent);
            group->setFocusPolicy(Qt::NoFocus);
            group->setAttribute(Qt::WA_TransparentForMouseEvents);
            m_widget = group;
            break;
        }
        default: {
            auto* push = new QPushButton(pParent);
            push->setAutoDefault(false);
            push->setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
            m_widget = push;
            break;
        }
        }
        break;
    case AfxWndKind::staticText:
        if ((style & SS_TYPEMASK) == SS_BITMAP) {
            m_widget = new PictureWidget(state.hWnd, pParent);
        } else {
            auto* label = new QLabel(pParent);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap((style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP);
            label->setAlignment(Qt::AlignTop |
                                ((style & SS_TYPEMASK) == SS_CENTER  ? Qt::AlignHCenter
                                 : (style & SS_TYPEMASK) == SS_RIGHT ? Qt::AlignRight
                                                                     : Qt::AlignLeft));
            if ((style & SS_TYPEMASK) == SS_ETCHEDFRAME)
                label->setFrameStyle(QFrame::Box | QFrame::Sunken);
            m_widget = label;
        }
        break;
    case AfxWndKind::comboBox: {
        auto* combo = new QComboBox(pParent);
        combo->setEditable((style & 0x3) != CBS_DROPDOWNLIST);
        // The layer manages the entries: Return never adds one.
        combo->setInsertPolicy(QComboBox::NoInsert);
        // A typed number stays as typed: no inline completion to an entry
        // that starts with it ("10" would become "100" on Enter).
        if (combo->isEditable())
            combo->setCompleter(nullptr);
        m_widget = combo;
        break;
    }
    case AfxWndKind::listBox: {
        auto* list = new QListWidget(pParent);
        if (style & LBS_USETABSTOPS)
            list->setItemDelegate(new TabStopDelegate(list));
        m_widget = list;
        m_list = list;
        break;
    }
    case AfxWndKind::spin: {
        auto* spin = new QWidget(pParent);
        auto* layout = new QVBoxLayout(spin);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (Qt::ArrowType arrow : {Qt::UpArrow, Qt::DownArrow}) {
            auto* button = new QToolButton(spin);
            button->setArrowType(arrow);
            button->setAutoRepeat(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
            button->setObjectName(arrow == Qt::UpArrow ? "up" : "down");
            layout->addWidget(button);
        }
        m_widget = spin;
        break;
    }
    case AfxWndKind::tab: {
        auto* frame = new TabFrame(pParent);
        m_widget = frame;
        m_input = frame->Bar();
        break;
    }
    case AfxWndKind::scrollBar:
        m_widget = new QScrollBar((style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, pParent);
        break;
    case AfxWndKind::colorButton:
        m_widget = new QToolButton(pParent);
        break;
    case AfxWndKind::listEdit: {
        auto* editor = new QWidget(pParent);
        auto* layout = new QVBoxLayout(editor);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(2);
        auto* header = new QHBoxLayout;
        auto* caption = new QLabel(editor);
        caption->setObjectName("caption");
        header->addWidget(caption, 1);
        struct Action {
            const char* text;
            void (CListEditCtrl::*act)();
        };
        for (const Action& a :
             {Action{"New", &CListEditCtrl::NewItem}, Action{"Delete", &CListEditCtrl::DeleteItem},
              Action{"Up", &CListEditCtrl::MoveUp}, Action{"Down", &CListEditCtrl::MoveDown}}) {
            auto* button = new QToolButton(editor);
            button->setText(a.text);
            button->setObjectName(a.text);
            button->setFocusPolicy(Qt::NoFocus);
            const auto act = a.act;
            QObject::connect(button, &QToolButton::clicked, button, [this, act] {
                Report([this, act] {
                    const CWndState* state = AfxGetWndState(m_hWnd);
                    if (auto* ctrl =
                            state ? dynamic_cast<CListEditCtrl*>(state->Target()) : nullptr)
                        (ctrl->*act)();
                });
                // A new row is typed into at once, as the list's own rows are
                // once chosen: the list takes the keyboard with the row's editor open.
                if (act == &CListEditCtrl::NewItem && m_list && m_list->currentItem()) {
                    m_list->setFocus(Qt::OtherFocusReason);
                    m_list->editItem(m_list->currentItem());
                }
            });
            header->addWidget(button);
        }
        layout->addLayout(header);
        m_list = new QListWidget(editor);
        // Typing on the chosen row edits it, as do a double click and F2.
        m_list->setEditTriggers(QAbstractItemView::AnyKeyPressed |
                                QAbstractItemView::DoubleClicked |
                                QAbstractItemView::EditKeyPressed);
        m_list->setItemDelegate(new ListEditDelegate(m_list));
        layout->addWidget(m_list, 1);
        caption->setBuddy(m_list);
        m_widget = editor;
        m_input = m_list.data();
        break;
    }
    case AfxWndKind::pictureButton: {
        // The picture fills the button above its text.
        auto* button = new QToolButton(pParent);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFocusPolicy(Qt::StrongFocus);
        m_widget = button;
        break;
    }
    case AfxWndKind::window:
    default:
        if (dynamic_cast<CMDIChildWnd*>(state.pOwner))
            m_widget = AfxQtNewChildFrame(state.hWnd, pParent);
        else if (auto* frame = dynamic_cast<CFrameWnd*>(state.pOwner); frame && !(style & WS_CHILD))
            m_widget = AfxQtNewFrameWidget(state.hWnd, *frame, pParent);
        else if (dynamic_cast<CStatusBar*>(state.pOwner))
            m_widget = AfxQtNewStatusBar(pParent);
        else if (auto* bar = dynamic_cast<CControlBar*>(state.pOwner); bar && AfxQtIsFrameWidget(pParent))
            m_widget = AfxQtNewControlBar(state.hWnd, *bar, pParent);
        else if (dynamic_cast<CTabWnd*>(state.pOwner))
            m_widget = AfxQtNewTabWindow(state.hWnd, pParent);
        else if (style & WS_CHILD)
            m_widget = new QWidget(pParent);
        else
            m_widget = new DialogWidget(state.hWnd, pParent);
        break;
    }
    // Placement belongs to the layer; a top-level window is shown by it too.
    m_widget->hide();
}

void CQtPeer::Connect(const CWndState& state)
{
    QWidget* w = m_widget.data();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [this](const QString& text) { ReportText(text); });
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit,
                         [this, edit] { ReportText(edit->toPlainText()); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w);
               button && state.kind != AfxWndKind::colorButton) {
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this] { Report([this] { AfxUserClick(m_hWnd); }); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QObject::connect(combo, &QComboBox::activated, combo,
                         [this](int i) { Report([this, i] { AfxUserSelect(m_hWnd, i); }); });
        if (combo->lineEdit())
            QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo,
                             [this](const QString& text) { ReportText(text); });
    } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
        QObject::connect(bar, &QScrollBar::actionTriggered, bar, [this, bar](int action) {
            const UINT code = AfxQtScrollCode(action);
            if (code == SB_ENDSCROLL)
                return;
            const int pos = bar->sliderPosition();
            Report([this, code, pos] { AfxUserScroll(m_hWnd, code, pos); });
        });
        QObject::connect(bar, &QScrollBar::sliderReleased, bar, [this, bar] {
            const int pos = bar->sliderPosition();
            Report([this, pos] { AfxUserScroll(m_hWnd, SB_THUMBPOSITION, pos); });
        });
    }
    if (state.kind == AfxWndKind::colorButton) {
        auto* button = static_cast<QToolButton*>(w);
        QObject::connect(button, &QToolButton::clicked, button,
                         [this] { Report([this] { AfxUserClick(m_hWnd); }); });
    } else if (state.kind == AfxWndKind::spin) {
        for (QToolButton* button : w->findChildren<QToolButton*>()) {
            const int step = button->objectName() == "up" ? 1 : -1;
            QObject::connect(button, &QToolButton::clicked, button,
                             [this, step] { Report([this, step] { AfxUserSpin(m_hWnd, step); }); });
        }
    } else if (state.kind == AfxWndKind::tab) {
        QTabBar* bar = static_cast<TabFrame*>(w)->Bar();
        QObject::connect(bar, &QTabBar::currentChanged, bar, [this](int i) {
            if (i >= 0)
                Report([this, i] { AfxUserSelect(m_hWnd, i); });
        });
    }
    if (m_list)
        // A chosen (selected) row reaches the layer; focus alone makes a row
        // current without choosing it.
        QObject::connect(m_list, &QListWidget::itemSelectionChanged, m_list, [this] {
            const QList<QListWidgetItem*> chosen = m_list->selectedItems();
            if (!chosen.isEmpty()) {
                const int i = m_list->row(chosen.front());
                Report([this, i] { AfxUserSelect(m_hWnd, i); });
            }
        });
    if (state.kind == AfxWndKind::listEdit) {
        QObject::connect(m_list, &QListWidget::itemChanged, m_list, [this](QListWidgetItem* item) {
            const CString text = AfxFromQString(item->text());
            Report([this, text] { AfxUserType(m_hWnd, text); });
        });
    }
}

void CQtPeer::SetBuddyOfLabels(const CWndState& state)
{
    if (!AfxTakesFocus(state) || !state.hWndParent)
        return;
    // A static's "&" letter focuses the next control that takes the focus:
    // every label since the previous such control gets this one as buddy.
    const std::vector<CWndState*> siblings = AfxGetChildStates(state.hWndParent);
    std::size_t at = 0;
    while (at < siblings.size() && siblings[at] != &state)
        ++at;
    while (at-- > 0) {
        const CWndState& sibling = *siblings[at];
        if (AfxTakesFocus(sibling))
            break;
        auto* peer = dynamic_cast<CQtPeer*>(sibling.peer.get());
        if (auto* label = peer ? qobject_cast<QLabel*>(peer->Widget()) : nullptr) {
            label->setBuddy(m_input);
            peer->Update(sibling, PEER_TEXT); // the "&" now marks a mnemonic
        }
    }
}

void CQtPeer::Report(const std::function<void()>& action)
{
    if (m_bShowing)
        return;
    AfxQtEntry([&] {
        const HWND hWnd = m_hWnd; // the action may destroy this peer
        action();
        if (const CWndState* state = AfxGetWndState(hWnd); state && state->peer.get() == this)
            Update(*state, PEER_TEXT | PEER_CHECK | PEER_ITEMS | PEER_SELECTION | PEER_RANGE);
    });
}

void CQtPeer::ReportText(const QString& shown)
{
    if (m_bShowing)
        return;
    // Where the widget's selection really is: the smallest
    // replacement below cannot tell where the user typed when the old text
    // matches the keys ("2" typed over "12" looks like "1" deleted), and the
    // caret shown back from the layer would jump away from the typing.
    int from = -1, to = -1;
    QLineEdit* line = qobject_cast<QLineEdit*>(m_widget.data());
    if (auto* combo = qobject_cast<QComboBox*>(m_widget.data()))
        line = combo->lineEdit();
    if (line) {
        from = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        to = line->hasSelectedText() ? line->selectionEnd() : line->cursorPosition();
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(m_widget.data())) {
        from = edit->textCursor().selectionStart();
        to = edit->textCursor().selectionEnd();
    }
    Report([this, shown, from, to] {
        CWndState* state = AfxGetWndState(m_hWnd);
        if (!state)
            return;
        const bool multiLine = IsMultiLine(m_kind, m_dwStyle);
        const CString now = LayerText(shown, multiLine);
        const CString& old = state->strText;
        // The smallest replacement from the old text to the new one.
        int prefix = 0;
        const int oldLen = old.GetLength(), newLen = now.GetLength();
        while (prefix < oldLen && prefix < newLen && old[prefix] == now[prefix])
            ++prefix;
        int suffix = 0;
        while (suffix < oldLen - prefix && suffix < newLen - prefix &&
               old[oldLen - 1 - suffix] == now[newLen - 1 - suffix])
            ++suffix;
        state->nSelStart = prefix;
        state->nSelEnd = oldLen - suffix;
        AfxUserType(m_hWnd, now.Mid(prefix, newLen - prefix - suffix));
        state = AfxGetWndState(m_hWnd); // the notification may have changed it
        if (!state || from < 0 || state->strText != now)
            return;
        const auto offset = [&](int pos) {
            return LayerText(shown.left(pos), multiLine).GetLength();
        };
        state->nSelStart = offset(from);
        state->nSelEnd = offset(to);
        state->Changed(PEER_SELECTION);
    });
}

void CQtPeer::ShowText(const CWndState& state)
{
    QWidget* w = m_widget.data();
    const bool multiLine = IsMultiLine(m_kind, m_dwStyle);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const QString text = WidgetText(state.strText, false);
        if (edit->text() != text) {
            edit->setText(text);
            // A number longer than its field shows its first digits, as a
            // desktop edit does after its text is set, not its last ones.
            if (!edit->hasFocus())
                edit->setCursorPosition(0);
        }
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        const QString text = WidgetText(state.strText, multiLine);
        if (edit->toPlainText() != text)
            edit->setPlainText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->lineEdit() && combo->lineEdit()->text() != AfxToQString(state.strText))
            combo->lineEdit()->setText(AfxToQString(state.strText));
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(AfxQtDisplayText(state.strText, false));
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (m_kind != AfxWndKind::colorButton)
            button->setText(AfxQtDisplayText(state.strText, true));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(AfxQtDisplayText(state.strText, label->buddy() != nullptr));
    } else if (m_kind == AfxWndKind::listEdit) {
        if (auto* caption = w->findChild<QLabel*>("caption"))
            caption->setText(AfxQtDisplayText(state.strText, true));
    } else if (w && (w->isWindow() || AfxQtIsChildFrame(w))) {
        // A dialog without a caption is titled with the program's name, not
        // with Qt's default, the executable's file name.
        const CWinApp* app = AfxGetApp();
        const bool untitledDialog = state.strText.IsEmpty() && qobject_cast<QDialog*>(w);
        w->setWindowTitle(untitledDialog ? AfxToQString(app && app->m_pszAppName ? app->m_pszAppName
                                                                                 : "Brantel")
                                         : AfxToQString(state.strText));
    }
}

void CQtPeer::ShowItems(const CWndState& state)
{
    QStringList texts;
    for (const AfxListItem& item : state.items)
        texts << AfxToQString(item.strText);
    QWidget* w = m_widget.data();
    // Unchanged items stay as they are (a report re-shows them after each
    // keystroke; rebuilding would move the caret of an editable combo).
    QStringList current;
    if (auto* combo = qobject_cast<QComboBox*>(w))
        for (int i = 0; i < combo->count(); ++i)
            current << combo->itemText(i);
    else if (m_kind == AfxWndKind::tab)
        for (int i = 0; i < static_cast<TabFrame*>(w)->Bar()->count(); ++i)
            current << static_cast<TabFrame*>(w)->Bar()->tabText(i);
    else if (m_list)
        for (int i = 0; i < m_list->count(); ++i)
            current << m_list->item(i)->text();
    if (current == texts)
        return;
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        const QString edited = combo->lineEdit() ? combo->lineEdit()->text() : QString();
        combo->clear();
        combo->addItems(texts);
        if (combo->lineEdit())
            combo->lineEdit()->setText(edited);
    } else if (m_kind == AfxWndKind::tab) {
        QTabBar* bar = static_cast<TabFrame*>(w)->Bar();
        while (bar->count() > 0)
            bar->removeTab(0);
        for (const QString& text : texts)
            bar->addTab(text);
    } else if (m_list) {
        m_list->clear();
        m_list->addItems(texts);
        if (m_kind == AfxWndKind::listEdit) // edited in place
            for (int i = 0; i < m_list->count(); ++i)
                m_list->item(i)->setFlags(m_list->item(i)->flags() | Qt::ItemIsEditable);
    }
}

void CQtPeer::ShowSelection(const CWndState& state)
{
    QWidget* w = m_widget.data();
    const bool multiLine = IsMultiLine(m_kind, m_dwStyle);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        const int start = WidgetPosition(state.strText, state.nSelStart, false);
        const int end = WidgetPosition(state.strText, state.nSelEnd, false);
        edit->setSelection(start, end - start);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        QTextCursor cursor(edit->document());
        cursor.setPosition(WidgetPosition(state.strText, state.nSelStart, multiLine));
        cursor.setPosition(WidgetPosition(state.strText, state.nSelEnd, multiLine),
                           QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(state.nCurSel);
        // setCurrentIndex puts the item's text into the edit, even when the
        // index does not change; the edit shows the layer's text, which may
        // be one no item has.
        if (QLineEdit* line = combo->lineEdit()) {
            const QString text = AfxToQString(state.strText);
            if (line->text() != text)
                line->setText(text);
            // A desktop edit hides its selection while another control has
            // the focus: a box refilled when a document comes to the front
            // shows its value plainly, not highlighted as if being typed
            // over. The caret stays where the layer has it.
            const int start = WidgetPosition(state.strText, state.nSelStart, false);
            const int end = WidgetPosition(state.strText, state.nSelEnd, false);
            const CWnd* focus = CWnd::GetFocus();
            if (start == end || line->hasFocus() || (focus && focus->GetSafeHwnd() == state.hWnd)) {
                line->setSelection(start, end - start);
            } else {
                line->deselect();
                line->setCursorPosition(0);
            }
        }
    } else if (m_kind == AfxWndKind::tab) {
        static_cast<TabFrame*>(w)->Bar()->setCurrentIndex(state.nCurSel);
    } else if (m_list) {
        m_list->setCurrentRow(state.nCurSel);
    }
}

void CQtPeer::ShowCheck(const CWndState& state)
{
    if (auto* check = qobject_cast<QCheckBox*>(m_widget.data()))
        check->setCheckState(state.nCheck == 2   ? Qt::PartiallyChecked
                             : state.nCheck == 1 ? Qt::Checked
                                                 : Qt::Unchecked);
    else if (auto* radio = qobject_cast<QRadioButton*>(m_widget.data()))
        radio->setChecked(state.nCheck != 0);
}

void CQtPeer::ShowColor(const CWndState& state)
{
    if (auto* button = qobject_cast<QToolButton*>(m_widget.data())) {
        const QSize size = button->size() - QSize(8, 8);
        button->setIconSize(size.isValid() && !size.isEmpty() ? size : QSize(16, 12));
        button->setIcon(Swatch(state.color, button->iconSize()));
    }
}

void CQtPeer::Update(const CWndState& state, UINT nChanges)
{
    QWidget* w = m_widget.data();
    if (!w)
        return;
    m_bShowing = true;
    m_dwStyle = state.dwStyle;
    {
        const QSignalBlocker blockOuter(w);
        const QSignalBlocker blockInput(m_input.data());
        auto* combo = qobject_cast<QComboBox*>(w);
        const QSignalBlocker blockComboEdit(combo ? combo->lineEdit() : nullptr);

        if (nChanges & PEER_GEOMETRY) {
            const QRect rect(state.rect.left, state.rect.top, state.rect.Width(),
                             state.rect.Height());
            if (AfxQtIsStatusBar(w) || AfxQtIsChildFrame(w) || AfxQtIsLaidOut(w)) {
                // Laid out by Qt (child frames are always maximised).
            } else if (AfxQtIsFrameWidget(w) && w->isWindow()) {
                // A frame's placement (its size and where it stands).
                w->move(rect.topLeft());
                w->resize(rect.size());
            } else if (w->isWindow()) {
                w->resize(rect.size());
            } else if (qobject_cast<QComboBox*>(w)) {
                // A combo's rectangle includes its dropped-down list; closed,
                // it is one line high (the font's height and a frame).
                const int closed = w->fontMetrics().height() + 8;
                w->setGeometry(rect.x(), rect.y(), rect.width(), qMin(rect.height(), closed));
            } else {
                w->setGeometry(rect);
            }
            nChanges |= PEER_COLOR | PEER_BITMAP; // sized to the new rectangle
        }
        if (AfxQtIsFrameWidget(w))
            AfxQtShowFrameState(w); // the active child may have changed
        if (AfxQtIsControlBar(w)) {
            AfxQtShowControlBar(w, state, nChanges);
            nChanges &= ~(PEER_TEXT | PEER_ITEMS | PEER_SELECTION);
        } else if (AfxQtIsTabWindow(w) && (nChanges & (PEER_ITEMS | PEER_SELECTION))) {
            AfxQtShowTabs(w, state);
            nChanges &= ~(PEER_ITEMS | PEER_SELECTION);
        }
        if (nChanges & PEER_ITEMS && AfxQtIsStatusBar(w)) {
            AfxQtShowStatusPanes(w, state.items);
        } else if (nChanges & PEER_ITEMS) {
            if (auto* list = qobject_cast<QListWidget*>(w))
                if (auto* tabs = dynamic_cast<TabStopDelegate*>(list->itemDelegate()))
                    tabs->SetStops(state.tabStops);
            ShowItems(state);
            nChanges |= PEER_SELECTION; // the widget may have chosen an item itself
        }
        if (nChanges & PEER_TEXT)
            ShowText(state);
        if (nChanges & PEER_SELECTION)
            ShowSelection(state);
        if (nChanges & PEER_CHECK)
            ShowCheck(state);
        if (nChanges & PEER_ENABLED)
            w->setEnabled(state.bEnabled);
        if (nChanges & (PEER_STYLE | PEER_TEXT)) {
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                edit->setReadOnly(state.dwStyle & ES_READONLY);
                // setMaxLength sets the text again and moves the cursor to
                // its end: only when the limit changes.
                const int limit = state.nLimit > 0 ? state.nLimit : 32767;
                if (edit->maxLength() != limit) {
                    edit->setMaxLength(limit);
                    ShowSelection(state);
                }
            } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
                edit->setReadOnly(state.dwStyle & ES_READONLY);
                edit->setLineWrapMode(WrapMode(state.dwStyle));
            }
        }
        if (nChanges & PEER_STYLE && state.font) {
            w->setFont(AfxQtFontFromLogFont(*state.font));
            if (auto* edit = qobject_cast<QPlainTextEdit*>(w))
                SetEditTabStops(edit);
        }
        if (nChanges & PEER_RANGE) {
            if (auto* bar = qobject_cast<QScrollBar*>(w)) {
                bar->setRange(qMin(state.nLower, state.nUpper), qMax(state.nLower, state.nUpper));
                bar->setValue(state.nPos);
            }
        }
        if (nChanges & PEER_COLOR && state.kind == AfxWndKind::colorButton)
            ShowColor(state);
        if (nChanges & PEER_TOOLTIP)
            w->setToolTip(AfxToQString(state.strToolTip));
        if (nChanges & PEER_BITMAP) {
            if (auto* picture = dynamic_cast<PictureWidget*>(w)) {
                picture->m_nBitmapID = state.nBitmapID;
                picture->update();
            } else if (state.kind == AfxWndKind::pictureButton) {
                auto* button = static_cast<QToolButton*>(w);
                // The picture takes the room the line of text under it leaves.
                const int textRoom =
                    button->text().isEmpty() ? 0 : QFontMetrics(button->font()).height() + 6;
                const int side = qMax(8, qMin(w->width() - 12, w->height() - 12 - textRoom));
                button->setIconSize(QSize(side, side));
                button->setIcon(QIcon(PicturePixmap(state.nBitmapID, QSize(side, side))));
            }
        }
        if (nChanges & PEER_VISIBLE && AfxQtIsChildFrame(w) && state.bVisible)
            AfxQtShowChildFrame(w);
        else if (nChanges & PEER_VISIBLE && w->isWindow() && state.bVisible) {
            // A dialog on its way into its modal loop maps once, already
            // modal: mapped, unmapped and mapped again, a window manager
            // could place the second map under the owner.
            if (const auto* dialog = dynamic_cast<const CDialog*>(state.pOwner);
                dialog && dialog->IsModal() && dynamic_cast<DialogWidget*>(w) && !w->isVisible())
                w->setWindowModality(Qt::ApplicationModal);
            ShowTopLevel(w, (state.dwStyle & WS_MAXIMIZE) != 0, state.rect);
        }
        else if (nChanges & PEER_VISIBLE)
            w->setVisible(state.bVisible);
        if (nChanges & PEER_FOCUS) {
            const CWnd* focus = CWnd::GetFocus();
            if (focus && focus->GetSafeHwnd() == state.hWnd && m_input) {
                m_input->setFocus(Qt::OtherFocusReason);
                // A box's edit shows the selection it hid while unfocused.
                if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
                    ShowSelection(state);
            }
        }
    }
    m_bShowing = false;
}

bool CQtPeer::DialogKey(UINT nVirtKey)
{
    // Enter in a list editor's row that is being edited only ends that edit
    // (the row's delegate commits it and closes its editor); the dialog's
    // default button waits for the next Enter.
    if (nVirtKey == VK_RETURN && m_kind == AfxWndKind::listEdit && m_list &&
        m_list->indexWidget(m_list->currentIndex()))
        return true;
    // A multi-line edit with ES_WANTRETURN keeps Enter as a line break.
    if (m_bShowing || !m_widget || !dynamic_cast<DialogWidget*>(m_widget->window()) ||
        (nVirtKey == VK_RETURN && IsMultiLine(m_kind, m_dwStyle) && (m_dwStyle & ES_WANTRETURN)))
        return false;
    AfxQtEntry([this, nVirtKey] { AfxUserDialogKey(m_hWnd, nVirtKey); });
    return true;
}

void CQtPeer::ShowLayerFocus()
{
    // The layer decides where the focus is: Qt's own choice (the first
    // control of a window being activated) gives way to it.
    const CWnd* focus = CWnd::GetFocus();
    if (m_bShowing || !m_input || (focus && focus->GetSafeHwnd() == m_hWnd))
        return;
    const CWndState* state = focus ? AfxGetWndState(focus->GetSafeHwnd()) : nullptr;
    auto* peer = state ? dynamic_cast<CQtPeer*>(state->peer.get()) : nullptr;
    QWidget* target = peer ? peer->InputWidget() : nullptr;
    if (target && target->window() == m_input->window())
        target->setFocus(Qt::OtherFocusReason);
    else
        m_input->clearFocus();
}

bool CQtPeer::Repaint(bool bNow)
{
    QWidget* widget = m_widget.data();
    if (!m_paint) {
        // The OpenGL views inside the window are repainted with it, as its
        // other children are: Qt would only show their last frames again (a
        // frame redrawn after a new mesh or other units showed the old
        // picture). A view painting itself draws its own once.
        AfxQtRepaintGLViewsIn(widget, bNow);
        return false;
    }
    if (widget)
        bNow ? widget->repaint() : widget->update();
    return true;
}

bool CQtPeer::ClientToScreen(CPoint& point) const
{
    // An OpenGL view's points are the device pixels of its drawing widget.
    if (CQtGLHost* host = CQtGLHost::Of(m_hWnd); host && host->GLWidget()) {
        QWidget* gl = host->GLWidget();
        const qreal ratio = gl->devicePixelRatioF();
        const QPoint global = gl->mapToGlobal(QPointF(point.x / ratio, point.y / ratio)).toPoint();
        point = CPoint(global.x(), global.y());
        return true;
    }
    QWidget* widget = m_widget.data();
    if (!widget)
        return false;
    const QPoint global = widget->mapToGlobal(QPoint(point.x, point.y));
    point = CPoint(global.x(), global.y());
    return true;
}

void CQtPeer::UserFocus()
{
    QWidget* input = m_input.data();
    if (!input)
        return;
    input->setFocus(Qt::MouseFocusReason);
    // A window that is not active takes no focus: the move still happens
    // for the layer, as the click that focuses it would do.
    const CWnd* focus = CWnd::GetFocus();
    if (!focus || focus->GetSafeHwnd() != m_hWnd)
        Report([this] { AfxUserFocus(m_hWnd); });
}

void CQtPeer::UserClick()
{
    // A button clicks as the widget does (it reports its own click).
    if (auto* button = qobject_cast<QAbstractButton*>(m_widget.data());
        button && button->isEnabled()) {
        button->click();
        return;
    }
    Report([this] { AfxUserClick(m_hWnd); });
}

void CQtPeer::UserType(const CString& text)
{
    const QString typed = AfxToQString(text);
    QWidget* w = m_widget.data();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->insert(typed);
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        if (!edit->isReadOnly())
            edit->textCursor().insertText(WidgetText(text, true));
    } else if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit()) {
        QLineEdit* line = combo->lineEdit();
        const QString before = line->text();
        line->insert(typed);
        if (line->text() != before)
            ReportText(line->text()); // insert() is not an edit signal of its own
    } else if (m_kind == AfxWndKind::listEdit && m_list && m_list->currentItem()) {
        m_list->currentItem()->setText(typed);
    } else {
        Report([this, text] { AfxUserType(m_hWnd, text); });
    }
}

void CQtPeer::UserSelect(int nIndex)
{
    QWidget* w = m_widget.data();
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (nIndex >= 0 && nIndex < combo->count()) {
            {
                const QSignalBlocker block(combo);
                combo->setCurrentIndex(nIndex);
            }
            emit combo->activated(nIndex);
            return;
        }
    } else if (m_kind == AfxWndKind::tab) {
        QTabBar* bar = static_cast<TabFrame*>(w)->Bar();
        if (nIndex >= 0 && nIndex < bar->count() && bar->currentIndex() != nIndex) {
            bar->setCurrentIndex(nIndex);
            return;
        }
    } else if (m_list) {
        if (nIndex >= 0 && nIndex < m_list->count() && m_list->currentRow() != nIndex) {
            m_list->setCurrentRow(nIndex);
            return;
        }
    }
    Report([this, nIndex] { AfxUserSelect(m_hWnd, nIndex); });
}

void CQtPeer::UserSpin(int nDelta)
{
    QWidget* w = m_widget.data();
    if (m_kind != AfxWndKind::spin || !w || !w->isEnabled()) {
        Report([this, nDelta] { AfxUserSpin(m_hWnd, nDelta); });
        return;
    }
    QToolButton* button = w->findChild<QToolButton*>(nDelta > 0 ? "up" : "down");
    for (int i = 0; i < (nDelta > 0 ? nDelta : -nDelta); ++i)
        button->click();
}

void CQtPeer::UserScroll(UINT nSBCode, int nPos)
{
    Report([this, nSBCode, nPos] { AfxUserScroll(m_hWnd, nSBCode, nPos); });
}

// ---- CQtBackend ---------------------------------------------------------------

CQtBackend::CQtBackend()
{
    m_clock.start();
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, &m_context, [this] { Pump(); });
}

CQtBackend::~CQtBackend() = default;

ULONGLONG CQtBackend::GetTickCount()
{
    return static_cast<ULONGLONG>(m_clock.elapsed());
}

void CQtBackend::WakeUp()
{
    if (m_bPumpQueued)
        return;
    m_bPumpQueued = true;
    QMetaObject::invokeMethod(
        &m_context, [this] { Pump(); }, Qt::QueuedConnection);
}

void CQtBackend::Pump()
{
    m_bPumpQueued = false;
    AfxQtEntry([] { AfxPumpMessages(); });
    const LONGLONG due = AfxNextTimerDue();
    if (due >= 0)
        m_timer.start(static_cast<int>(qMin<LONGLONG>(due, 1 << 30)));
    else
        m_timer.stop();
}

std::unique_ptr<CWndPeer> CQtBackend::CreatePeer(const CWndState& state)
{
    QWidget* parent = ParentWidget(state);
    auto peer = std::make_unique<CQtPeer>(state, parent);
    // The first child of a dock bar fills it.
    if (auto* dock = qobject_cast<QDockWidget*>(parent); dock && !dock->widget()) {
        AfxQtSetLaidOut(peer->Widget());
        dock->setWidget(peer->Widget());
    }
    if (!parent)
        peer->Widget()->setFont(DialogFont());
    return peer;
}

namespace
{
// The dialog widget of a layer window, or null.
DialogWidget* DialogWidgetOf(CWnd& wnd)
{
    const CWndState* state = AfxGetWndState(wnd.GetSafeHwnd());
    auto* peer = state ? dynamic_cast<CQtPeer*>(state->peer.get()) : nullptr;
    return peer ? dynamic_cast<DialogWidget*>(peer->Widget()) : nullptr;
}
} // namespace

void CQtBackend::RunModalLoop(CWnd& dialog, UINT nIDTemplate, const CString& strCaption)
{
    DialogWidget* widget = DialogWidgetOf(dialog);
    if (!widget) {
        CWndBackend::RunModalLoop(dialog, nIDTemplate, strCaption);
        return;
    }
    // Modality is set when a window shows: a dialog that showed without it
    // shows again as a modal window.
    if (!widget->isModal())
        widget->hide();
    AfxQtRunModal(*widget);
}

std::vector<BYTE> CQtBackend::SaveBarLayout(CWnd& frame)
{
    return AfxQtSaveBarLayout(AfxQtWidgetOf(&frame));
}

void CQtBackend::RestoreBarLayout(CWnd& frame, const std::vector<BYTE>& layout)
{
    AfxQtRestoreBarLayout(AfxQtWidgetOf(&frame), layout);
}

void CQtBackend::ArrangeChildFrames(CWnd& frame, UINT nCommand)
{
    AfxQtArrangeChildFrames(AfxQtWidgetOf(&frame), nCommand);
}

void CQtBackend::EndModalLoop(CWnd& dialog)
{
    if (DialogWidget* widget = DialogWidgetOf(dialog); widget && widget->isModal()) {
        const auto* dlg = dynamic_cast<const CDialog*>(&dialog);
        widget->done(dlg ? static_cast<int>(dlg->GetModalResult()) : QDialog::Rejected);
    }
}

QFont CQtBackend::DialogFont() const
{
    return m_font ? *m_font : QApplication::font();
}

CSize CQtBackend::GetScreenSize()
{
    // The desktop the windows are placed on: from its origin to the far
    // corner of the room the screens leave to windows.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return CWndBackend::GetScreenSize();
    const QRect room = screen->availableVirtualGeometry();
    if (room.isEmpty())
        return CWndBackend::GetScreenSize();
    return CSize(room.right() + 1, room.bottom() + 1);
}

void CQtBackend::GetDialogFontMetrics(int& nLettersWidth, int& nHeight)
{
    const QFontMetrics metrics(DialogFont());
    nLettersWidth =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    nHeight = metrics.height();
}
