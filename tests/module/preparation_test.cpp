// A shop's own file (the four tables only, the old journal) brought up to what the program keeps in it,
// a step at a time: stopped anywhere, as when the program is closed in the middle, the file is whole and
// consistent, and the next start finishes it; figures read in the middle are the ones read afterwards, or
// say that they are not ready.
#include "documents/document_display.h"
#include "documents/first_document.h"
#include "figures/document_search.h"
#include "figures/sales_summary.h"
#include "module/preparation.h"
#include "store/database.h"
#include "store/db_errors.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/totals_cache.h"
#include "support/file_faults.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

using namespace pylon;
using namespace pylon::test;

namespace {

using Stage = PreparationProgress::Stage;

// More documents than one batch of totals and than the window computes itself.
constexpr int kDocuments = 9000;

// Opened as the program opens a file it has never read for damage: nothing written before the check.
bool openUnchecked(Database& db, const QString& path) {
    db.keepJournalModeOnOpen(true);
    const bool ok = db.open(path);
    db.keepJournalModeOnOpen(false);
    return ok;
}

struct StopPoint {
    const char* name;
    Stage stage;
    qint64 done; // the step (or, computing, the documents) after which the program is closed
};

class Preparing : public ::testing::TestWithParam<StopPoint> {
  protected:
    TempDb file{kDocuments};
};

// The documents found for a client name, each with its total as the search window shows it.
QStringList found(Database& db) {
    DocumentSearch search;
    SearchCriteria c;
    c.client = QStringLiteral("a");
    const auto r = search.find(db, c, 200);
    if (!r) return {QStringLiteral("unreadable")};
    QStringList out;
    for (const FoundDocument& d : r->documents)
        out << QStringLiteral("%1 %2").arg(QString::number(d.number),
                                           d.total ? formatAmount(*d.total) : QStringLiteral("-"));
    return out;
}

} // namespace

TEST_P(Preparing, StoppedAnywhereTheFileIsWholeAndTheNextStartFinishesIt) {
    const StopPoint& stop = GetParam();
    ASSERT_TRUE(stripAdditions(file.path()));
    QStringList before;
    {
        Database db;
        ASSERT_TRUE(openUnchecked(db, file.path()));
        const PreparationWork work = PreparationWork::of(db);
        ASSERT_TRUE(work.check && work.switchLog && work.makeTotals && !work.additions.isEmpty());
        EXPECT_FALSE(work.quick());
        const bool complete = prepareFile(db, work, [&](const PreparationProgress& p) {
            return !(p.stage == stop.stage && p.done >= stop.done);
        });
        EXPECT_FALSE(complete);
        // The whole check of the file reads a file without indexes for minutes: its kept totals and its
        // pages are what the stop could have left half done.
        EXPECT_TRUE(db.checkForDamage());
        EXPECT_EQ(totals_cache::check(db), QStringList()) << "stopped, the kept totals agree with the notes";
        if (stop.stage == Stage::Computing) {
            // Noted documents are many: the figures are said not ready, the documents shown carry their own.
            const auto summary = salesSummary(db, QDate(2026, 12, 7));
            ASSERT_TRUE(summary);
            EXPECT_TRUE(summary->preparing);
            SearchCriteria byTotal;
            byTotal.minTotal = Amount(100 * 10000);
            const auto r = DocumentSearch().find(db, byTotal, 10);
            ASSERT_TRUE(r);
            EXPECT_TRUE(r->preparing && r->documents.empty());
            before = found(db);
        }
    }
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    const PreparationWork rest = PreparationWork::of(db);
    EXPECT_TRUE(rest.any());
    EXPECT_TRUE(prepareFile(db, rest));
    EXPECT_TRUE(schema::hasAdditions(db));
    EXPECT_EQ(totals_cache::staleCount(db, 1), 0);
    EXPECT_FALSE(PreparationWork::of(db).any());
    EXPECT_EQ(schema::check(db), QStringList());
    const auto summary = salesSummary(db, QDate(2026, 12, 7));
    ASSERT_TRUE(summary);
    EXPECT_FALSE(summary->preparing);
    if (!before.isEmpty()) {
        EXPECT_EQ(found(db), before) << "the totals shown during the preparation are final";
    }
}

INSTANTIATE_TEST_SUITE_P(ClosedInTheMiddle, Preparing,
                         ::testing::Values(StopPoint{"BeforeTheCheck", Stage::Checking, 0},
                                           StopPoint{"AfterTheCheck", Stage::Checking, 1},
                                           StopPoint{"AmongTheIndexes", Stage::Building, 5},
                                           StopPoint{"OnceTheTotalsAreNoted", Stage::Building, 16},
                                           StopPoint{"AfterABatchOfTotals", Stage::Computing, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Preparation, ADamagedFileIsSaidAndNothingIsWrittenIntoIt) {
    TempDb file(kDocuments);
    ASSERT_TRUE(stripAdditions(file.path()));
    int pages = 0, pageSize = 0;
    {
        Database db;
        ASSERT_TRUE(db.open(file.path(), Database::Mode::ReadOnly));
        pages = db.scalar(QStringLiteral("PRAGMA page_count")).toInt();
        pageSize = db.scalar(QStringLiteral("PRAGMA page_size")).toInt();
    }
    ASSERT_TRUE(damageMiddlePage(file.path(), pages, pageSize));
    const QByteArray damaged = fingerprint(file.path());
    {
        Database db;
        ASSERT_TRUE(openUnchecked(db, file.path()));
        PreparationWork work = PreparationWork::of(db);
        EXPECT_FALSE(prepareFile(db, work));
        EXPECT_EQ(db_errors::faultOf(db.lastErrorCode()), db_errors::Fault::Damaged);
        db.closeAsDamaged(db.lastError());
    }
    EXPECT_EQ(fingerprint(file.path()), damaged);
}

TEST(Preparation, AFileFilledByAnotherProgramHasItsTotalsComputedInBatches) {
    TempDb file(kDocuments);
    // Every document rewritten by another program: every kept total thrown away and noted.
    ASSERT_TRUE(file.exec(QStringLiteral("UPDATE DetFact SET Mnt = Mnt")));
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    EXPECT_FALSE(totals_cache::refresh(db)) << "too many for the window's own thread";
    const PreparationWork work = PreparationWork::of(db);
    ASSERT_TRUE(work.any());
    EXPECT_FALSE(work.check || work.makeTotals || !work.additions.isEmpty());
    std::vector<qint64> seen;
    EXPECT_TRUE(prepareFile(db, work, [&](const PreparationProgress& p) {
        if (p.stage == Stage::Computing) seen.push_back(p.done);
        return true;
    }));
    EXPECT_GT(seen.size(), 2u) << "computed in more than one transaction";
    EXPECT_EQ(totals_cache::check(db), QStringList());
}

namespace {

// What the editor would show, as one text.
QString shownText(const DocumentDisplay& d) {
    QStringList parts{d.number,
                      d.date,
                      d.client,
                      d.name,
                      d.address,
                      QString::number(d.hasCreditNote),
                      QString::number(d.cancelled),
                      QString::number(d.onAccount),
                      d.totalTTC.value_or(QStringLiteral("-"))};
    for (const QStringList& column : d.columns)
        parts << column.join(u'|');
    return parts.join(u';');
}

struct FirstCase {
    const char* name;
    DocKind kind;
    const char* arrange; // run on the shop's file first
    bool shown;          // false: the reading finds nothing to show, and the view is waited for
};

class FirstDocument : public ::testing::TestWithParam<FirstCase> {};

} // namespace

// Before the view can be read quickly, the editor shows the first document read without it: that is the
// view's first document, never another one.
TEST_P(FirstDocument, IsTheOneTheViewShowsFirst) {
    const FirstCase& c = GetParam();
    TempDb file(200);
    ASSERT_TRUE(stripAdditions(file.path()));
    ASSERT_TRUE(file.exec(QString::fromUtf8(c.arrange)));
    Database db;
    ASSERT_TRUE(openUnchecked(db, file.path()));
    const auto early = firstDocumentDisplay(db, c.kind);
    auto view = RecordSet::open(db, kindInfo(c.kind).viewSql);
    auto lines = RecordSet::open(db, kindInfo(c.kind).linesTable);
    auto parties = RecordSet::open(db, QStringLiteral("CliEC"));
    ASSERT_TRUE(view && lines && parties);
    const DocumentDisplay fromView = readDocumentDisplay(view.get(), lines.get(), parties.get(), c.kind);
    ASSERT_EQ(early.has_value(), c.shown);
    if (early) {
        EXPECT_EQ(shownText(*early), shownText(fromView));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, FirstDocument,
    ::testing::Values(
        FirstCase{"AsWritten", DocKind::Invoice, "", true}, FirstCase{"Quotes", DocKind::Quote, "", true},
        FirstCase{"CreditNotes", DocKind::CreditNote, "", true},
        FirstCase{"LowestWithoutLines", DocKind::Invoice,
                  "DELETE FROM DetFact WHERE NumFact = (SELECT min(NumFact) FROM Facture WHERE TypeFact = "
                  "'Facture')",
                  true},
        FirstCase{"LowestWithoutClientRow", DocKind::Invoice,
                  "DELETE FROM CliEC WHERE NumCli = (SELECT NumCli FROM Facture WHERE TypeFact = 'Facture' "
                  "ORDER BY NumFact LIMIT 1)",
                  true},
        FirstCase{"LowestNumberTwice", DocKind::Invoice,
                  "INSERT INTO Facture SELECT NumFact, DateFact, NumCli, 'Autre', AdrCli, TypeFact, Avoir, "
                  "\"Annulée\" FROM Facture WHERE TypeFact = 'Facture' ORDER BY NumFact LIMIT 1",
                  true},
        FirstCase{"ManyFirstOnesWithoutLines", DocKind::Invoice,
                  "DELETE FROM DetFact WHERE NumFact IN (SELECT NumFact FROM Facture WHERE TypeFact = "
                  "'Facture' ORDER BY NumFact LIMIT 70)",
                  false},
        FirstCase{"NoneOfTheKind", DocKind::Invoice, "DELETE FROM Facture WHERE TypeFact = 'Facture'",
                  false}),
    [](const auto& info) { return std::string(info.param.name); });
