// The lists read from the indexes give exactly the rows the lists were made of when they walked the
// distinct record sets: the same rows, in the same order, with the same texts, on sound files and on
// files other tools or damage left odd. The walk is kept here as the reference.
#include "lists/listed_documents.h"
#include "lists/listed_parties.h"
#include "store/database.h"
#include "store/field_value.h"
#include "store/recordset.h"
#include "support/temp_db.h"

#include <QDate>
#include <gtest/gtest.h>

using namespace pylon;

namespace {

struct Arrangement {
    const char* name;
    const char* sql;
};

// A field of the row a record set stands on, as a list column shows it.
QString shown(RecordSet& rs, int field) {
    const auto v = rs.Fields(field);
    if (!v || v->isNull()) return {};
    return v->typeId() == QMetaType::QDate ? v->toDate().toString(QStringLiteral("dd/MM/yyyy"))
                                           : v->toString();
}

QStringList walkedDocuments(Database& db, const DocumentChoice& choice) {
    auto rs = RecordSet::open(
        db, QStringLiteral("Select Distinct NumFact,DateFact,NumCli,TypeFact,Avoir From Facture"));
    QStringList out;
    rs->MoveLast();
    rs->MoveFirst();
    for (long i = rs->RecordCount(); i > 0; --i, rs->MoveNext()) {
        const bool listed = choice.by == DocumentChoice::By::Everything ||
                            (choice.by == DocumentChoice::By::Type && shown(*rs, 3) == choice.type) ||
                            (choice.by == DocumentChoice::By::CreditNote && rs->Fields(4)->toBool());
        if (listed) out << shown(*rs, 0) + '|' + shown(*rs, 1) + '|' + shown(*rs, 2);
    }
    return out;
}

QStringList listedDocuments(Database& db, const DocumentChoice& choice) {
    const auto listed = ListedDocuments::read(db, choice);
    QStringList out;
    for (int row = 0; row < listed->count(); ++row) {
        const ListedHeader h = listed->header(row);
        out << h.number + '|' + h.date + '|' + h.client;
    }
    return out;
}

QStringList walkedParties(Database& db, bool suppliers) {
    auto rs = RecordSet::open(
        db, QStringLiteral("Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From "
                           "CliEC INNER JOIN Facture on CliEC.NumCli = Facture.NumCli where "
                           "CliEC.Frs = %1")
                .arg(suppliers ? "True" : "false"));
    auto cliEC = RecordSet::open(db, QStringLiteral("CliEC"));
    QStringList out;
    rs->MoveLast();
    rs->MoveFirst();
    for (long i = rs->RecordCount(); i > 0; --i, rs->MoveNext()) {
        cliEC->FindFirst(QStringLiteral("NumCli=") + shown(*rs, 0));
        const bool onAccount = !cliEC->NoMatch() && cliEC->Fields(QStringLiteral("ClientC"))->toBool();
        out << shown(*rs, 0) + '|' + shown(*rs, 1) + '|' + shown(*rs, 2) + (onAccount ? "|*" : "|");
    }
    return out;
}

QStringList listedParties(Database& db, bool suppliers) {
    QStringList out;
    for (const ListedParty& p : listParties(db, suppliers).value_or(std::vector<ListedParty>()))
        out << p.number + '|' + p.name + '|' + p.address + (p.onAccount ? "|*" : "|");
    return out;
}

class ListedRows : public ::testing::TestWithParam<Arrangement> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral(
                "INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0), (9, 0, 1);"
                "INSERT INTO Facture VALUES (12, '2004-01-31', 7, 'Alami', 'Rue 1', 'Facture', 0, 0),"
                " (3, '2004-01-02', 8, 'Bennani', 'Rue 2', 'Facture', 1, 1),"
                " (20, '2004-02-02', 8, 'Bennani', 'Rue 2', 'Devis', 0, NULL),"
                " (4, '2004-02-03', 9, 'Fournil', 'Zone 4', 'BC', 0, 0),"
                " (30, '2004-03-31', 7, 'Alami', 'Rue 1', 'Facture M', 0, 0),"
                " (15, '2004-02-03', 7, 'Alami SA', 'Rue 1', 'BL', 0, 0);") +
            QString::fromUtf8(GetParam().sql)));
        ASSERT_TRUE(db.open(file.path()));
    }
    test::TempDb file;
    Database db;
};

} // namespace

TEST_P(ListedRows, DocumentsAreTheDistinctHeadersInTheirOrder) {
    const DocumentChoice choices[] = {{DocumentChoice::By::Everything, {}},
                                      {DocumentChoice::By::Type, QStringLiteral("Facture")},
                                      {DocumentChoice::By::Type, QStringLiteral("Devis")},
                                      {DocumentChoice::By::Type, QStringLiteral("BC")},
                                      {DocumentChoice::By::Type, QStringLiteral("BL")},
                                      {DocumentChoice::By::Type, QStringLiteral("Facture M")},
                                      {DocumentChoice::By::CreditNote, {}}};
    for (const DocumentChoice& c : choices) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(int(c.by)).arg(c.type).toStdString());
        EXPECT_EQ(listedDocuments(db, c), walkedDocuments(db, c));
    }
}

TEST_P(ListedRows, PartiesAreTheDistinctNamesAndAddressesOfTheirSide) {
    for (const bool suppliers : {false, true}) {
        EXPECT_EQ(listedParties(db, suppliers), walkedParties(db, suppliers)) << suppliers;
        EXPECT_EQ(countParties(db, suppliers), long(walkedParties(db, suppliers).size())) << suppliers;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Store, ListedRows,
    ::testing::Values(
        Arrangement{"AsTheProgramWritesThem", ""},
        Arrangement{"OneHeaderTwice", "INSERT INTO Facture VALUES (12, '2004-01-31', 7, 'Alami', 'Rue 1', "
                                      "'Facture', 0, 0);"},
        Arrangement{"TwoHeadersUnderOneNumber",
                    "INSERT INTO Facture VALUES (12, '2003-12-31', 8, 'Bennani', 'Rue 2', 'Facture', 0, 0),"
                    " (12, '2004-01-31', 7, 'Alami', 'Rue 1', 'Devis', 1, 0), (3, NULL, 7, 'A', 'R', "
                    "'Facture', 0, 0);"},
        Arrangement{"MissingValues",
                    "INSERT INTO Facture VALUES (NULL, '2004-05-05', 7, NULL, 'Rue 9', 'Facture', 0, 0),"
                    " (NULL, '2004-05-04', 8, 'B', 'Rue', 'Facture', 0, 0),"
                    " (40, NULL, NULL, 'Nul', NULL, 'Facture', 0, 0),"
                    " (41, '2004-05-06', 8, NULL, NULL, 'Facture', 0, 0),"
                    " (42, '2004-05-07', 8, 'Bennani', NULL, 'Facture', 0, 0);"},
        Arrangement{"FlagsWrittenByOtherTools",
                    "INSERT INTO Facture VALUES (50, '2004-06-01', 7, 'A', 'R', 'Facture', -1, 0),"
                    " (51, '2004-06-02', 7, 'A', 'R', 'Facture', 'vrai', 0), (52, '2004-06-03', 7, 'A', 'R', "
                    "'Facture', 'faux', 0), (53, '2004-06-04', 7, 'A', 'R', 'Facture', 2, 0);"
                    "INSERT INTO CliEC VALUES (10, 'true', -1);"
                    "INSERT INTO Facture VALUES (54, '2004-06-05', 10, 'Dix', 'R', 'BC', 0, 0);"},
        Arrangement{"APartyOnBothSidesWithTwoFlags",
                    "INSERT INTO CliEC VALUES (8, 1, 1);"
                    "INSERT INTO Facture VALUES (60, '2004-07-01', 8, 'Bennani', 'Autre rue', 'BC', 0, 0),"
                    " (61, '2004-07-02', 8, 'Bennani*', 'Rue 2', 'Facture', 0, 0);"},
        Arrangement{"TextNumbersAndDates",
                    "INSERT INTO Facture VALUES ('x1', 'hier', 'y', 'Z', 'Z', 'Facture', 0, 0),"
                    " (70, '2004-08-01 10:00:00', 7, 'A', 'R', 'Facture', 0, 0);"}),
    [](const auto& info) { return std::string(info.param.name); });

// The list stays as it was when it was filled while it is on screen, whatever is saved or deleted
// meanwhile; once it is off screen its rows read the file as it is.
TEST(ListedDocumentsMoment, HoldsUntilReleased) {
    test::TempDb file;
    ASSERT_TRUE(file.exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
        "INSERT INTO Facture SELECT i, '2004-01-01', i % 7, 'C', 'R', 'Facture', 0, 0 FROM n;")));
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    const auto listed = ListedDocuments::read(db, {DocumentChoice::By::Type, QStringLiteral("Facture")});
    ASSERT_EQ(listed->count(), 300);
    ASSERT_TRUE(db.exec(
        QStringLiteral("DELETE FROM Facture WHERE NumFact IN (250, 280);"
                       "INSERT INTO Facture VALUES (301, '2004-01-02', 1, 'C', 'R', 'Facture', 0, 0);")));
    EXPECT_EQ(listed->count(), 300) << "a document saved since is not listed";
    EXPECT_EQ(listed->header(249).number, "250") << "nor one deleted since taken out";
    EXPECT_EQ(listed->header(249).date, "01/01/2004");
    listed->release();
    EXPECT_EQ(listed->header(249).number, "250") << "a row read before keeps its texts";
    EXPECT_EQ(listed->header(279).number, "") << "a row first read now reads the file as it is";
}
