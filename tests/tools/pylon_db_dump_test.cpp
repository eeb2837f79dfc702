// pylon-db dump: the text a file prints, and the same text for the same business however it was written.
#include "store/database.h"
#include "store/schema.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace pylon {
namespace {

using test::dumpOf;
using test::TempDb;

struct Golden {
    const char* name;
    const char* sql; // written into an empty database
    const char* text;
};

void PrintTo(const Golden& g, std::ostream* os) {
    *os << g.name;
}

class PylonDbDump : public ::testing::TestWithParam<Golden> {};

TEST_P(PylonDbDump, PrintsTheFileAsThisText) {
    const TempDb db;
    if (*GetParam().sql) {
        ASSERT_TRUE(db.exec(QString::fromUtf8(GetParam().sql)));
    }
    EXPECT_EQ(dumpOf(db.path()).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PylonDbDump,
    ::testing::Values(
        Golden{"Empty", "",
               "Facture (NumFact, DateFact, NumCli, NomCli, AdrCli, TypeFact, Avoir, Annulée)\n"
               "DetFact (NumFact, NB, Qt, Design, PU, Mnt)\n"
               "AVOIR (NumFact, NB, Qt, Design, PU, Mnt)\n"
               "CliEC (NumCli, ClientC, Frs)\n"},
        // Documents by number, lines in the order written, and every value told from its look-alikes:
        // NULL, '' and ' '; 12 and '12'; 1.0 and 1; a blob; quotes, backslashes and control characters.
        Golden{"EveryKindOfValue",
               "INSERT INTO CliEC VALUES (7, 1, 0), (3, 0, 1);"
               "INSERT INTO Facture VALUES (9, '2005-01-31', 7, 'O''Neil', 'Rue 1' || char(13, 10) || 'Fès',"
               " 'Facture', 1, 0), (4, NULL, 3, '', ' ', 'BC', 0, 1),"
               " (5, 38383, 7, 'a\\b', 'x' || char(1), 'Devis', 'True', NULL),"
               " (6, 1.0, 7, 12, X'00FF', 'BL', 0, 0);"
               "INSERT INTO DetFact VALUES (9, ' ', '2', 'Z' || char(9) || 'tab', '1,50', '3,00'),"
               " (4, ' ', '1', 'Gomme', '2,00', '2,00'), (9, ' ', '1', 'A', '1,00', '1,00');"
               "INSERT INTO AVOIR VALUES (9, 'Retour', '1', 'A', '1,00', '1,00');",
               R"(Facture (NumFact, DateFact, NumCli, NomCli, AdrCli, TypeFact, Avoir, Annulée)
  4, NULL, 3, '', ' ', 'BC', 0, 1
  5, 38383, 7, 'a\\b', 'x\x01', 'Devis', 'True', NULL
  6, 1.0, 7, '12', X'00FF', 'BL', 0, 0
  9, '2005-01-31', 7, 'O\'Neil', 'Rue 1\r\nFès', 'Facture', 1, 0
DetFact (NumFact, NB, Qt, Design, PU, Mnt)
  4, ' ', '1', 'Gomme', '2,00', '2,00'
  9, ' ', '2', 'Z\ttab', '1,50', '3,00'
  9, ' ', '1', 'A', '1,00', '1,00'
AVOIR (NumFact, NB, Qt, Design, PU, Mnt)
  9, 'Retour', '1', 'A', '1,00', '1,00'
CliEC (NumCli, ClientC, Frs)
  3, 0, 1
  7, 1, 0
)"}),
    [](const auto& info) { return std::string(info.param.name); });

// The same business written in another order, and without our indexes and trigger (as another tool
// would write it), prints the same; the order of a document's lines is part of it.
TEST(PylonDbDumpOrder, SameBusinessSameTextWhateverTheStorageOrder) {
    const char* const clients = "INSERT INTO CliEC VALUES (1, 1, 0); INSERT INTO CliEC VALUES (2, 0, 1);";
    const char* const clientsReversed =
        "INSERT INTO CliEC VALUES (2, 0, 1); INSERT INTO CliEC VALUES (1, 1, 0);";
    const char* const first = "INSERT INTO Facture VALUES (1, '2005-03-05', 1, 'A', 'B', 'Facture', 0, 0);"
                              "INSERT INTO DetFact VALUES (1, ' ', '1', 'x', '1,00', '1,00');"
                              "INSERT INTO DetFact VALUES (1, ' ', '2', 'y', '1,00', '2,00');"
                              "INSERT INTO AVOIR VALUES (1, ' ', '1', 'x', '1,00', '1,00');";
    const char* const firstSwapped =
        "INSERT INTO Facture VALUES (1, '2005-03-05', 1, 'A', 'B', 'Facture', 0, 0);"
        "INSERT INTO DetFact VALUES (1, ' ', '2', 'y', '1,00', '2,00');"
        "INSERT INTO DetFact VALUES (1, ' ', '1', 'x', '1,00', '1,00');"
        "INSERT INTO AVOIR VALUES (1, ' ', '1', 'x', '1,00', '1,00');";
    const char* const second = "INSERT INTO Facture VALUES (2, '2005-03-06', 2, 'C', 'D', 'BC', 0, 0);"
                               "INSERT INTO DetFact VALUES (2, ' ', '3', 'z', '1,00', '3,00');";

    const TempDb ours;
    ASSERT_TRUE(ours.exec(QString::fromUtf8(clients) + QString::fromUtf8(first) + QString::fromUtf8(second)));

    QTemporaryDir dir;
    auto bare = [&](const char* name, const QString& sql) {
        const QString path = dir.filePath(QString::fromUtf8(name));
        Database db;
        EXPECT_TRUE(db.open(path, Database::Mode::Create) && db.exec(schema::createTablesSql()) &&
                    db.exec(sql));
        return path;
    };
    const QString reordered =
        bare("reordered",
             QString::fromUtf8(second) + QString::fromUtf8(clientsReversed) + QString::fromUtf8(first));
    const QString swapped = bare("swapped", QString::fromUtf8(clients) + QString::fromUtf8(firstSwapped) +
                                                QString::fromUtf8(second));

    const QString text = dumpOf(ours.path());
    EXPECT_TRUE(text.contains(QStringLiteral("  2, 0, 1\n"))) << text.toStdString();
    EXPECT_EQ(dumpOf(reordered), text);
    EXPECT_NE(dumpOf(swapped), text);
}

} // namespace
} // namespace pylon
