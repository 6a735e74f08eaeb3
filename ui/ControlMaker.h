#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "Pictures.h"

namespace revlane::ui {

// Makes the window's controls at their places in twips, in the window's own fonts and colours.
struct ControlMaker {
    const QWidget* window;

    int Px(int twips) const { return TwipsToPixels(twips, window->logicalDpiX()); }
    void Place(QWidget* w, int left, int top, int width, int height) const
    {
        w->setGeometry(Px(left), Px(top), Px(width), Px(height));
    }
    QLabel* Label(QWidget* parent, const char* text, bool bold, int l, int t, int w, int h) const
    {
        auto* label = new QLabel(QString::fromLatin1(text), parent);
        label->setFont(DialogFont(bold));
        label->setWordWrap(h > 300);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Place(label, l, t, w, h);
        return label;
    }
    QPushButton* Button(QWidget* parent, const char* text, bool bold, int l, int t, int w, int h) const
    {
        auto* button = new QPushButton(QString::fromLatin1(text), parent);
        button->setFont(DialogFont(bold));
        Place(button, l, t, w, h);
        return button;
    }
    QRadioButton* Option(QWidget* parent, const char* text, int l, int t, int w, int h) const
    {
        auto* option = new QRadioButton(QString::fromLatin1(text), parent);
        Place(option, l, t, w, h);
        return option;
    }
    // A separator line in the shadow colour.
    QWidget* Line(QWidget* parent, int x1, int y, int x2) const
    {
        return AddFill(parent, window->palette().color(QPalette::Dark), QRect(Px(x1), Px(y), Px(x2 - x1), 1));
    }
    QLineEdit* ReadOnlyBox(QWidget* parent, int l, int t, int w, int h) const
    {
        auto* box = new QLineEdit(parent);
        box->setReadOnly(true);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Button));
        box->setPalette(pal);
        Place(box, l, t, w, h);
        return box;
    }
};

}  // namespace revlane::ui
