#include "GamePictures.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <cmath>

namespace revlane::ui {

namespace {

constexpr int Size = 32;

// GTA III: three upright white bars on a slate tile, for the third game of the series.
void DrawGta3(QPainter& p)
{
    QLinearGradient tile(0, 0, 0, Size);
    tile.setColorAt(0.0, QColor(0x4a, 0x55, 0x68));
    tile.setColorAt(1.0, QColor(0x1c, 0x22, 0x2e));
    p.setPen(QPen(QColor(0x10, 0x14, 0x1c), 1.0));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0.5, 0.5, Size - 1, Size - 1), 5, 5);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(8.0 + i * 6.0, 8.0, 4.0, 16.0));
    p.setBrush(QColor(0xc8, 0x32, 0x32));
    p.drawRect(QRectF(6.0, 26.0, 20.0, 2.0));
}

// Vice City: a low sun over the sea at dusk, on a round tile.
void DrawViceCity(QPainter& p)
{
    QPainterPath tile;
    tile.addEllipse(QRectF(0.5, 0.5, Size - 1, Size - 1));
    p.setClipPath(tile);

    QLinearGradient sky(0, 0, 0, 20);
    sky.setColorAt(0.0, QColor(0x6a, 0x2c, 0x91));
    sky.setColorAt(1.0, QColor(0xff, 0x5e, 0x9a));
    p.fillRect(QRectF(0, 0, Size, 20), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xc8, 0x3d));
    p.drawEllipse(QRectF(9.0, 11.0, 14.0, 14.0));
    p.fillRect(QRectF(0, 20, Size, Size - 20), QColor(0x12, 0x9e, 0xa8));
    p.setBrush(QColor(0xff, 0xe6, 0xa0));
    for (int i = 0; i < 3; ++i) {
        const double width = 12.0 - i * 3.0;
        p.drawRect(QRectF((Size - width) / 2.0, 22.0 + i * 3.0, width, 1.5));
    }

    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x3b, 0x17, 0x55), 1.0));
    p.drawEllipse(QRectF(0.5, 0.5, Size - 1, Size - 1));
}

}  // namespace

QPixmap GamePicture(Game game, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int side = static_cast<int>(std::ceil(Size * ratio));
    QPixmap picture(side, side);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (game == Game::ViceCity)
        DrawViceCity(painter);
    else
        DrawGta3(painter);
    painter.end();
    return picture;
}

}  // namespace revlane::ui
