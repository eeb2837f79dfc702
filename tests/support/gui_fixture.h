#pragma once
// A running editor on a database file of the test's own, with every message box answered and recorded.
// After each test the file must still pass the database tool's check.
#include "app/module1.h"
#include "editor/form1.h"
#include "support/temp_db.h"

#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace pylon::test {

// Whether the keyboard focus is (or within a moment comes) on w: focus moves wait for the window to be
// active again after a message box.
bool focusIs(QWidget* w);

struct ShownMessage {
    QString title;
    QString text;
    QStringList buttons; // their texts, as the user reads them
};

// Answers the modal boxes the program opens: with the next queued answer, else OK / Oui.
class BoxAnswerer : public QObject {
  public:
    BoxAnswerer();
    std::vector<ShownMessage> shown;
    QStringList answers; // button texts to press, in order ("&Oui", "&Non", "OK")

  private:
    void poll();
    QTimer timer_;
};

class EditorTest : public ::testing::Test {
  protected:
    // Starts the editor on the file as it stands (arrange it first with file.exec).
    void start();
    void TearDown() override;
    // The texts of one column of lines.
    QStringList column(int list) const;
    Ui::Form1& ui() const { return editor->ui; }

    TempDb file;
    std::unique_ptr<Module1> m;
    std::unique_ptr<Form1> editor;
    BoxAnswerer boxes;
    bool checkFileAfterwards = true;
};

} // namespace pylon::test
