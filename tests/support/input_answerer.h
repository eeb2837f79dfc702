#pragma once
// Answers the program's input boxes as BoxAnswerer does its message boxes: each box shown is recorded,
// then answered with the next queued text through its own field and OK button, or cancelled.
// Header only: the test support sources are listed one by one in the tests' build file.
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <vector>

namespace pylon::test {

struct ShownInput {
    QString title;
    QString prompt;
    QString proposed; // the text the box opened with
};

class InputAnswerer : public QObject {
  public:
    // Queued in answers, presses Cancel instead of typing.
    static inline const QString kCancel = QStringLiteral("cancel");

    InputAnswerer() {
        connect(&timer_, &QTimer::timeout, this, &InputAnswerer::poll);
        timer_.start(5);
    }
    std::vector<ShownInput> shown;
    QStringList answers; // texts to type, in order; with none left, the proposed text is accepted
    std::vector<QStringList> buttonTexts; // of each box shown, as the user reads them

  private:
    void poll() {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        auto* buttons = box->findChild<QDialogButtonBox*>();
        QStringList texts;
        if (buttons)
            for (QAbstractButton* b : buttons->buttons())
                texts << b->text();
        shown.push_back({box->windowTitle(), box->labelText(), box->textValue()});
        buttonTexts.push_back(texts);
        const QString answer = answers.isEmpty() ? box->textValue() : answers.takeFirst();
        if (answer == kCancel) {
            if (buttons)
                buttons->button(QDialogButtonBox::Cancel)->click();
            else
                box->reject();
            return;
        }
        if (auto* field = box->findChild<QLineEdit*>()) field->setText(answer);
        if (buttons)
            buttons->button(QDialogButtonBox::Ok)->click();
        else
            box->accept();
    }
    QTimer timer_;
};

} // namespace pylon::test
