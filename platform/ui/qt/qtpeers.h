// The Qt backend of the window layer: one widget per window, made by
// CQtBackend, and the event-loop side (a monotonic clock, posted messages
// and timers drained through queued Qt calls).
//
// A peer only shows the layer's state and reports raw input: "user
// clicked", "user edited text", "user selected", "focus came". Every
// programmatic change runs under QSignalBlocker, so any signal that reaches
// a peer comes from the user, and the layer decides what it notifies. After
// each report the peer shows the layer's state again, so a refused input
// (a read-only edit, a digit-only edit, a text cut at its limit) never
// lingers in the widget.
//
// Ownership: the layer owns the peer and the peer owns its widget. Qt
// parents are set for placement and stacking only; the peer watches its
// widget through a QPointer, so a widget that Qt deleted first (with its
// parent) is never deleted twice.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QElapsedTimer>
#include <QFont>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "platform/ui/core/wnd.h"

class QLabel;
class QListWidget;

// One entry from Qt into the layer: an exception stops here and is reported
// through the message service ("An unexpected error occurred: ..."); none
// ever reaches Qt's event loop.
void AfxQtEntry(const std::function<void()>& fn) noexcept;

// The SB_* code of a scroll bar's action (QAbstractSlider::SliderAction);
// SB_ENDSCROLL for an action the layer does not take.
UINT AfxQtScrollCode(int action);

// The title bar's close of a top-level widget: the layer gets WM_CLOSE
// (AfxUserClose) from the event loop, once Qt has left the close event, so
// a window that the layer destroys then is not deleted inside its own
// event. Nothing happens when the widget has gone by then.
void AfxQtPostUserClose(QWidget* pWidget, HWND hWnd);

// A control's text as a Qt label shows it: "\r\n", "\r" and "\n" each one
// line break; "&" marks a mnemonic only when bMnemonic (else "&&" shows
// one "&" and a single "&" is dropped, as a system static does).
QString AfxQtDisplayText(const CString& text, bool bMnemonic);

// The image of a picture resource, or a null image when it is missing.
QImage AfxQtLoadPicture(UINT nBitmapID);
// Draws the picture nBitmapID scaled into rect, or, when it is missing, a
// frame with its id.
class QPainter;
void AfxQtDrawPicture(QPainter& painter, const QRect& rect, UINT nBitmapID);
// The size a picture is drawn for (an SVG's own width and height), or an
// empty size when it is missing.
QSize AfxQtPictureSize(UINT nBitmapID);
// Where a picture control or button of rectangle rect shows picture
// nBitmapID: in the picture's own shape, as large as rect holds it, centred
// (rect itself when the picture is missing, for its labelled frame).
QRect AfxQtPictureRect(UINT nBitmapID, const QRect& rect);
// What is wrong with the picture a picture static shows, or an empty text:
// a picture resource that is missing (its frame shows the number instead),
// or a bitmap made in memory larger than the control, which cuts it off.
QString AfxQtPictureFault(const QWidget& widget);
// The picture or button art nID drawn at size (logical pixels) for a
// device pixel ratio, as AfxQtDrawPicture draws it.
QPixmap AfxQtArtPixmap(UINT nID, QSize size, qreal ratio);

class CQtPeer : public CWndPeer
{
public:
    CQtPeer(const CWndState& state, QWidget* pParent);
    ~CQtPeer() override;
    CQtPeer(const CQtPeer&) = delete;
    CQtPeer& operator=(const CQtPeer&) = delete;

    void Update(const CWndState& state, UINT nChanges) override;

    void UserFocus() override;
    void UserClick() override;
    void UserType(const CString& text) override;
    void UserSelect(int nIndex) override;
    void UserSpin(int nDelta) override;
    void UserScroll(UINT nSBCode, int nPos) override;
    // Repaints a window that paints itself (see AfxQtPaintWindow).
    bool Repaint(bool bNow) override;
    // Through the widget's (an OpenGL view's: its drawing widget's) place
    // on the screen.
    bool ClientToScreen(CPoint& point) const override;

    // The peer's outer widget (null after Qt deleted it).
    QWidget* Widget() const { return m_widget.data(); }
    // The widget that takes focus and input inside it (the list of a list
    // editor, the tab bar of a tab control; else the outer widget).
    QWidget* InputWidget() const;

private:
    void Build(const CWndState& state, QWidget* pParent);
    void Connect(const CWndState& state);
    // Reports a user action to the layer, then shows the layer's state again.
    void Report(const std::function<void()>& action);
    // The widget's text changed by the user: the layer gets the smallest
    // replacement that gives the new text (typed over the old selection).
    void ReportText(const QString& shown);
    void ShowText(const CWndState& state);
    void ShowSelection(const CWndState& state);
    void ShowItems(const CWndState& state);
    void ShowCheck(const CWndState& state);
    void ShowColor(const CWndState& state);
    // Enter or Esc pressed in a dialog window: the layer presses its button
    // (true), unless the key stays with the widget (false).
    bool DialogKey(UINT nVirtKey);
    // Moves Qt's focus to where the layer has it (Qt moved it by itself).
    void ShowLayerFocus();
    // Connects the mnemonic labels before this control to it.
    void SetBuddyOfLabels(const CWndState& state);

    HWND m_hWnd;
    AfxWndKind m_kind;
    DWORD m_dwStyle;
    QPointer<QWidget> m_widget;
    QPointer<QWidget> m_input;         // see InputWidget
    QPointer<QListWidget> m_list;      // list boxes and the list of list editors
    std::unique_ptr<QObject> m_filter; // focus events of the input widget
    std::unique_ptr<QObject> m_paint;  // paint and mouse events of a window painting itself
    bool m_bShowing = false;           // inside Update: nothing is reported
};

class CQtBackend : public CWndBackend
{
public:
    CQtBackend();
    ~CQtBackend() override;
    LPCTSTR GetName() const override { return "qt"; }
    ULONGLONG GetTickCount() override;
    void WakeUp() override;
    std::unique_ptr<CWndPeer> CreatePeer(const CWndState& state) override;
    void GetDialogFontMetrics(int& nLettersWidth, int& nHeight) override;
    // The primary screen's desktop, without the room panels take.
    CSize GetScreenSize() override;
    // A modal dialog runs in QDialog::exec(), or through the Qt modal hook
    // when a test installed one (see AfxQtRunModal).
    void RunModalLoop(CWnd& dialog, UINT nIDTemplate, const CString& strCaption) override;
    void EndModalLoop(CWnd& dialog) override;
    // A frame's bar layout: its QMainWindow's state.
    std::vector<BYTE> SaveBarLayout(CWnd& frame) override;
    void RestoreBarLayout(CWnd& frame, const std::vector<BYTE>& layout) override;
    void ArrangeChildFrames(CWnd& frame, UINT nCommand) override;

    // The font dialogs are laid out with (the application font unless set).
    void SetDialogFont(const QFont& font) { m_font = font; }
    QFont DialogFont() const;

private:
    void Pump();
    QElapsedTimer m_clock;
    QObject m_context;
    QTimer m_timer; // the next timer that falls due
    bool m_bPumpQueued = false;
    std::optional<QFont> m_font;
};
