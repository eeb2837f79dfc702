#pragma once
// Answers the modal boxes the program opens, as a user would: each box shown is recorded, then answered
// with the next queued answer. Both answerers look for the active modal window every few milliseconds, so
// a test queues its answers first and then presses the button that brings the box up.
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

class QInputDialog;

namespace pylon::test {

// Calls answer() with the active modal window, whatever it is, every few milliseconds.
class ModalPoller : public QObject {
  public:
    explicit ModalPoller(int everyMs = 5);

  protected:
    virtual void answer(QWidget* modal) = 0;

  private:
    void poll();
    QTimer timer_;
};

struct ShownMessage {
    QString title;
    QString text;
    QStringList buttons; // their texts, as the user reads them
};

// Message boxes: the next queued answer, else OK / Oui.
class BoxAnswerer : public ModalPoller {
  public:
    std::vector<ShownMessage> shown;
    // Queued in answers, presses Enter on the box: its default button answers.
    static inline const QString kEnter = QStringLiteral("<Enter>");
    QStringList answers; // button texts to press, in order ("&Oui", "&Non", "OK", or kEnter)
    // How many of the boxes shown said exactly this.
    int said(const QString& text) const;

  private:
    void answer(QWidget* modal) override;
};

struct ShownInput {
    QString title;
    QString prompt;
    QString proposed; // the text the box opened with
};

// Input boxes: typed through the box's own field (or, for a list, the item of that text chosen) and OK
// button, or cancelled.
class InputAnswerer : public ModalPoller {
  public:
    // Queued in answers (or returned by choose), presses Cancel instead of typing.
    static inline const QString kCancel = QStringLiteral("cancel");

    std::vector<ShownInput> shown;
    QStringList answers; // texts to type, in order; with none left, the proposed text is accepted
    std::vector<QStringList> buttonTexts; // of each box shown, as the user reads them
    std::vector<QStringList> items;       // of each box shown that is a list to choose from
    // When set, decides every answer instead of the queue.
    std::function<QString(const ShownInput&)> choose;

  private:
    void answer(QWidget* modal) override;
};

} // namespace pylon::test
