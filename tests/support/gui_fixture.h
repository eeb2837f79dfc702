#pragma once
// A running editor on a database file of the test's own, with every message and input box answered and
// recorded.
// After each test the file must still pass the database tool's check.
#include "editor/form1.h"
#include "editor/session.h"
#include "support/box_answerers.h"
#include "support/editor_driver.h"
#include "support/form1_access.h"
#include "support/temp_db.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

namespace pylon::test {

// Whether the keyboard focus is (or within a moment comes) on w: focus moves wait for the window to be
// active again after a message box.
bool focusIs(QWidget* w);

class EditorTest : public ::testing::Test {
  protected:
    // Starts the editor on the file as it stands (arrange it first with file.exec).
    void start();
    void TearDown() override;
    // The texts of one column of lines.
    QStringList column(int list) const;
    Ui::Form1& ui() const { return Form1TestAccess::ui(*editor); }

    // The driver's commands on this editor.
    void chooseKind(DocKind kind) { test::chooseKind(*m, kind); }
    void arrangeKind(DocKind kind) { test::arrangeKind(*m, kind); }
    void typeDocument(const TypedDocument& doc) { test::typeDocument(*editor, doc); }
    void save() { test::save(*editor); }
    QString count(const QString& table, const QString& where = QStringLiteral("1")) const {
        return countRows(file, table, where);
    }

    TempDb file;
    std::unique_ptr<Session> m;
    std::unique_ptr<Form1> editor;
    BoxAnswerer boxes;
    InputAnswerer inputs;
    bool checkFileAfterwards = true;
};

} // namespace pylon::test
