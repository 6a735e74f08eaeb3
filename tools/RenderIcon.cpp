// Writes the program's icon into a file, for the desktop's icon theme, the packages and the
// Windows program's resources:
//   revlane-icon <out.svg>
//   revlane-icon <out.png> <size>
//   revlane-icon <out.ico> <size>...
// The file's suffix picks the format. Every format is drawn by the same painting code as the
// window's icon, so that the icon in the menu is the one on the window.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSaveFile>
#ifdef REVLANE_ICON_SVG
#include <QSvgGenerator>
#endif

#include <cstdio>

#include "Pictures.h"

namespace {

// The icon is drawn on a 32-unit square; the scalable one keeps that as its own unit.
constexpr int kDrawingUnits = 32;

#ifdef REVLANE_ICON_SVG
bool WriteSvg(const QString& path, const QList<int>&)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    // A view box and no size in millimetres: icon themes scale the drawing to what they need.
    svg.setViewBox(QRect(0, 0, kDrawingUnits, kDrawingUnits));
    svg.setTitle(QStringLiteral("Revlane"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    // The drawing has no text, but the writer states the painter's font on every group: give
    // it one with a family and a size, or the file would carry an empty family and size -1.
    QFont font(QStringLiteral("sans-serif"));
    font.setPixelSize(12);
    painter.setFont(font);
    revlane::ui::PaintAppIcon(painter, QRectF(0, 0, kDrawingUnits, kDrawingUnits));
    return painter.end();
}
#endif

QImage RenderedIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    revlane::ui::PaintAppIcon(painter, QRectF(0, 0, size, size));
    return image;
}

bool WritePng(const QString& path, const QList<int>& sizes)
{
    return RenderedIcon(sizes.front()).save(path, "PNG");
}

void AppendLittleEndian(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xff));
}

// A Windows icon file: a directory of pictures, one per size, each stored as a PNG file, which
// every Windows since Vista reads at any size. The format counts sizes in one byte, 0 for 256.
bool WriteIco(const QString& path, const QList<int>& sizes)
{
    QList<QByteArray> pictures;
    for (const int size : sizes) {
        if (size > 256)
            return false;
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !RenderedIcon(size).save(&buffer, "PNG"))
            return false;
        pictures.append(png);
    }
    QByteArray ico;
    AppendLittleEndian(ico, 0, 2);  // reserved
    AppendLittleEndian(ico, 1, 2);  // an icon, not a cursor
    AppendLittleEndian(ico, quint32(sizes.size()), 2);
    quint32 offset = 6 + 16 * quint32(sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        AppendLittleEndian(ico, quint32(sizes[i] % 256), 1);  // width
        AppendLittleEndian(ico, quint32(sizes[i] % 256), 1);  // height
        AppendLittleEndian(ico, 0, 1);                        // colours in a palette: none
        AppendLittleEndian(ico, 0, 1);                        // reserved
        AppendLittleEndian(ico, 1, 2);                        // colour planes
        AppendLittleEndian(ico, 32, 2);                       // bits per pixel
        AppendLittleEndian(ico, quint32(pictures[i].size()), 4);
        AppendLittleEndian(ico, offset, 4);
        offset += quint32(pictures[i].size());
    }
    for (const QByteArray& picture : pictures)
        ico.append(picture);
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size() && file.commit();
}

// One writer per file format, given the sizes that follow the file name: none for a drawing
// that scales, one for a picture, several for a format that holds a picture per size.
struct Format {
    const char* suffix;
    qsizetype minSizes;
    qsizetype maxSizes;
    bool (*write)(const QString& path, const QList<int>& sizes);
};
constexpr Format kFormats[] = {
#ifdef REVLANE_ICON_SVG
    {"svg", 0, 0, WriteSvg},
#endif
    {"png", 1, 1, WritePng},
    {"ico", 1, 16, WriteIco},
};

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <out.svg>\n       %s <out.png> <size>\n       %s <out.ico> <size>...\n",
                     argv[0], argv[0], argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    QList<int> sizes;
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "%s: not a size in pixels: %s\n", argv[0], argv[i]);
            return 2;
        }
        sizes.append(size);
    }
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const Format& format : kFormats) {
        if (suffix != QLatin1String(format.suffix))
            continue;
        if (sizes.size() < format.minSizes || sizes.size() > format.maxSizes) {
            std::fprintf(stderr, "%s: wrong number of sizes for a .%s file\n", argv[0], format.suffix);
            return 2;
        }
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !format.write(path, sizes)) {
            std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "%s: no format for %s (known: .svg, .png, .ico)\n", argv[0], argv[1]);
    return 2;
}
