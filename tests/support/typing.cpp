#include "support/typing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

namespace pylon::test {

void typeText(QWidget* w, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }
}

void pressEnter(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Return);
}

void typeLine(QLineEdit* pointer, const QStringList& cells) {
    for (const QString& cell : cells) {
        if (!cell.isNull()) {
            // The amount column holds a proposal: typing replaces it.
            if (!pointer->text().isEmpty()) pointer->clear();
            typeText(pointer, cell);
        }
        pressEnter(pointer);
    }
}

} // namespace pylon::test
