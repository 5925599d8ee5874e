#include "platform/ui/qt/qtcursors.h"

#include <map>
#include <vector>

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include "platform/ui/qt/qtservices.h"

namespace
{

struct CursorImage {
    UINT nID;
    int xHotSpot;
    int yHotSpot;
    std::vector<unsigned char> png;
};

const CResourceModule s_cursors("afxui_qt", CResourceModule::library, [](CResourceModule& m) {
    const CursorImage images[] = {
#include "platform/ui/qt/viewcursors.inc"
    };
    for (const CursorImage& image : images) {
        AfxCursorResource cursor;
        cursor.image.data = image.png;
        cursor.image.strFormat = "png";
        cursor.xHotSpot = image.xHotSpot;
        cursor.yHotSpot = image.yHotSpot;
        m.Add(image.nID, cursor);
    }
});

QPointer<QWidget>& CursorWidget()
{
    static QPointer<QWidget> widget;
    return widget;
}

} // namespace

void AfxQtSetCursorWidget(QWidget* pWidget)
{
    CursorWidget() = pWidget;
}

QWidget* AfxQtCursorWidget()
{
    return CursorWidget().data();
}

QCursor AfxQtCursor(const AfxCursorResource* pCursor)
{
    if (!pCursor)
        return QCursor(Qt::ArrowCursor);
    QPixmap pixmap;
    if (!pixmap.loadFromData(pCursor->image.data.data(),
                             static_cast<uint>(pCursor->image.data.size()),
                             static_cast<const char*>(pCursor->image.strFormat)))
        return QCursor(Qt::ArrowCursor);
    return QCursor(pixmap, pCursor->xHotSpot, pCursor->yHotSpot);
}

void CQtCursor::SetCursor(const AfxCursorResource* pCursor)
{
    QWidget* widget = AfxQtCursorWidget();
    if (!widget)
        return;
    // Views set their cursor on every move: the widget changes only when
    // the cursor does.
    const QVariant shown = widget->property("afxCursor");
    const auto key = reinterpret_cast<qulonglong>(pCursor);
    if (shown.isValid() && shown.toULongLong() == key)
        return;
    widget->setProperty("afxCursor", key);
    widget->setCursor(AfxQtCursor(pCursor));
}
