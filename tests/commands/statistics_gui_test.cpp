// "S&tatistiques": the ten lines of the message on an empty file, a full one and an unreadable one.
#include "support/gui_fixture.h"

#include <QFile>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Statistics : public EditorTest {
  protected:
    // Presses the button and returns the message it showed.
    ShownMessage press() {
        const size_t before = boxes.shown.size();
        QTest::mouseClick(ui().Command11, Qt::LeftButton);
        EXPECT_EQ(boxes.shown.size(), before + 1);
        return boxes.shown.empty() ? ShownMessage{} : boxes.shown.back();
    }
    static QString message(const QStringList& counts) {
        const char* labels[] = {"Factures.", "Devis.",           "Bons de commande.", "Bons de livraison.",
                                "Avoirs.",   "Facture du mois.", "Clients.",          "Fournisseurs."};
        QStringList lines{QStringLiteral("La base de données contient :"), QString()};
        for (int i = 0; i < 8; ++i)
            lines << counts[i] + QStringLiteral("  ") + QString::fromUtf8(labels[i]);
        return lines.join(QStringLiteral("\r\n"));
    }
};

} // namespace

TEST_F(Statistics, AnEmptyFileCountsZeroOfEverything) {
    start();
    const ShownMessage shown = press();
    EXPECT_EQ(shown.title, "Statistiques");
    EXPECT_EQ(shown.text, message(QStringList(8, QStringLiteral("0"))));
    EXPECT_EQ(shown.text.count(QStringLiteral("\r\n")), 9) << "ten lines, none after the last";
}

TEST_F(Statistics, EveryKindCreditNotesPartiesAndNothingChanges) {
    // Invoices 1 (cancelled: still counted), 2, 4 and 5 (both with a credit note); quotes 6 and 7 for client
    // 10 under two names; purchase orders from suppliers 9 and 11; delivery notes 11 and 13, the latter with
    // another address for client 8; one month-end invoice.
    ASSERT_TRUE(file.exec(QStringLiteral(
        "INSERT INTO CliEC VALUES (7, 0, 0), (8, 1, 0), (10, 0, 0), (9, 0, 1), (11, 0, 1);"
        "INSERT INTO Facture VALUES (1, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 1);"
        "INSERT INTO Facture VALUES (2, '2004-01-03', 7, 'A', 'a', 'Facture', 0, 0);"
        "INSERT INTO Facture VALUES (4, '2004-01-04', 8, 'B', 'b', 'Facture', 1, 0);"
        "INSERT INTO Facture VALUES (5, '2004-01-05', 8, 'B', 'b', 'Facture', 1, 0);"
        "INSERT INTO Facture VALUES (6, '2004-01-06', 10, 'C', 'c', 'Devis', 0, 0);"
        "INSERT INTO Facture VALUES (7, '2004-01-07', 10, 'C bis', 'c', 'Devis', 0, 0);"
        "INSERT INTO Facture VALUES (8, '2004-01-08', 9, 'F', 'f', 'BC', 0, 0);"
        "INSERT INTO Facture VALUES (9, '2004-01-09', 9, 'F', 'f', 'BC', 0, 0);"
        "INSERT INTO Facture VALUES (10, '2004-01-10', 11, 'G', 'g', 'BC', 0, 0);"
        "INSERT INTO Facture VALUES (11, '2004-01-11', 7, 'A', 'a', 'BL', 0, 0);"
        "INSERT INTO Facture VALUES (13, '2004-01-13', 8, 'B', 'b2', 'BL', 0, 0);"
        "INSERT INTO Facture VALUES (14, '2004-01-31', 8, 'B', 'b', 'Facture M', 0, 0);"
        "INSERT INTO DetFact SELECT NumFact, '1', '1', 'x', '1,00', '1,00' FROM Facture;"
        "INSERT INTO AVOIR VALUES (4, '1', '1', 'y', '1,00', '1,00'), (5, '1', '1', 'y', '1,00', '1,00');")));
    start();
    const QString everything = QStringLiteral(
        "SELECT (SELECT group_concat(NumFact || NomCli || AdrCli || TypeFact || Avoir || \"Annulée\") FROM "
        "Facture)"
        " || (SELECT group_concat(NumCli || ClientC || Frs) FROM CliEC) || (SELECT count(*) FROM DetFact)");
    const QString before = file.scalar(everything);
    const ShownMessage shown = press();
    EXPECT_EQ(shown.title, "Statistiques");
    EXPECT_EQ(shown.text, message({"4", "2", "3", "2", "2", "1", "5", "2"}));
    EXPECT_EQ(ui().txtNumFact->text(), "1") << "the editor keeps its document";
    EXPECT_EQ(file.scalar(everything), before) << "only reads";

    // A document saved since start-up is counted at the next press: nothing is remembered between presses.
    ASSERT_TRUE(
        file.exec(QStringLiteral("INSERT INTO Facture VALUES (15, '2004-02-01', 7, 'A', 'a', 'Facture', "
                                 "0, 0); INSERT INTO DetFact VALUES (15, '1', '1', 'x', '1,00', '1,00');")));
    EXPECT_EQ(press().text, message({"5", "2", "3", "2", "2", "1", "5", "2"}));
}

TEST_F(Statistics, SuppliersComeFromTheirRowsClientsFromTheDocuments) {
    // Client 14 and supplier 15 have no document: only the supplier is counted. The file is left with
    // parties that have no document, which the database check would rightly refuse.
    checkFileAfterwards = false;
    ASSERT_TRUE(
        file.exec(QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0), (14, 1, 0), (15, 0, 1);"
                                 "INSERT INTO Facture VALUES (1, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 0);"
                                 "INSERT INTO DetFact VALUES (1, '1', '1', 'x', '1,00', '1,00');")));
    start();
    EXPECT_EQ(press().text, message({"1", "0", "0", "0", "0", "0", "1", "1"}));
}

TEST_F(Statistics, AnUnreadableFileShowsQuestionMarksNotZeros) {
    checkFileAfterwards = false;
    ASSERT_TRUE(QFile::remove(file.path()));
    start();
    EXPECT_EQ(press().text, message(QStringList(8, QStringLiteral("?"))));
}
