// The search window driven as the user does: Ctrl+F in the editor, criteria typed, a double-click on a row.
#include "editor/form4.h"
#include "find/found_documents.h"
#include "find/search_window.h"
#include "store/database.h"
#include "support/documents.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Search : public EditorTest {
  protected:
    SearchWindow* window() const { return qobject_cast<SearchWindow*>(m->searchWindow.get()); }

    // Ctrl+F in the editor; the window once it is shown.
    SearchWindow* open() {
        editor->activateWindow();
        QTest::keyClick(editor.get(), Qt::Key_F, Qt::ControlModifier);
        SearchWindow* w = window();
        if (!w || !QTest::qWaitForWindowExposed(w)) {
            ADD_FAILURE() << "Ctrl+F did not open the search window";
            return nullptr;
        }
        return w;
    }
    // Typed into a field by its name; the search runs once the typing pauses.
    void type(const char* field, const QString& text) {
        auto* f = window()->findChild<QLineEdit*>(QString::fromLatin1(field));
        f->clear();
        typeText(f, text);
    }
    void chooseKind(const QString& text) {
        auto* kinds = window()->findChild<QComboBox*>(QStringLiteral("cboKind"));
        kinds->setCurrentIndex(kinds->findText(text));
    }
    void waitForTheSearch() {
        auto* delay = window()->findChild<QTimer*>(QStringLiteral("searchDelay"));
        EXPECT_TRUE(QTest::qWaitFor([delay] { return !delay->isActive(); }, 5000));
        // On a large file the search runs on a thread and says so until it ends.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !status().startsWith("Recherche en cours"); }, 10000));
    }
    QStringList shownNumbers() const {
        QStringList out;
        const FoundDocuments& rows = window()->results();
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.data(rows.index(r, FoundDocuments::Number), Qt::DisplayRole).toString();
        return out;
    }
    QString status() const { return window()->ui.lblStatus->text(); }
    void doubleClickRow(int row) {
        QTableView* table = window()->ui.tblResults;
        const QPoint at = table->visualRect(table->model()->index(row, FoundDocuments::Client)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    }
};

// What is typed, and the documents the test's own query over the file says it must find.
struct Criteria {
    const char* name;
    QString client, kind, from, to, minTotal, maxTotal;
    const char* where;   // over Facture f, with ttc the document's total with tax
    QString problem;     // the start of the status when a field cannot be read
    bool behind = false; // searched on a thread, as on a file of a million documents
};

class SearchCriteriaTable : public Search, public ::testing::WithParamInterface<Criteria> {
  protected:
    void SetUp() override { file = TempDb(1500, 1); }
};

TEST_P(SearchCriteriaTable, FindsWhatTheFileHoldsNewestFirst) {
    const Criteria& c = GetParam();
    start();
    if (c.behind) m->readBehindFrom = 0;
    ASSERT_TRUE(open());
    type("txtClient", c.client);
    if (!c.kind.isEmpty()) chooseKind(c.kind);
    type("txtDateFrom", c.from);
    type("txtDateTo", c.to);
    type("txtTotalMin", c.minTotal);
    type("txtTotalMax", c.maxTotal);
    waitForTheSearch();

    Database own;
    ASSERT_TRUE(own.open(file.path(), Database::Mode::ReadOnly));
    auto st = own.prepare(
        QStringLiteral("SELECT NumFact FROM (SELECT f.*, (SELECT pylon_cents(pylon_ttc(Mnt)) FROM DetFact d "
                       "WHERE d.NumFact = f.NumFact) AS ttc FROM Facture f) f WHERE %1 "
                       "ORDER BY DateFact DESC, NumFact DESC")
            .arg(QString::fromUtf8(c.where)));
    ASSERT_TRUE(st) << own.lastError().toStdString();
    QStringList expected;
    while (st->step())
        expected << st->value(0).toString();
    EXPECT_EQ(shownNumbers(), expected.mid(0, DocumentSearch::kShown));
    if (!c.problem.isEmpty()) {
        EXPECT_TRUE(status().startsWith(c.problem)) << status().toStdString();
    }
    if (expected.size() > DocumentSearch::kShown)
        EXPECT_TRUE(status().contains("Les 500 documents les plus récents sont affichés"));
    else if (expected.isEmpty())
        EXPECT_TRUE(status().endsWith("Aucun document ne répond à ces critères."));
    else
        EXPECT_TRUE(status().endsWith(
            QStringLiteral("%1 document%2.").arg(expected.size()).arg(expected.size() > 1 ? "s" : "")));
}

INSTANTIATE_TEST_SUITE_P(
    Search, SearchCriteriaTable,
    ::testing::Values(
        Criteria{"PartOfAName", "kettani", {}, {}, {}, {}, {}, "NomCli LIKE '%kettani%'", {}},
        Criteria{"CaseAndAccentsAside", "HOTEL", {}, {}, {}, {}, {}, "NomCli LIKE '%hôtel%'", {}},
        Criteria{"PartOfANumber",
                 "12",
                 {},
                 {},
                 {},
                 {},
                 {},
                 "CAST(NumCli AS TEXT) LIKE '%12%' OR NomCli LIKE '%12%'",
                 {}},
        Criteria{"BothDaysIncluded",
                 {},
                 {},
                 "1/3/2025",
                 "31/03/2025",
                 {},
                 {},
                 "DateFact BETWEEN '2025-03-01' AND '2025-03-31'",
                 {}},
        Criteria{"KindAndName",
                 "belkadi",
                 "Devis",
                 {},
                 {},
                 {},
                 {},
                 "TypeFact = 'Devis' AND NomCli LIKE '%belkadi%'",
                 {}},
        Criteria{"TotalSpan", {}, {}, {}, {}, "1000", "2000,50", "ttc BETWEEN 10000000 AND 20005000", {}},
        Criteria{"NameAndTotalAndDates",
                 "hôtel",
                 "Facture",
                 "01/01/2024",
                 {},
                 "5000",
                 {},
                 "NomCli LIKE '%hôtel%' AND TypeFact = 'Facture' AND DateFact >= '2024-01-01' AND ttc >= "
                 "50000000",
                 {}},
        Criteria{"CarryingACreditNote", {}, "Portant un avoir", {}, {}, {}, {}, "Avoir = 1", {}},
        Criteria{"AFieldThatCannotBeReadIsLeftOut",
                 "kettani",
                 {},
                 "31/02/2025",
                 {},
                 {},
                 {},
                 "NomCli LIKE '%kettani%'",
                 "« Du » n'est pas une date : tapez-la jj/mm/aaaa."},
        Criteria{"NoneMatches", "zzz", {}, {}, {}, {}, {}, "0", {}},
        Criteria{"PartOfANameOnAThread", "kettani", {}, {}, {}, {}, {}, "NomCli LIKE '%kettani%'", {}, true},
        Criteria{"EveryDocumentOnAThread", {}, {}, {}, {}, {}, {}, "1", {}, true},
        Criteria{"TotalSpanOnAThread",
                 {},
                 {},
                 {},
                 {},
                 "1000",
                 "2000,50",
                 "ttc BETWEEN 10000000 AND 20005000",
                 {},
                 true},
        Criteria{"AFieldThatCannotBeReadOnAThread",
                 "kettani",
                 {},
                 {},
                 "32/01/2025",
                 {},
                 {},
                 "NomCli LIKE '%kettani%'",
                 "« au » n'est pas une date : tapez-la jj/mm/aaaa.",
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

// One document of each kind stored on headers, each for a client of its own: document 10 + kind, client
// 70 + kind, "Maison B" for the quote.
const DocKind kKinds[] = {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery,
                          DocKind::MonthEnd};

QString nameOf(DocKind k) {
    return QStringLiteral("Maison ") + QChar(u'A' + int(k) - 1);
}

class SearchPick : public Search, public ::testing::WithParamInterface<DocKind> {
  protected:
    void SetUp() override {
        for (const DocKind k : kKinds) {
            PlantedDocument d;
            d.number = 10 + int(k);
            d.kind = kindInfo(k).stored;
            d.client = 70 + int(k);
            d.name = nameOf(k);
            d.address = QStringLiteral("Rue %1\nRabat").arg(int(k));
            d.lines = {{" ", "1", "Article", "10,00", "10,00"}};
            ASSERT_TRUE(plant(file, d));
        }
        ASSERT_TRUE(file.exec(QStringLiteral("UPDATE CliEC SET ClientC = 1 WHERE NumCli = 72")));
    }
};

// As "&Lancer" would: the editor works on the document's kind, with its captions, and shows it.
TEST_P(SearchPick, ADoubleClickShowsTheDocumentInItsKind) {
    const DocKind kind = GetParam();
    start();
    ASSERT_TRUE(open());
    type("txtClient", nameOf(kind).toLower());
    waitForTheSearch();
    ASSERT_EQ(shownNumbers(), QStringList{QString::number(10 + int(kind))});
    doubleClickRow(0);
    EXPECT_EQ(m->currentKind(), kind);
    EXPECT_EQ(ui().txtNumFact->text(), QString::number(10 + int(kind)));
    EXPECT_EQ(ui().txtNomCli->text(), nameOf(kind));
    EXPECT_EQ(m->rsDoc->source(), kindInfo(kind).viewSql);
    // The menu, made on first use with the kind applied, shows it too.
    if (auto* menu = qobject_cast<Form4*>(m->form4.get())) {
        EXPECT_EQ(menu->ui.Options->checkedId(), int(kind));
    }
    EXPECT_TRUE(window()->isVisible()) << "the window stays open for the next one";
}

INSTANTIATE_TEST_SUITE_P(Search, SearchPick, ::testing::ValuesIn(kKinds), [](const auto& info) {
    return QString(kindInfo(info.param).stored).remove(QLatin1Char(' ')).toStdString();
});

// During an entry a pick gives the entry its client, as the client list does, and the entry saves with it.
TEST_F(SearchPick, DuringAnEntryAPickFillsTheClient) {
    start();
    typeDocument({QString(),
                  QStringLiteral("07/12/2026"),
                  QString(),
                  QString(),
                  QString(),
                  {{"R1", "2", "Stylo", "3,50", QString()}}});
    ASSERT_TRUE(open());
    type("txtClient", QStringLiteral("maison b"));
    waitForTheSearch();
    ASSERT_EQ(shownNumbers(), QStringList{"12"});
    doubleClickRow(0);
    EXPECT_EQ(m->currentKind(), DocKind::Invoice) << "the entry stays what it is";
    EXPECT_EQ(ui().txtNumCli->text(), "72");
    EXPECT_EQ(ui().txtNomCli->text(), "Maison B");
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 2\nRabat");
    EXPECT_TRUE(ui().Check1->isChecked()) << "client 72 is on account";
    EXPECT_FALSE(window()->isVisible());
    save();
    // Invoice 17 follows month-end invoice 16.
    EXPECT_EQ(count("Facture", "NumFact = 17 AND NumCli = 72 AND NomCli = 'Maison B' AND TypeFact = "
                               "'Facture' AND AdrCli = 'Rue 2' || char(10) || 'Rabat'"),
              "1");
}

} // namespace
