#include "documents/document_entry.h"
#include "store/database.h"
#include "store/recordset.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

using namespace pylon;

namespace {

class DocumentEntryWrites : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral("INSERT INTO CliEC VALUES (9, 0, 1);")));
        ASSERT_TRUE(db.open(file.path()));
    }
    std::unique_ptr<RecordSet> table(const char* name) {
        return RecordSet::open(db, QString::fromLatin1(name));
    }

    test::TempDb file;
    Database db;
};

TEST_F(DocumentEntryWrites, StoreTheEntryAsTyped) {
    DocumentEntry order{DocKind::Order, "12", "05/01/2026", "4", "Fournil", "Zone 3\nCasablanca", true, {}};
    order.lines = {{"", "2", "Encre", "9,00", "18,00"}, {"N", "1"}};
    ASSERT_TRUE(writeParty(*table("CliEC"), order));
    ASSERT_TRUE(writeHeader(*table("Facture"), order));
    ASSERT_TRUE(writeLines(*table("DetFact"), order));
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT ClientC || Frs FROM CliEC WHERE NumCli = 4")), "11")
        << "a new party of a purchase order is a supplier";
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT TypeFact || '|' || DateFact || '|' || AdrCli FROM Facture")),
              "BC|2026-01-05|Zone 3\nCasablanca");
    EXPECT_EQ(file.scalar(QStringLiteral(
                  "SELECT group_concat(NB||'|'||Qt||'|'||Design||'|'||PU||'|'||Mnt, ';') FROM DetFact")),
              " |2|Encre|9,00|18,00;N|1| | | ")
        << "empty and missing cells stored as a single space, lines in their order";

    // A known party keeps its supplier flag; only "on account" follows the entry.
    const DocumentEntry invoice{DocKind::Invoice, "13", "05/01/2026", "9", "X", "Y", true, {}};
    ASSERT_TRUE(writeParty(*table("CliEC"), invoice));
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) || ClientC || Frs FROM CliEC WHERE NumCli = 9")),
              "111");
}

} // namespace
