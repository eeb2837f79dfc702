#include "documents/numbering.h"
#include "store/database.h"
#include "store/recordset.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

using namespace pylon;

namespace {

struct Numbers {
    const char* name;
    const char* headers; // "NumFact TypeFact" rows, in the table's order
    DocKind kind;
    qlonglong next;
};

class NextNumber : public ::testing::TestWithParam<Numbers> {};

TEST_P(NextNumber, FollowsTheLastOfTheKindsSequence) {
    test::TempDb file;
    for (const QString& row : QString::fromLatin1(GetParam().headers).split(u';', Qt::SkipEmptyParts)) {
        const QString number = row.section(u' ', 0, 0), type = row.section(u' ', 1);
        ASSERT_TRUE(
            file.exec(QStringLiteral("INSERT INTO Facture VALUES (%1, '2026-01-01', 1, 'A', 'a', '%2', 0, 0)")
                          .arg(number, type)));
    }
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    auto headers = RecordSet::open(db, QStringLiteral("Facture"));
    EXPECT_EQ(nextNumber(headers.get(), GetParam().kind), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, NextNumber,
    ::testing::Values(Numbers{"EmptyFile", "", DocKind::Invoice, 1},
                      Numbers{"FirstQuote", "", DocKind::Quote, 1},
                      // Invoices, month-end invoices and delivery notes share one sequence.
                      Numbers{"SharedSequence", "14 Facture;20 Facture M;17 BL", DocKind::Invoice, 21},
                      Numbers{"SharedFromDelivery", "14 Facture;20 Facture M;17 BL", DocKind::Delivery, 21},
                      // A quote follows the last quote, even when an invoice has taken the next number.
                      Numbers{"QuoteOwnSequence", "3 Devis;4 Facture", DocKind::Quote, 4},
                      Numbers{"OrderOwnSequence", "9 BC;40 Facture", DocKind::Order, 10},
                      // The last of the kind in the table's order, not the largest.
                      Numbers{"LastRowOfTheKind", "8 Facture;5 Facture", DocKind::MonthEnd, 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextNumber, NoHeadersToSearchProposesOne) {
    EXPECT_EQ(nextNumber(nullptr, DocKind::Invoice), 1);
    EXPECT_EQ(MaxOfThree(2, 2, 1), 2);
}

} // namespace
