// Damage found by the reading of the whole file that follows the first display: said as at start, the
// file closed as it was found, and every save refused from then on. A file the program has never opened
// is still read whole before anything is written into it.
#include "app/startup.h"
#include "support/file_faults.h"
#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

struct Case {
    const char* name;
    bool openedBefore; // the file carries our indexes, as any file the program has opened
    bool damagedWhileRunning;
    bool entryUnderWay; // a document is being typed when the damage is found
};

class LateDamage : public EditorTest, public ::testing::WithParamInterface<Case> {
  protected:
    void SetUp() override {
        // Enough documents for a page in the middle of the file to hold some of them.
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (1, 0, 0);"
            "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
            "INSERT INTO Facture SELECT i, '2005-03-05', 1, 'Client ' || i, 'Rue ' || i, 'Facture', 0, 0 "
            "FROM n;"
            "INSERT INTO DetFact SELECT NumFact, '1', '1', 'Article ' || NumFact, '1,00', '1,00' FROM "
            "Facture;")));
        // Another tool's file lacks our indexes.
        if (!GetParam().openedBefore) {
            ASSERT_TRUE(file.exec(QStringLiteral("DROP INDEX pylon_facture_numfact;")));
        }
        checkFileAfterwards = false;
    }
    // The file's bytes once damaged.
    QByteArray damage() {
        const int pages = file.scalar(QStringLiteral("PRAGMA page_count")).toInt();
        const int pageSize = file.scalar(QStringLiteral("PRAGMA page_size")).toInt();
        EXPECT_TRUE(damageMiddlePage(file.path(), pages, pageSize));
        return fingerprint(file.path());
    }
    TypedDocument pens() const {
        return {QStringLiteral("900"), "5/3/05", "1", "Client", "Rue", {{"1", "2", "Stylo", "3", QString()}}};
    }
    static QString damagedText(const QString& path) {
        return QStringLiteral("La base de données est endommagée :\r\n") + path +
               QStringLiteral("\r\nElle n'a pas été ouverte et rien n'y a été écrit. Fermez le programme et "
                              "remplacez ce fichier par une copie de sauvegarde.");
    }
};

} // namespace

TEST_P(LateDamage, IsSaidTheFileIsClosedAsItWasAndSavesAreRefused) {
    const Case& c = GetParam();
    QByteArray damaged;
    if (!c.damagedWhileRunning) damaged = damage();
    start();
    if (c.damagedWhileRunning) {
        ASSERT_TRUE(boxes.shown.empty());
        ASSERT_EQ(ui().txtNumFact->text(), "100") << "a sound file is shown";
        if (c.entryUnderWay) typeDocument(pens());
        damaged = damage();
        startDamageCheck(*m);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !boxes.shown.empty(); }, 10000));
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, damagedText(file.path()));
    EXPECT_FALSE(m->db.isOpen()) << "nothing more is read from or written to the file";
    if (c.entryUnderWay) {
        EXPECT_EQ(ui().txtNumFact->text(), "900") << "the entry stays on screen, to be noted";
        EXPECT_EQ(ui().List3->count(), 1);
    } else {
        EXPECT_TRUE(ui().txtNumFact->text().isEmpty());
        EXPECT_EQ(ui().txtTotalTTC->text(), "     0,00");
        typeDocument(pens());
    }

    save();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral(
        "est endommagée.\r\nFermez le programme et remplacez ce fichier par une copie de sauvegarde.")))
        << boxes.shown[1].text.toStdString();
    EXPECT_TRUE(ui().Command10->isEnabled()) << "the entry is kept";
    editor->close();
    EXPECT_EQ(fingerprint(file.path()), damaged) << "nothing written over the damaged file";
}

INSTANTIATE_TEST_SUITE_P(Startup, LateDamage,
                         ::testing::Values(Case{"NeverOpenedFileIsReadBeforeAnythingIsWritten", false, false,
                                                false},
                                           Case{"FoundWhileTheEditorIsIdle", true, true, false},
                                           Case{"FoundDuringAnEntry", true, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });
