#include "domain/criteria.h"
#include "domain/source_sql.h"

#include <gtest/gtest.h>

using namespace pylon;

TEST(Criteria, ReadsTheProgramsCriteria) {
    struct Case {
        const char* text;
        const char* field;
        Criterion::Op op;
        QVariant value;
    } cases[] = {
        {"NumFact=12", "NumFact", Criterion::Op::Equal, QVariant(qlonglong(12))},
        {"NumFact=012", "NumFact", Criterion::Op::Equal, QVariant(qlonglong(12))},
        {"NumFact<>7", "NumFact", Criterion::Op::NotEqual, QVariant(qlonglong(7))},
        {"NumCli=-3", "NumCli", Criterion::Op::Equal, QVariant(qlonglong(-3))},
        {"TypeFact='Facture M'", "TypeFact", Criterion::Op::Equal, QVariant(QStringLiteral("Facture M"))},
        {"TypeFact='l''an'", "TypeFact", Criterion::Op::Equal, QVariant(QStringLiteral("l'an"))},
        {" NumFact = 5 ", "NumFact", Criterion::Op::Equal, QVariant(qlonglong(5))},
    };
    for (const auto& c : cases) {
        const auto parsed = parseCriterion(QString::fromUtf8(c.text));
        ASSERT_TRUE(parsed) << c.text;
        EXPECT_EQ(parsed->field, QString::fromUtf8(c.field)) << c.text;
        EXPECT_EQ(parsed->op, c.op) << c.text;
        EXPECT_EQ(parsed->value, c.value) << c.text;
    }
}

TEST(Criteria, RefusesWhatIsNotFieldOperatorValue) {
    for (const char* text :
         {"", "NumFact=", "NumFact<>", "=12", "NumFact=12 OR 1=1", "NumFact=1;DROP TABLE Facture",
          "NumFact=abc", "TypeFact='BL", "TypeFact='BL' --", "NumFact=1 2", "Num Fact=1", "NumFact==1",
          "NumFact=99999999999999999999"})
        EXPECT_FALSE(parseCriterion(QString::fromUtf8(text))) << text;
}

TEST(SourceSql, TableNamesAreUpdatableSources) {
    const auto s = translateSource(QStringLiteral("DetFact"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->table, QStringLiteral("DetFact"));
    EXPECT_EQ(s->rowKeys, 1);
}

TEST(SourceSql, BooleanLiteralsReadMissingValuesAsFalse) {
    EXPECT_EQ(translateBooleans(QStringLiteral("where CliEC.Frs = false")),
              QStringLiteral("where coalesce(CliEC.Frs, 0) NOT IN (1, -1)"));
    EXPECT_EQ(translateBooleans(QStringLiteral("WHERE Facture.Avoir = True")),
              QStringLiteral("WHERE Facture.Avoir IN (1, -1)"));
    EXPECT_EQ(translateBooleans(QStringLiteral("WHERE Frs <> True")),
              QStringLiteral("WHERE coalesce(Frs, 0) NOT IN (1, -1)"));
    // Inside a quoted text nothing changes.
    EXPECT_EQ(translateBooleans(QStringLiteral("WHERE NomCli = 'a = true'")),
              QStringLiteral("WHERE NomCli = 'a = true'"));
}

TEST(SourceSql, NestedJoinsGetOrderAndRowKeys) {
    const auto s = translateSource(QStringLiteral(
        "Select Facture.*,DetFact.NB,DetFact.Qt,DetFact.Design,DetFact.PU,DetFact.Mnt,CliEC.ClientC From "
        "CliEC "
        "INNER JOIN (Facture INNER JOIN DetFact on Facture.NumFact = DetFact.NumFact) on CliEC.NumCli = "
        "Facture.NumCli WHERE Facture.TypeFact = 'Facture' ORDER BY Facture.NumFact ASC"));
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->table.isEmpty());
    EXPECT_EQ(s->orderKeys, 1);
    EXPECT_EQ(s->rowKeys, 3);
    // The document's own row comes first, then its lines, so lines keep the order they were written in.
    EXPECT_TRUE(s->select.contains(
        QStringLiteral("Facture.rowid AS __k0, DetFact.rowid AS __k1, CliEC.rowid AS __k2")))
        << s->select.toStdString();
}

TEST(SourceSql, DistinctSelectsAreCopied) {
    const auto s = translateSource(
        QStringLiteral("Select Distinct NumFact,DateFact,NumCli,TypeFact,Avoir From Facture"));
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->snapshot.isEmpty());
}

TEST(SourceSql, RefusesWhatItCannotWalk) {
    EXPECT_FALSE(translateSource(QStringLiteral("DELETE FROM Facture")));
    EXPECT_FALSE(translateSource(QStringLiteral("Select * From Facture ORDER BY NumFact DESC")));
    EXPECT_FALSE(translateSource(QStringLiteral("Select * From Facture LEFT JOIN DetFact on 1")));
    EXPECT_FALSE(
        translateSource(QStringLiteral("Select * From a INNER JOIN b ON a.x = b.x AND b.y = 'p,q on r'")));
    EXPECT_FALSE(translateSource(QStringLiteral("Select * From Facture ORDER BY NumFact WHERE NumFact = 1")));
}

TEST(SourceSql, AnOrderingItemIsCopiedAsItIs) {
    const auto s = translateSource(QStringLiteral("SELECT a FROM t ORDER BY NomCli LIKE '%0'"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->select, QStringLiteral("SELECT a, NomCli LIKE '%0' AS __o0, t.rowid AS __k0 FROM t"));
}
