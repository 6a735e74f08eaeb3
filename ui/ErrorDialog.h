#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace revlane::ui {

// The internal-error dialog: shows a report, lets the user mail it to the maker, restart
// the program or go on with the operation that failed.
class ErrorDialog : public QDialog {
    Q_OBJECT
public:
    explicit ErrorDialog(const QString& report, QWidget* parent = nullptr);

    QPlainTextEdit* txtReport = nullptr;
    QPushButton* cmdReport = nullptr;
    QPushButton* cmdRestart = nullptr;
    QPushButton* cmdIgnore = nullptr;

    // The report box's text, each line break written as CR LF as in the report itself.
    QString ReportText() const;

    // What Restart Program does: start `program` anew in `folder` and end this instance at
    // once. Tests install one that records instead. An empty function puts the real one
    // back. Returns the one that was installed before.
    using Restarter = std::function<void(const QString& program, const QString& folder)>;
    static Restarter SetRestarter(Restarter restarter);

private:
    void cmdReport_Click();
    void cmdRestart_Click();
};

}  // namespace revlane::ui
