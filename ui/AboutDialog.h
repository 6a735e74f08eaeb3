#pragma once

#include <QDialog>
#include <QLocale>
#include <QPixmap>
#include <QPoint>
#include <QString>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTimer;

namespace revlane::ui {

// The about box: the program, its version, the running system and its free memory,
// with links to mail the maker and to open the product's web page.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // Where the memory figure comes from, in bytes; nothing when the system does not say.
    using MemorySource = std::function<std::optional<quint64>()>;

    explicit AboutDialog(QWidget* parent = nullptr);
    AboutDialog(QWidget* parent, MemorySource memory);

    // The memory line for a number of available bytes: kilobytes in their shortest form,
    // with the locale's decimal separator and no group separators.
    static QString MemoLine(quint64 bytes, const QString& systemName, const QLocale& locale = QLocale());

    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblAuthor = nullptr;
    QLabel* lblWebsite = nullptr;
    QLabel* lblOsName = nullptr;
    QLabel* lblMemo = nullptr;
    QPushButton* cmdOK = nullptr;
    QTimer* tmrMemo = nullptr;

    // Refreshes the memory line.
    void ShowMemoStats();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    MemorySource memory_;
    QPoint iconAt_;
    int iconSize_ = 32;
};

}  // namespace revlane::ui
