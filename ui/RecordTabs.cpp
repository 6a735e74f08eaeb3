#include "RecordTabs.h"

#include <QSignalBlocker>

namespace revlane::ui {

RecordTabs::RecordTabs(Document& document, std::function<bool()> commit, QWidget* parent)
    : QTabBar(parent), document_(document), commit_(std::move(commit))
{
    setObjectName(QStringLiteral("tabRecords"));
    setDrawBase(false);
    setExpanding(false);
    hide();
    document_.Listen(*this);
    connect(this, &QTabBar::currentChanged, this, &RecordTabs::Chosen);
}

void RecordTabs::DocumentReset()
{
    const QSignalBlocker quiet(this);
    const int views = document_.IsOpen() ? document_.ViewCount() : 0;
    // A file of one view shows no tabs: the ones there wait, hidden, for the next file of many,
    // whose open then lays out only the tabs that changed.
    if (views <= 1)
        return;
    while (count() > views)
        removeTab(count() - 1);
    for (int view = 0; view < views; ++view) {
        const QString text = QStringLiteral("%1 (%2)").arg(QLatin1String(RecordKindName(document_.ViewKind(view))))
                                 .arg(document_.RecordCount(view));
        if (view >= count())
            addTab(text);
        else if (tabText(view) != text)
            setTabText(view, text);
    }
    if (views > 0)
        setCurrentIndex(document_.CurrentView());
}

void RecordTabs::Chosen(int index)
{
    if (index == document_.CurrentView())
        return;
    if (!commit_()) {
        // The value refused stays where it was typed, in its own view.
        const QSignalBlocker quiet(this);
        setCurrentIndex(document_.CurrentView());
        return;
    }
    document_.ShowView(index);
    emit viewChosen();
}

void RecordTabs::Step(int step)
{
    if (isVisible() && count() > 1)
        setCurrentIndex((currentIndex() + step + count()) % count());
}

}  // namespace revlane::ui
