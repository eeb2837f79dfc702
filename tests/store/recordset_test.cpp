#include "store/database.h"
#include "store/recordset.h"
#include "support/temp_db.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace pylon;

namespace {

const QString kInvoiceView = QStringLiteral(
    "Select Facture.*,DetFact.NB,DetFact.Qt,DetFact.Design,DetFact.PU,DetFact.Mnt,CliEC.ClientC From CliEC "
    "INNER "
    "JOIN (Facture INNER JOIN DetFact on Facture.NumFact = DetFact.NumFact) on CliEC.NumCli = Facture.NumCli "
    "WHERE "
    "Facture.TypeFact = 'Facture' ORDER BY Facture.NumFact ASC");

class RecordSetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Three invoices written out of number order, one quote; invoice 12 has three lines.
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0);"
            "INSERT INTO Facture VALUES (12, '2004-01-31', 7, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO Facture VALUES (3, '2004-01-02', 8, 'Bennani', 'Rue 2', 'Facture', 1, 1);"
            "INSERT INTO Facture VALUES (20, '2004-02-02', 8, 'Bennani', 'Rue 2', 'Devis', 0, NULL);"
            "INSERT INTO Facture VALUES (15, '2004-02-03', 7, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (12, 'a', '1', 'first', '10,00', '10,00');"
            "INSERT INTO DetFact VALUES (3, 'x', '1', 'only', '5,00', '5,00');"
            "INSERT INTO DetFact VALUES (12, 'b', '2', 'second', '10,00', '20,00');"
            "INSERT INTO DetFact VALUES (20, ' ', '1', 'quote', '1,00', '1,00');"
            "INSERT INTO DetFact VALUES (15, ' ', '1', 'fifteen', '1,00', '1,00');"
            "INSERT INTO DetFact VALUES (12, 'c', '3', 'third', '10,00', '30,00');")));
        ASSERT_TRUE(db.open(file.path()));
    }
    QString text(RecordSet& rs, const char* field) {
        return rs.Fields(QString::fromLatin1(field))->toString();
    }

    test::TempDb file;
    Database db;
};

} // namespace

TEST_F(RecordSetTest, EmptySetHasBothEndsAndFailsMoves) {
    auto rs = RecordSet::open(db, QStringLiteral("AVOIR"));
    ASSERT_TRUE(rs);
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_FALSE(rs->MoveFirst());
    EXPECT_FALSE(rs->MoveLast());
    EXPECT_FALSE(rs->MoveNext());
    EXPECT_FALSE(rs->Fields(QStringLiteral("NB")));
    EXPECT_TRUE(rs->FindFirst(QStringLiteral("NumFact=1")));
    EXPECT_TRUE(rs->NoMatch());
}

TEST_F(RecordSetTest, AnEmptySetIsSearchedInTheFileAndAFailedReadIsNoAnswer) {
    auto rs = RecordSet::open(db, QStringLiteral("AVOIR"));
    ASSERT_TRUE(rs->IsEOF());
    // Another program (another copy of this one) writes after the set was found empty.
    ASSERT_TRUE(
        file.exec(QStringLiteral("INSERT INTO AVOIR VALUES (3, ' ', '1', 'retour', '5,00', '5,00')")));
    ASSERT_TRUE(rs->FindFirst(QStringLiteral("NumFact=3")));
    ASSERT_FALSE(rs->NoMatch()) << "found in the file, not answered from memory";
    EXPECT_EQ(rs->RowCount(), 1);

    // The table is gone: every read fails, and none passes for an empty set or a missing row.
    ASSERT_TRUE(file.exec(QStringLiteral("DROP TABLE AVOIR")));
    EXPECT_FALSE(rs->FindFirst(QStringLiteral("NumFact=4")));
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_FALSE(rs->MoveLast());
    EXPECT_EQ(text(*rs, "Design"), "retour") << "the set stays where it stood";
    EXPECT_EQ(rs->RowCount(), std::nullopt);
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(RecordSetTest, WalksATableInWritingOrder) {
    auto rs = RecordSet::open(db, QStringLiteral("DetFact"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 6);
    QStringList seen;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
        seen << text(*rs, "Design");
    EXPECT_EQ(seen, QStringList({"first", "only", "second", "quote", "fifteen", "third"}));
    EXPECT_FALSE(rs->MoveNext()) << "a move past EOF fails";
    EXPECT_TRUE(rs->MovePrevious());
    EXPECT_EQ(text(*rs, "Design"), "third");
    ASSERT_TRUE(rs->MoveFirst());
    EXPECT_TRUE(rs->MovePrevious());
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_FALSE(rs->IsEOF());
    EXPECT_TRUE(rs->MoveNext());
    EXPECT_EQ(text(*rs, "Design"), "first");
}

TEST_F(RecordSetTest, FindsWalkTheLinesOfOneDocumentAndKeepThePlaceOnNoMatch) {
    auto rs = RecordSet::open(db, QStringLiteral("DetFact"));
    ASSERT_TRUE(rs->FindFirst(QStringLiteral("NumFact=012")));
    ASSERT_FALSE(rs->NoMatch());
    QStringList seen;
    while (!rs->NoMatch()) {
        seen << text(*rs, "NB");
        rs->FindNext(QStringLiteral("NumFact=12"));
    }
    EXPECT_EQ(seen, QStringList({"a", "b", "c"}));
    EXPECT_EQ(text(*rs, "NB"), "c") << "no match leaves the last row found current";
    ASSERT_TRUE(rs->FindPrevious(QStringLiteral("NumFact<>12")));
    EXPECT_EQ(text(*rs, "Design"), "fifteen");
    ASSERT_TRUE(rs->FindLast(QStringLiteral("NumFact=3")));
    EXPECT_EQ(text(*rs, "Design"), "only");
    // A criterion that is not complete is a failed operation: nothing moves, no error reaches SQLite.
    EXPECT_FALSE(rs->FindFirst(QStringLiteral("NumFact=")));
    EXPECT_FALSE(rs->FindFirst(QStringLiteral("NumFact=1 OR 1=1")));
    EXPECT_FALSE(rs->FindFirst(QStringLiteral("Nothing=1")));
    EXPECT_EQ(text(*rs, "Design"), "only");
}

TEST_F(RecordSetTest, TheDocumentViewIsOrderedByNumberThenLine) {
    auto rs = RecordSet::open(db, kInvoiceView);
    ASSERT_TRUE(rs) << db.lastError().toStdString();
    QStringList seen;
    for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
        seen << QStringLiteral("%1:%2").arg(text(*rs, "NumFact"), text(*rs, "Design"));
    EXPECT_EQ(seen, QStringList({"3:only", "12:first", "12:second", "12:third", "15:fifteen"}));
    ASSERT_TRUE(rs->MoveLast());
    QStringList back;
    for (; !rs->IsBOF(); rs->MovePrevious())
        back << text(*rs, "Design");
    EXPECT_EQ(back, QStringList({"fifteen", "third", "second", "first", "only"}));
    // Fields by name and by position, typed.
    ASSERT_TRUE(rs->FindFirst(QStringLiteral("NumFact=3")));
    EXPECT_EQ(rs->Fields(QStringLiteral("DateFact"))->toDate(), QDate(2004, 1, 2));
    EXPECT_EQ(rs->Fields(QStringLiteral("Annulée"))->toBool(), true);
    EXPECT_EQ(rs->Fields(QStringLiteral("ClientC"))->toBool(), false);
    EXPECT_EQ(rs->Fields(0)->toLongLong(), 3);
    EXPECT_EQ(rs->FieldName(0), QStringLiteral("NumFact"));
    // From the middle of invoice 12, the previous other document is 3, the next is 15.
    ASSERT_TRUE(rs->FindFirst(QStringLiteral("NumFact=12")));
    ASSERT_TRUE(rs->FindNext(QStringLiteral("NumFact<>12")));
    EXPECT_EQ(text(*rs, "NumFact"), "15");
    EXPECT_FALSE(rs->AddNew()) << "a joined view is read-only";
}

// Numbers other programs may leave: missing ones, which sort first, fractions and texts, which sort after
// every number. Stepping back visits exactly the rows stepping forward did, in reverse, by lookups that
// take the numbers below first and then the missing ones.
TEST_F(RecordSetTest, OddNumbersAreSteppedOverTheSameWayBothWays) {
    ASSERT_TRUE(file.exec(QStringLiteral(
        "INSERT INTO Facture VALUES (NULL, '2004-03-01', 7, 'Alami', 'Rue 1', 'Facture', 0, 0);"
        "INSERT INTO Facture VALUES ('A7', '2004-03-02', 7, 'Alami', 'Rue 1', 'Facture', 0, 0);"
        "INSERT INTO Facture VALUES (12.5, '2004-03-03', 8, 'Bennani', 'Rue 2', 'Facture', 0, 0);"
        "INSERT INTO Facture VALUES (NULL, '2004-03-04', 8, 'Bennani', 'Rue 2', 'Facture', 0, 0);"
        "INSERT INTO DetFact SELECT NumFact, 'n', '1', 'odd ' || DateFact, '1,00', '1,00' FROM Facture "
        "WHERE DateFact >= '2004-03';")));
    // The missing numbers' lines join no header (NULL = NULL is not true): only the others show.
    ASSERT_TRUE(file.exec(QStringLiteral("INSERT INTO DetFact VALUES (NULL, 'z', '1', 'lost', '1', '1');")));
    for (const QString& source : {kInvoiceView, QStringLiteral("Facture")}) {
        auto rs = RecordSet::open(db, source);
        ASSERT_TRUE(rs);
        QStringList forward, backward;
        for (rs->MoveFirst(); !rs->IsEOF(); rs->MoveNext())
            forward << text(*rs, "DateFact");
        for (rs->MoveLast(); !rs->IsBOF(); rs->MovePrevious())
            backward.prepend(text(*rs, "DateFact"));
        EXPECT_EQ(forward, backward) << source.toStdString();
        EXPECT_EQ(forward.size(), source == kInvoiceView ? 7 : 8) << source.toStdString();
        // The buttons: from the last document back to the first, one number at a time, the number as
        // the editor passes it (a whole number, 0 for none).
        QStringList numbers;
        rs->MoveLast();
        do
            numbers << text(*rs, "NumFact");
        while (rs->FindPrevious(
                   QStringLiteral("NumFact<>%1").arg(rs->Fields(QStringLiteral("NumFact"))->toLongLong())) &&
               !rs->NoMatch() && numbers.size() < 20);
        if (source == kInvoiceView) {
            ASSERT_GE(numbers.size(), 3) << numbers.join(QLatin1Char(' ')).toStdString();
            EXPECT_EQ(numbers.mid(0, 2), QStringList({"A7", "15"}));
            EXPECT_EQ(numbers.last(), "3");
        }
    }
    // In the table itself the headers without a number come first, in writing order.
    auto table = RecordSet::open(db, QStringLiteral("Facture"));
    ASSERT_TRUE(table->MoveLast());
    EXPECT_EQ(text(*table, "DateFact"), "2004-03-04");
}

TEST_F(RecordSetTest, AddEditDeleteWriteTheTableAndConvertTexts) {
    auto rs = RecordSet::open(db, QStringLiteral("Facture"));
    ASSERT_TRUE(rs->MoveFirst());
    ASSERT_TRUE(rs->AddNew());
    EXPECT_TRUE(rs->SetField(QStringLiteral("NumFact"), QStringLiteral("0042")));
    EXPECT_TRUE(rs->SetField(QStringLiteral("DateFact"), QStringLiteral("31/1/04")));
    EXPECT_FALSE(rs->SetField(QStringLiteral("NumCli"), QStringLiteral("sept")));
    EXPECT_FALSE(rs->SetField(QStringLiteral("NumCli"), QStringLiteral("")));
    EXPECT_TRUE(rs->SetField(QStringLiteral("TypeFact"), QStringLiteral("BL")));
    EXPECT_TRUE(rs->Update());
    EXPECT_EQ(text(*rs, "NumFact"), "12") << "the record set stays where it stood";
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT DateFact || '|' || quote(NumCli) || '|' || Avoir FROM Facture "
                                       "WHERE NumFact = 42"))
                  .toString(),
              QStringLiteral("2004-01-31|NULL|0"));
    ASSERT_TRUE(rs->FindFirst(QStringLiteral("NumFact=42"))) << "rows added through the set appear in it";
    EXPECT_FALSE(rs->NoMatch());

    ASSERT_TRUE(rs->Edit());
    EXPECT_FALSE(rs->SetField(QStringLiteral("DateFact"), QStringLiteral("31/2/2004")));
    EXPECT_TRUE(rs->SetField(QStringLiteral("Annulée"), true));
    EXPECT_TRUE(rs->Update());
    EXPECT_EQ(rs->Fields(QStringLiteral("Annulée"))->toBool(), true);
    EXPECT_EQ(rs->Fields(QStringLiteral("DateFact"))->toDate(), QDate(2004, 1, 31));

    ASSERT_TRUE(rs->FindFirst(QStringLiteral("NumFact=20")));
    ASSERT_TRUE(rs->Delete());
    EXPECT_FALSE(rs->Fields(QStringLiteral("NumFact")));
    ASSERT_TRUE(rs->MoveNext());
    EXPECT_EQ(text(*rs, "NumFact"), "15");
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM DetFact WHERE NumFact = 20")).toInt(), 0)
        << "the lines went with their document";
}

TEST_F(RecordSetTest, DistinctListsSeeOtherWritesAfterRequery) {
    auto rs = RecordSet::open(
        db, QStringLiteral("Select Distinct NumFact,DateFact,NumCli,TypeFact,Avoir From Facture"));
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->RecordCount(), 4);
    ASSERT_TRUE(rs->MoveFirst()); // the list is copied when first walked
    auto facture = RecordSet::open(db, QStringLiteral("Facture"));
    ASSERT_TRUE(facture->AddNew());
    facture->SetField(QStringLiteral("NumFact"), 99);
    ASSERT_TRUE(facture->Update());
    EXPECT_EQ(rs->RecordCount(), 4);
    ASSERT_TRUE(rs->Requery());
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(rs->Fields(0)->toLongLong(), 3)
        << "after Requery the set stands on its first row, lists sorted";
    ASSERT_TRUE(rs->MoveLast());
    EXPECT_EQ(rs->Fields(0)->toLongLong(), 99);
}

TEST_F(RecordSetTest, AcceptsTheProgramsStatementsWordForWord) {
    const char* statements[] = {
        "Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From CliEC INNER JOIN Facture on "
        "CliEC.NumCli "
        "= Facture.NumCli where CliEC.Frs = false",
        "Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From CliEC INNER JOIN Facture on "
        "CliEC.NumCli "
        "= Facture.NumCli where CliEC.Frs = True",
        "Select Facture.*,AVOIR.NB,AVOIR.Qt,AVOIR.Design,AVOIR.PU,AVOIR.Mnt,CliEC.ClientC From CliEC INNER "
        "JOIN "
        "(Facture INNER JOIN AVOIR on Facture.NumFact = AVOIR.NumFact) on CliEC.NumCli = Facture.NumCli "
        "WHERE "
        "Facture.Avoir = True",
        "SELECT Facture.*, DetFact.* FROM Facture INNER JOIN DetFact ON Facture.NumFact = DetFact.NumFact "
        "WHERE "
        "(Facture.TypeFact = 'Facture' Or Facture.TypeFact = 'BL') AND Facture.NumCli = 7 AND "
        "Month(Facture.DateFact) = 1",
        "Select CliEC.*,Facture.* From CliEC INNER JOIN Facture on CliEC.NumCli = Facture.NumCli Where "
        "CliEC.NumCli "
        "= 8",
        "Select Facture.* From Facture WHERE Facture.Avoir = True ORDER BY Facture.NumFact ASC",
        "Select * From CliEC WHERE Frs = True ORDER BY NumCli ASC",
    };
    const long expected[] = {2, 0, 0, 3, 2, 1, 0};
    for (size_t i = 0; i < std::size(statements); ++i) {
        auto rs = RecordSet::open(db, QString::fromUtf8(statements[i]));
        ASSERT_TRUE(rs) << statements[i] << ": " << db.lastError().toStdString();
        EXPECT_EQ(rs->RecordCount(), expected[i]) << statements[i];
        long walked = 0;
        if (rs->MoveLast() && rs->MoveFirst())
            for (; !rs->IsEOF(); rs->MoveNext())
                ++walked;
        EXPECT_EQ(walked, expected[i]) << statements[i];
    }
    // The month-end gathering reads the lines with the header fields beside them.
    auto month = RecordSet::open(db, QString::fromUtf8(statements[3]));
    ASSERT_TRUE(month->MoveFirst());
    EXPECT_EQ(month->Fields(QStringLiteral("Design"))->toString(), QStringLiteral("first"));
    ASSERT_TRUE(month->Fields(QStringLiteral("DetFact.NumFact")));
    EXPECT_EQ(month->Fields(QStringLiteral("DetFact.NumFact"))->toLongLong(), 12);
}
