#include "Pictures.h"

#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QWidget>

#include <memory>

namespace revlane::ui {

namespace {

QPixmap BlankPixmap(QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

}  // namespace

void PaintAppIcon(QPainter& painter, const QRectF& target)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 32-unit square, whatever the size.
    painter.translate(target.topLeft());
    painter.scale(target.width() / 32.0, target.height() / 32.0);

    QLinearGradient sky(0, 0, 0, 32);
    sky.setColorAt(0, QColor(66, 133, 214));
    sky.setColorAt(1, QColor(18, 52, 118));
    painter.setPen(QPen(QColor(10, 30, 70), 1));
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);

    // The road, narrowing towards the horizon.
    QPainterPath road;
    road.moveTo(4, 31);
    road.lineTo(14.5, 9);
    road.lineTo(17.5, 9);
    road.lineTo(28, 31);
    road.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 74, 82));
    painter.drawPath(road);

    // The lane markings, shorter as they go away.
    painter.setBrush(QColor(255, 214, 0));
    painter.drawPolygon(QPolygonF({QPointF(15.2, 24), QPointF(16.8, 24), QPointF(17.3, 30), QPointF(14.7, 30)}));
    painter.drawPolygon(QPolygonF({QPointF(15.5, 16.5), QPointF(16.5, 16.5), QPointF(16.8, 20.5), QPointF(15.2, 20.5)}));
    painter.drawPolygon(QPolygonF({QPointF(15.7, 11), QPointF(16.3, 11), QPointF(16.4, 13.5), QPointF(15.6, 13.5)}));

    // The horizon.
    painter.setPen(QPen(QColor(200, 225, 255), 1));
    painter.drawLine(QPointF(3, 9), QPointF(29, 9));
    painter.restore();
}

namespace {

// The program's icon, drawn at a size only when something asks for that size, and then once:
// a window that is never shown with its icon draws none, and the desktop draws the sizes it
// wants. Copies of the icon share the drawings.
class AppIconEngine : public QIconEngine {
public:
    AppIconEngine() : drawn_(std::make_shared<QHash<quint64, QPixmap>>()) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        PaintAppIcon(*painter, rect);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        if (size.isEmpty())
            return {};
        const quint64 key = (quint64(quint32(size.width())) << 32) | quint32(size.height());
        auto found = drawn_->constFind(key);
        if (found == drawn_->constEnd())
            found = drawn_->insert(key, Draw(size.width(), size.height()));
        return *found;
    }
    QIconEngine* clone() const override { return new AppIconEngine(*this); }
    QString key() const override { return QStringLiteral("RevlaneAppIcon"); }

private:
    static QPixmap Draw(int width, int height)
    {
        QPixmap pixmap = BlankPixmap(QSize(width, height), 1.0);
        QPainter painter(&pixmap);
        PaintAppIcon(painter, QRectF(0, 0, width, height));
        return pixmap;
    }

    std::shared_ptr<QHash<quint64, QPixmap>> drawn_;
};

}  // namespace

QIcon AppIcon()
{
    // Scalable: it names no sizes of its own, and is drawn sharp at any size asked for.
    return QIcon(new AppIconEngine);
}

void DrawAppIcon(QPainter& painter, const QPoint& at, int size)
{
    PaintAppIcon(painter, QRectF(at, QSizeF(size, size)));
}

QPixmap ErrorPicture(int size, qreal devicePixelRatio)
{
    QPixmap pixmap = BlankPixmap(QSize(size, size), devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    QRadialGradient disc(QPointF(12, 10), 22);
    disc.setColorAt(0, QColor(255, 110, 100));
    disc.setColorAt(1, QColor(190, 20, 20));
    painter.setPen(QPen(QColor(120, 0, 0), 1));
    painter.setBrush(disc);
    painter.drawEllipse(QRectF(1.5, 1.5, 29, 29));

    QPen cross(Qt::white, 4.2, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(cross);
    painter.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    return pixmap;
}

QPixmap DifferenceMark()
{
    // Drawn once, at the screen's density, for every cell that shows it.
    static const QPixmap mark = [] {
        QPixmap pixmap = BlankPixmap(QSize(7, 11), qGuiApp->devicePixelRatio());
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(150, 70, 0), 1));
        painter.setBrush(QColor(240, 130, 20));
        painter.drawPolygon(QPolygonF({QPointF(0.5, 1.5), QPointF(6.5, 5.5), QPointF(0.5, 9.5)}));
        return pixmap;
    }();
    return mark;
}

QPixmap AboutBanner(qreal scale, qreal devicePixelRatio)
{
    const QSize size(qRound(600 * scale), qRound(76 * scale));
    QPixmap pixmap = BlankPixmap(size, devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);

    QLinearGradient band(0, 0, 600, 0);
    band.setColorAt(0, QColor(16, 44, 102));
    band.setColorAt(0.7, QColor(52, 112, 196));
    band.setColorAt(1, QColor(120, 170, 230));
    painter.fillRect(QRectF(0, 0, 600, 76), band);

    // Lanes sweeping across the band behind the name.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 28));
    for (int i = 0; i < 4; ++i) {
        const qreal x = 230 + i * 48;
        painter.drawPolygon(QPolygonF({QPointF(x, 76), QPointF(x + 90, 0), QPointF(x + 110, 0), QPointF(x + 20, 76)}));
    }
    painter.setBrush(QColor(255, 214, 0));
    painter.drawRect(QRectF(0, 70, 600, 2));

    QFont title = DialogFont(true);
    title.setPixelSize(30);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(20, 6, 360, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Revlane"));

    QFont subtitle = DialogFont();
    subtitle.setPixelSize(12);
    painter.setFont(subtitle);
    painter.setPen(QColor(220, 232, 255));
    painter.drawText(QRectF(22, 44, 380, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Vehicle configuration editor"));
    return pixmap;
}

int TwipsToPixels(int twips, qreal logicalDpi)
{
    return qRound(twips * logicalDpi / 1440.0);
}

qreal PixelScale(const QWidget* widget)
{
    const qreal dpi = widget ? widget->logicalDpiX() : 96;
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

QWidget* AddFill(QWidget* parent, const QColor& color, const QRect& geometry)
{
    auto* fill = new QWidget(parent);
    fill->setAutoFillBackground(true);
    QPalette palette = fill->palette();
    palette.setColor(QPalette::Window, color);
    fill->setPalette(palette);
    fill->setGeometry(geometry);
    return fill;
}

QRect TwipRect(const QWidget* widget, int left, int top, int width, int height)
{
    const qreal dpi = 96 * PixelScale(widget);
    const int x = TwipsToPixels(left, dpi);
    const int y = TwipsToPixels(top, dpi);
    // Edges are rounded, not sizes, so that neighbours meet as they do in twips.
    return QRect(QPoint(x, y), QPoint(TwipsToPixels(left + width, dpi) - 1, TwipsToPixels(top + height, dpi) - 1));
}

QFont DialogFont(bool bold)
{
    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

}  // namespace revlane::ui
