// Makes the user manual's PDF from its HTML page at build time, so that the
// two never differ:
//   brantel_manualpdf <index.html> <Brantel_U_man.pdf>
// It lays the page out with QTextDocument on Qt's offscreen platform and
// writes A4 pages with QPdfWriter.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <manual.html> <manual.pdf>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    QTextDocument document;
    // The pictures are named relative to the page; they are handed to the
    // document before it is laid out (printing lays out a copy of it).
    const QString html = QString::fromUtf8(in.readAll());
    const QDir folder = QFileInfo(in).absoluteDir();
    static const QRegularExpression image(R"re(<img src="([^"]+)")re");
    for (auto it = image.globalMatch(html); it.hasNext();) {
        const QString name = it.next().captured(1);
        const QImage picture(folder.filePath(name));
        if (picture.isNull()) {
            std::fprintf(stderr, "%s: cannot read the picture %s\n", argv[0], qPrintable(name));
            return 1;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(name), picture);
    }
    document.setHtml(html);

    const QString target = QString::fromLocal8Bit(argv[2]);
    {
        QPdfWriter writer(target);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator("Brantel");
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        document.print(&writer);
    }
    if (QFile(target).size() <= 0) {
        std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
