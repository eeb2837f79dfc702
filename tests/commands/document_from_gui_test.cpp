// "Nouveau document d'après celui-ci…" through its shortcut, the kind chosen in its question, the entry
// saved.
#include "editor/show_document.h"
#include "support/documents.h"
#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

// For client 7 (on account): quote 3, purchase order 20, invoice 5 with a credit note, month-end invoice 6
// of 33 lines.
class DocumentFrom : public EditorTest {
  protected:
    void SetUp() override {
        PlantedDocument quote;
        quote.number = 3;
        quote.kind = QStringLiteral("Devis");
        quote.name = QStringLiteral("Alami SARL");
        quote.address = QStringLiteral("Rue 1\nCasablanca");
        quote.lines = {{" ", "2", "Ordinateur", "1000,00", "2000,00"},
                       {"R2", "1", "Câble", "14,40", "14,40"},
                       {" ", " ", "Livraison offerte", " ", " "}};
        PlantedDocument order = quote;
        order.number = 20;
        order.kind = QStringLiteral("BC");
        PlantedDocument invoice = quote;
        invoice.number = 5;
        invoice.kind = QStringLiteral("Facture");
        invoice.creditLines = {{"A1", "1", "Retour câble", "14,40", "14,40"}};
        PlantedDocument monthEnd = quote;
        monthEnd.number = 6;
        monthEnd.kind = QStringLiteral("Facture M");
        monthEnd.lines = manyLines(33);
        for (const PlantedDocument& d : {quote, order, invoice, monthEnd})
            ASSERT_TRUE(plant(file, d));
        ASSERT_TRUE(file.exec(QStringLiteral("UPDATE CliEC SET ClientC = 1 WHERE NumCli = 7")));
    }
    void show(DocKind kind, int number) {
        arrangeKind(kind);
        ASSERT_TRUE(m->rsDoc->FindFirst(QStringLiteral("NumFact=%1").arg(number)));
        ShowCurrentDocument(*m);
    }
    void pressShortcut() {
        QTest::keyClick(editor.get(), Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    }
    // The header and the lines of a document as the file holds them.
    QString rowsOf(int number, const char* lines = "DetFact") const {
        return file.scalar(
            QStringLiteral("SELECT group_concat(r, ' | ') FROM (SELECT NumFact || ';' || "
                           "DateFact || ';' || NumCli || ';' || NomCli || ';' || AdrCli || ';' || "
                           "TypeFact || ';' || Avoir || ';' || \"Annulée\" AS r FROM Facture "
                           "WHERE NumFact = %1 UNION ALL SELECT * FROM (SELECT NB || ';' || Qt "
                           "|| ';' || Design || ';' || PU || ';' || Mnt FROM %2 WHERE NumFact = "
                           "%1 ORDER BY rowid))")
                .arg(number)
                .arg(QLatin1String(lines)));
    }
    QString linesOf(int number, const char* lines = "DetFact") const {
        return rowsOf(number, lines).section(QStringLiteral(" | "), 1);
    }
};

struct Copy {
    const char* name;
    DocKind shown;
    int number;
    QString answer; // the kind chosen; empty to take the one proposed
    QString proposed;
    DocKind made;
    int madeNumber;
    const char* copiedLines; // the table the copied lines come from
};

class DocumentFromKinds : public DocumentFrom, public ::testing::WithParamInterface<Copy> {};

TEST_P(DocumentFromKinds, SavesTheSameLinesAsANewDocumentAndLeavesTheFirstAsItWas) {
    const Copy& c = GetParam();
    start();
    show(c.shown, c.number);
    const QString source = rowsOf(c.number) + rowsOf(c.number, "AVOIR");
    if (!c.answer.isEmpty()) inputs.answers << c.answer;
    pressShortcut();
    ASSERT_EQ(inputs.shown.size(), 1u);
    EXPECT_EQ(inputs.shown[0].title, "Nouveau document d'après celui-ci");
    EXPECT_EQ(inputs.shown[0].proposed, c.proposed);
    ASSERT_TRUE(m->editMode());
    EXPECT_EQ(m->currentKind(), c.made);
    EXPECT_EQ(ui().txtNumFact->text(), QString::number(c.madeNumber)) << "the next number of its kind";
    EXPECT_EQ(ui().txtDateFact->text(), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_EQ(ui().txtNomCli->text(), "Alami SARL");
    EXPECT_TRUE(ui().Check1->isChecked());
    EXPECT_TRUE(focusIs(ui().txtPointeur));

    save();
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(rowsOf(c.madeNumber).section(QStringLiteral(" | "), 0, 0),
              QStringLiteral("%1;%2;7;Alami SARL;Rue 1\nCasablanca;%3;0;0")
                  .arg(c.madeNumber)
                  .arg(QDate::currentDate().toString(Qt::ISODate), kindInfo(c.made).stored));
    EXPECT_EQ(linesOf(c.madeNumber), linesOf(c.number, c.copiedLines));
    EXPECT_EQ(rowsOf(c.number) + rowsOf(c.number, "AVOIR"), source);
}

INSTANTIATE_TEST_SUITE_P(
    DocumentFrom, DocumentFromKinds,
    ::testing::Values(
        Copy{"QuoteIntoInvoice", DocKind::Quote, 3, {}, "Facture", DocKind::Invoice, 7, "DetFact"},
        Copy{"OrderIntoDeliveryNote",
             DocKind::Order,
             20,
             {},
             "Bon de livraison",
             DocKind::Delivery,
             7,
             "DetFact"},
        Copy{"InvoiceIntoQuote", DocKind::Invoice, 5, "Devis", "Facture", DocKind::Quote, 4, "DetFact"},
        Copy{"CreditNoteIntoInvoice", DocKind::CreditNote, 5, {}, "Facture", DocKind::Invoice, 7, "AVOIR"}),
    [](const auto& info) { return std::string(info.param.name); });

// The editor holds 32 lines: a longer document is not copied in part.
TEST_F(DocumentFrom, ADocumentOfMoreThanThirtyTwoLinesIsRefused) {
    start();
    show(DocKind::MonthEnd, 6);
    const QString before = dumpOf(file.path());
    pressShortcut();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Le document n° 6 a 33 lignes, et un document en compte au plus 32 : il n'a "
              "pas été recopié.");
    EXPECT_TRUE(inputs.shown.empty()) << "refused before the kind is asked";
    EXPECT_FALSE(m->editMode());
    EXPECT_EQ(m->currentKind(), DocKind::MonthEnd);
    EXPECT_EQ(ui().txtNumFact->text(), "6");
    EXPECT_EQ(dumpOf(file.path()), before);
}

} // namespace
