#include "support/box_answerers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

namespace pylon::test {

ModalPoller::ModalPoller(int everyMs) {
    connect(&timer_, &QTimer::timeout, this, &ModalPoller::poll);
    timer_.start(everyMs);
}

void ModalPoller::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    answer(modal && modal->isVisible() ? modal : nullptr);
}

void BoxAnswerer::answer(QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) return;
    QStringList buttons;
    for (QAbstractButton* b : box->buttons())
        buttons << b->text();
    shown.push_back({box->windowTitle(), box->text(), buttons});
    QAbstractButton* target = nullptr;
    const QString wanted = answers.isEmpty() ? QString() : answers.takeFirst();
    if (wanted == kEnter) {
        QTest::keyClick(box, Qt::Key_Return);
        return;
    }
    for (QAbstractButton* b : box->buttons()) {
        if (wanted.isEmpty() ? (box->buttonRole(b) == QMessageBox::AcceptRole ||
                                box->buttonRole(b) == QMessageBox::YesRole)
                             : b->text() == wanted)
            target = b;
    }
    if (target)
        target->click();
    else
        box->reject();
}

int BoxAnswerer::said(const QString& text) const {
    return int(
        std::count_if(shown.begin(), shown.end(), [&](const ShownMessage& s) { return s.text == text; }));
}

void InputAnswerer::answer(QWidget* modal) {
    auto* box = qobject_cast<QInputDialog*>(modal);
    if (!box) return;
    auto* buttons = box->findChild<QDialogButtonBox*>();
    QStringList texts;
    if (buttons)
        for (QAbstractButton* b : buttons->buttons())
            texts << b->text();
    shown.push_back({box->windowTitle(), box->labelText(), box->textValue()});
    items.push_back(box->comboBoxItems());
    buttonTexts.push_back(texts);
    const QString typed = choose              ? choose(shown.back())
                          : answers.isEmpty() ? box->textValue()
                                              : answers.takeFirst();
    if (typed == kCancel) {
        if (buttons)
            buttons->button(QDialogButtonBox::Cancel)->click();
        else
            box->reject();
        return;
    }
    // A list to choose from has no field to type into (but may hide one): the item is chosen by its text.
    if (!box->comboBoxItems().isEmpty())
        box->setTextValue(typed);
    else if (auto* field = box->findChild<QLineEdit*>())
        field->setText(typed);
    else
        box->setTextValue(typed);
    if (buttons)
        buttons->button(QDialogButtonBox::Ok)->click();
    else
        box->accept();
}

} // namespace pylon::test
