#pragma once

#include <QHeaderView>
#include <QPaintEvent>

namespace revlane::ui {

// Hands a paint on without the part the key columns laid over the left edge hide: what is drawn
// under them is never seen.
template <typename Paint>
void PaintUncovered(QPaintEvent* event, int covered, int height, Paint paint)
{
    const QRegion shown = event->region() - QRect(0, 0, covered, height);
    if (shown.isEmpty())
        return;
    QPaintEvent uncovered(shown);
    paint(&uncovered);
}

// The column captions, as high as the view's caption lines. The table asks its header how high it
// would like to be whenever it lays itself out: measuring every caption's text to answer would
// cost more than a read of the file. A new height waits for that layout, which then moves the
// header and the cells once; a fixed height would move them at each of its limits.
class CaptionHeader : public QHeaderView {
public:
    explicit CaptionHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}
    int Height() const { return height_; }
    void SetHeight(int height) { height_ = height; }
    QSize sizeHint() const override { return QSize(length(), height_); }
    // How far from the left edge the key columns' captions are laid over these.
    int Covered() const { return covered_; }
    void SetCovered(int width) { covered_ = width; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        PaintUncovered(event, covered_, viewport()->height(), [this](QPaintEvent* e) { QHeaderView::paintEvent(e); });
    }

private:
    int height_ = 0;
    int covered_ = 0;
};

}  // namespace revlane::ui
