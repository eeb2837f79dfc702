// The commands' writes, each given the database and a document's number: they write that document and
// no other, whatever row a record set of the windows stands on, and all or nothing.
#include "module/cancelling.h"
#include "module/deletion.h"
#include "module/month_end_store.h"
#include "module/saving.h"
#include "store/database.h"
#include "store/recordset.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

using namespace pylon;

namespace {

// Each header as number/credit note/cancelled, the lines per document, the credit-note lines' documents,
// the parties as number/on account.
const QString kState = QStringLiteral(
    "SELECT (SELECT group_concat(v, ' ') FROM (SELECT NumFact || '/' || Avoir || '/' || \"Annulée\" AS v "
    "FROM Facture ORDER BY NumFact)) || ' | ' || (SELECT group_concat(v, ' ') FROM (SELECT NumFact || 'x' "
    "|| count(*) AS v FROM DetFact GROUP BY NumFact ORDER BY NumFact)) || ' | ' || (SELECT "
    "coalesce(group_concat(NumFact, ' '), '') FROM (SELECT NumFact FROM AVOIR ORDER BY NumFact)) || ' | ' "
    "|| (SELECT group_concat(v, ' ') FROM (SELECT NumCli || '/' || ClientC AS v FROM CliEC ORDER BY "
    "NumCli))");
const QString kBefore = QStringLiteral("3/0/0 12/0/1 15/1/0 20/0/0 | 3x2 12x1 15x1 20x1 | 15 | 7/0 8/1 9/0");

DocumentEntry entry(DocKind kind, const char* number) {
    return {kind, number, "05/01/2026", "7", "Alami", "Rue 1", true, {{"1", "2", "Encre", "9,00", "18,00"}}};
}

struct Case {
    const char* name;
    std::function<WriteResult(Database&)> write;
    WriteResult::Kind kind;
    QString message; // the start of it
    QString after;   // kState afterwards
};

const std::vector<month_end::Line> kOneLine{{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("x"),
                                             QStringLiteral("1,00"), QStringLiteral("1,00")}};

const Case kCases[] = {
    {"cancelling names its document",
     [](Database& db) { return writeCancelled(db, QStringLiteral("3"), true); },
     WriteResult::Done,
     {},
     "3/0/1 12/0/1 15/1/0 20/0/0 | 3x2 12x1 15x1 20x1 | 15 | 7/0 8/1 9/0"},
    {"cancelling a document deleted meanwhile",
     [](Database& db) { return writeCancelled(db, QStringLiteral("99"), true); },
     WriteResult::Done,
     {},
     kBefore},
    {"a party's last document",
     [](Database& db) { return deleteDocument(db, 20); },
     WriteResult::Done,
     {},
     "3/0/0 12/0/1 15/1/0 | 3x2 12x1 15x1 | 15 | 7/0 8/1"},
    {"a credit note",
     [](Database& db) { return deleteCreditNote(db, 15); },
     WriteResult::Done,
     {},
     "3/0/0 12/0/1 15/0/0 20/0/0 | 3x2 12x1 15x1 20x1 |  | 7/0 8/1 9/0"},
    {"a deletion the file refuses at the party",
     [](Database& db) {
         db.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE DELETE ON CliEC BEGIN SELECT "
                                "RAISE(ABORT, 'disque plein'); END"));
         return deleteDocument(db, 20);
     },
     WriteResult::Failed, "disque plein", kBefore},
    {"a new document on a number taken",
     [](Database& db) { return writeNewDocument(db, entry(DocKind::Invoice, "12")); },
     WriteResult::Refused,
     {},
     kBefore},
    {"a credit note on its document",
     [](Database& db) { return writeCreditNote(db, entry(DocKind::CreditNote, "3")); },
     WriteResult::Done,
     {},
     "3/1/0 12/0/1 15/1/0 20/0/0 | 3x2 12x1 15x1 20x1 | 3 15 | 7/0 8/1 9/0"},
    {"month-end credit note on its document",
     [](Database& db) { return month_end::attachCreditNote(db, 20, kOneLine); },
     WriteResult::Done,
     {},
     "3/0/0 12/0/1 15/1/0 20/1/0 | 3x2 12x1 15x1 20x1 | 15 20 | 7/0 8/1 9/0"},
    {"month-end credit note on a document gone",
     [](Database& db) { return month_end::attachCreditNote(db, 99, kOneLine); }, WriteResult::Refused,
     "le document n'existe plus", kBefore},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class CommandWrites : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(CommandWrites, WriteTheirDocumentAndNoOther) {
    const Case& c = GetParam();
    test::TempDb file;
    ASSERT_TRUE(file.exec(QStringLiteral(
        "INSERT INTO CliEC VALUES (7, 0, 0), (8, 1, 0), (9, 0, 0);"
        "INSERT INTO Facture VALUES (3, '2005-03-01', 7, 'A', 'a', 'Facture', 0, 0),"
        " (12, '2005-03-02', 8, 'B', 'b', 'Facture', 0, 1), (15, '2005-03-03', 8, 'B', 'b', 'BL', 1, 0),"
        " (20, '2005-03-04', 9, 'C', 'c', 'Devis', 0, 0);"
        "INSERT INTO DetFact VALUES (3, '1', '1', 'x', '1', '1'), (3, '2', '1', 'y', '1', '1'),"
        " (12, '1', '1', 'x', '1', '1'), (15, '1', '1', 'x', '1', '1'), (20, '1', '1', 'x', '1', '1');"
        "INSERT INTO AVOIR VALUES (15, '1', '1', 'z', '1', '1')")));
    ASSERT_EQ(file.scalar(kState), kBefore);
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    // The windows' headers stand on document 12, as after a search: a write that went by where they stand
    // would change 12.
    auto shown = RecordSet::open(db, QStringLiteral("Facture"));
    ASSERT_TRUE(shown && shown->FindFirst(QStringLiteral("NumFact=12")) && !shown->NoMatch());

    const WriteResult r = c.write(db);

    EXPECT_EQ(r.kind, c.kind);
    EXPECT_TRUE(r.message.startsWith(c.message)) << r.message.toStdString();
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(file.scalar(kState), c.after);
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandWrites, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string n = info.param.name;
    for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
});
