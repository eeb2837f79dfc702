#include "store/write.h"

#include "store/database.h"
#include "store/recordset.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

using namespace pylon;

namespace {

const QString kAdd12 =
    QStringLiteral("INSERT INTO Facture VALUES (12, '2005-03-01', 7, 'Alami', 'Rue 1', 'Facture', 0, 0)");
const QString kTaken = QStringLiteral("Facture N° 3 Existe déjà.");

struct Case {
    const char* name;
    Database::Mode mode;
    std::function<WriteResult(Database&)> writes;
    WriteResult::Kind kind;
    QString message; // "<engine>": SQLite's own complaint
    QString numbers; // Facture afterwards
};

const Case kCases[] = {
    {"done", Database::Mode::ReadWrite, [](Database& db) { return WriteResult::doneIf(db.exec(kAdd12)); },
     WriteResult::Done, QString(), "3,12"},
    {"refused after a write", Database::Mode::ReadWrite,
     [](Database& db) {
         db.exec(kAdd12);
         return WriteResult::refused(kTaken);
     },
     WriteResult::Refused, kTaken, "3"},
    {"a step the file refuses", Database::Mode::ReadWrite,
     [](Database& db) {
         return WriteResult::doneIf(db.exec(kAdd12) &&
                                    db.exec(QStringLiteral("INSERT INTO Nowhere VALUES (1)")));
     },
     WriteResult::Failed, "<engine>", "3"},
    {"a failure said by the writes", Database::Mode::ReadWrite,
     [](Database& db) {
         db.exec(kAdd12);
         return WriteResult::failed(QStringLiteral("une ligne ne peut pas être ajoutée"));
     },
     WriteResult::Failed, QStringLiteral("une ligne ne peut pas être ajoutée"), "3"},
    // A failure earlier in the run of the program is not this write's.
    {"an earlier error is not reported", Database::Mode::ReadWrite,
     [](Database&) { return WriteResult::failed(); }, WriteResult::Failed, QString(), "3"},
    {"a read-only file", Database::Mode::ReadOnly,
     [](Database& db) {
         ADD_FAILURE() << "nothing runs on a file that cannot be written";
         return WriteResult::doneIf(db.exec(kAdd12));
     },
     WriteResult::Failed, QStringLiteral("la base de données est en lecture seule"), "3"},
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class RunWrite : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(RunWrite, OneTransactionAndOneResult) {
    const Case& c = GetParam();
    test::TempDb file;
    ASSERT_TRUE(file.exec(QStringLiteral(
        "INSERT INTO CliEC VALUES (7, 1, 0);"
        "INSERT INTO Facture VALUES (3, '2005-03-01', 7, 'Alami', 'Rue 1', 'Facture', 0, 0)")));
    Database db;
    ASSERT_TRUE(db.open(file.path(), c.mode));
    auto headers = RecordSet::open(db, QStringLiteral("Facture"));
    ASSERT_TRUE(headers && headers->FindFirst(QStringLiteral("NumFact=3")));
    // A change half-made through the record set when the write starts, and an old failure.
    ASSERT_TRUE(headers->Edit());
    db.setError(QStringLiteral("disk I/O error"), 10);

    const WriteResult r = runWrite(db, [&] { return c.writes(db); }, {headers.get(), nullptr});

    EXPECT_EQ(r.kind, c.kind);
    if (c.message == "<engine>")
        EXPECT_TRUE(r.message.startsWith(QStringLiteral("no such table: Nowhere")))
            << r.message.toStdString();
    else
        EXPECT_TRUE(r.message.startsWith(c.message) && (r.message.isEmpty() == c.message.isEmpty()))
            << r.message.toStdString();
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT group_concat(NumFact) FROM Facture ORDER BY NumFact")),
              c.numbers);
    // After anything but Done the record set has been read again: the half-made change is gone.
    EXPECT_EQ(headers->SetField(QStringLiteral("NomCli"), QStringLiteral("x")), r.isDone());
}

INSTANTIATE_TEST_SUITE_P(Cases, RunWrite, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string n = info.param.name;
    for (char& ch : n)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
});
