#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace revlane {
class Document;
}

namespace revlane::ui {

struct ControlMaker;
class GridView;

// The find box above the grid: the start of a vehicle's name (its identifier, or its model name),
// in any case, typed to make the next such vehicle current in the grid, in the same column, so
// that typing goes on into its value. Enter finds the next one, Escape closes the box; a name that
// found nothing is marked until it is changed.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(const ControlMaker& make, const Document& document, GridView* grid, QWidget* parent);
    QString Text() const;
    // Shows the box with the keys in it, its text selected to be typed over; or hides it, the
    // keys going back to the grid.
    void Open();
    void Close();
    // The next vehicle after the current row (or the one before it), round the end.
    void FindNext(bool forward);

signals:
    // It was shown or hidden: the line it shares with the line above the grid is laid out anew.
    void openChanged();

private:
    // Says in the box, its tooltip and its description that no vehicle's name begins with its text.
    void MarkNotFound(bool notFound);

    const Document& document_;
    GridView* grid_;
    QLabel* lblFind;
    QLineEdit* txtFind;
};

}  // namespace revlane::ui
