#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class MonthEnd : public EditorTest {
  protected:
    void SetUp() override {
        // Client 7 (on account) has, in March, invoice 10 and delivery note 11 of 2005, invoice 12 of 2004
        // (cancelled), a month-end invoice 13 and a quote 14; in April invoice 15, which has a credit note.
        // Client 8 has invoice 16 in March. Supplier 9's order 40 and quote 50 have larger numbers than any
        // invoice.
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (8, 1, 0), (9, 0, 1);"
            "INSERT INTO Facture VALUES (10, '2005-03-05', 7, 'Dupont', '1 rue A', 'Facture', 0, 0),"
            " (11, '2005-03-20', 7, 'Dupont', '1 rue A', 'BL', 0, 0),"
            " (12, '2004-03-15', 7, 'Dupont', '1 rue A', 'Facture', 0, 1),"
            " (13, '2005-03-31', 7, 'Dupont', '1 rue A', 'Facture M', 0, 0),"
            " (14, '2005-03-10', 7, 'Dupont', '1 rue A', 'Devis', 0, 0),"
            " (15, '2005-04-02', 7, 'Dupont', '1 rue A', 'Facture', 1, 0),"
            " (16, '2005-03-06', 8, 'Martin', '2 rue B', 'Facture', 0, 0),"
            " (40, '2005-03-01', 9, 'Fourn', '3 rue C', 'BC', 0, 0),"
            " (50, '2005-03-01', 7, 'Dupont', '1 rue A', 'Devis', 0, 0);"
            "INSERT INTO DetFact VALUES (10, '1', '2', 'vis', '1,00', '2,00'),"
            " (10, '2', '1', 'écrou', '0,50', '0,50'), (11, '1', '5', 'clou', '0,10', '0,50'),"
            " (12, '1', '1', 'bois', '3,00', '3,00'), (13, '1', '1', 'ancienne', '9,00', '9,00'),"
            " (14, '1', '1', 'devis', '8,00', '8,00'), (15, '1', '1', 'avril', '7,00', '7,00'),"
            " (16, '1', '1', 'autre', '6,00', '6,00'), (40, '1', '1', 'commande', '5,00', '5,00'),"
            " (50, '1', '1', 'devis2', '4,00', '4,00');"
            "INSERT INTO AVOIR VALUES (15, '1', '1', 'retour', '7,00', '7,00');")));
        start();
        ASSERT_EQ(ui().txtNumFact->text(), "10");
        ASSERT_TRUE(ui().Command16->isEnabled());
    }

    void run(const QStringList& answers) {
        inputs.answers = answers;
        QTest::mouseClick(ui().Command16, Qt::LeftButton);
    }
    QString q(const QString& sql) const { return file.scalar(sql); }
    QString lastMessage() const {
        return boxes.shown.empty() ? QString() : boxes.shown.back().title + " / " + boxes.shown.back().text;
    }
    // A document's lines, one "NB|Qt|Design|PU|Mnt" each, sorted.
    QString linesOf(const char* table, int number) const {
        return q(
            QStringLiteral("SELECT group_concat(l, ';') FROM (SELECT coalesce(NB, '-') || '|' || "
                           "coalesce(Qt, '-') || '|' || coalesce(Design, '-') || '|' || coalesce(PU, "
                           "'-') || '|' || coalesce(Mnt, '-') AS l FROM %1 WHERE NumFact = %2 ORDER BY l)")
                .arg(QLatin1String(table))
                .arg(number));
    }
    QString header(int number) const {
        return q(
            QStringLiteral("SELECT NumFact || '|' || DateFact || '|' || NumCli || '|' || NomCli || '|' || "
                           "AdrCli || '|' || TypeFact || '|' || Avoir || '|' || \"Annulée\" FROM Facture "
                           "WHERE NumFact = %1")
                .arg(number));
    }
    // The whole file as canonical text: comparing it before and after shows any change, in any table.
    QString everything() const { return dumpOf(file.path()); }
    void expectBackOnDocument10() const {
        EXPECT_EQ(ui().txtNumFact->text(), "10");
        EXPECT_EQ(ui().txtDateFact->text(), "05/03/2005");
        EXPECT_EQ(ui().txtNumCli->text(), "7");
        EXPECT_EQ(ui().List3->count(), 2);
        EXPECT_FALSE(ui().Command6->isEnabled());
        EXPECT_FALSE(ui().Command10->isEnabled());
        EXPECT_FALSE(ui().Check1->isEnabled());
        EXPECT_FALSE(ui().txtPointeur->isVisibleTo(editor.get()));
        EXPECT_TRUE(ui().txtPointeur->text().isEmpty());
    }

    const QString gatheredInMarch =
        QStringLiteral("1|2|vis|1,00|2,00;1|5|clou|0,10|0,50;2|1|écrou|0,50|0,50");
};

} // namespace

TEST_F(MonthEnd, GathersTheClientsInvoicesAndDeliveryNotesOfTheMonthIntoANewDocument) {
    run({}); // every proposed answer accepted

    ASSERT_EQ(inputs.shown.size(), 3u);
    const ShownInput expected[] = {{"Facture du mois.", "Facture numéro :", "17"},
                                   {"Facture du mois.", "Date de fin du mois :", "31/3/2005"},
                                   {"Facture du mois.", "Pour le Client numéro :", "7"}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(inputs.shown[i].title, expected[i].title) << i;
        EXPECT_EQ(inputs.shown[i].prompt, expected[i].prompt) << i;
        EXPECT_EQ(inputs.shown[i].proposed, expected[i].proposed)
            << i << ": orders and quotes do not count for the number";
    }
    EXPECT_EQ(header(17), "17|2005-03-31|7|Dupont|1 rue A|Facture M|0|0");
    EXPECT_EQ(linesOf("DetFact", 17), gatheredInMarch)
        << "March 2005 only (invoice 12 is of March 2004), invoices and delivery notes only, values "
           "unchanged";
    EXPECT_EQ(linesOf("DetFact", 10), "1|2|vis|1,00|2,00;2|1|écrou|0,50|0,50") << "sources untouched";
    EXPECT_EQ(q("SELECT count(*) FROM CliEC"), "3");
    EXPECT_EQ(lastMessage(), "Message / Facture du mois 3 pour le client en compte 7 créé.");
    expectBackOnDocument10();

    // A second run gathers the same lines again, under the next number.
    run({});
    EXPECT_EQ(inputs.shown[3].proposed, "18");
    EXPECT_EQ(linesOf("DetFact", 18), gatheredInMarch);
}

TEST_F(MonthEnd, ANewClientWithNothingInTheMonthGetsAHeaderAndOneEmptyLine) {
    run({"30", "30/6/2005", "99"});
    EXPECT_EQ(header(30), "30|2005-06-30|99|Dupont|1 rue A|Facture M|0|0")
        << "name and address are those on screen";
    EXPECT_EQ(linesOf("DetFact", 30), "-|-|-|-|-");
    EXPECT_EQ(q("SELECT ClientC || '|' || Frs FROM CliEC WHERE NumCli = 99"), "1|0")
        << "on account, as the box on screen said";
    EXPECT_EQ(lastMessage(), "Message / Facture du mois 6 pour le client en compte 99 créé.");
    expectBackOnDocument10();
}

TEST_F(MonthEnd, ProposedEndOfMonthFollowsTheDateOnScreen) {
    const struct {
        const char* onScreen;
        const char* proposed;
    } cases[] = {{"15/02/2024", "29/2/2024"},
                 {"01/02/2023", "28/2/2023"},
                 {"31/12/2005", "31/12/2005"},
                 {"05/03/2005", "31/3/2005"},
                 {"plus tard", ""}};
    for (const auto& c : cases) {
        ui().txtDateFact->setText(QString::fromUtf8(c.onScreen));
        run({"17", InputAnswerer::kCancel});
        ASSERT_EQ(inputs.shown.size(), 2u);
        EXPECT_EQ(inputs.shown[1].proposed, QString::fromUtf8(c.proposed)) << c.onScreen;
        inputs.shown.clear();
    }
}

TEST_F(MonthEnd, CancelledEmptyOrUnusableAnswersWriteNothing) {
    const QString before = everything();
    const struct {
        QStringList answers;
        size_t prompts;
    } cases[] = {
        {{InputAnswerer::kCancel}, 1},
        {{""}, 1},
        {{"douze"}, 1},
        {{"-5"}, 1},
        {{"17", InputAnswerer::kCancel}, 2},
        {{"17", ""}, 2},
        {{"17", "31/2/2005"}, 2},
        {{"17", "fin mars"}, 2},
        {{"17", "31/3/2005", InputAnswerer::kCancel}, 3},
        {{"17", "31/3/2005", ""}, 3},
        {{"17", "31/3/2005", "7 OR 1=1"}, 3},
        {{"17", "31/3/2005", "sept"}, 3},
    };
    for (const auto& c : cases) {
        const std::string label = c.answers.join(" , ").toStdString();
        inputs.shown.clear();
        boxes.shown.clear();
        run(c.answers);
        EXPECT_EQ(inputs.shown.size(), c.prompts) << label;
        ASSERT_EQ(boxes.shown.size(), 1u) << label;
        EXPECT_EQ(lastMessage(), "Message / Opération annulée.") << label;
        EXPECT_EQ(everything(), before) << label;
        expectBackOnDocument10();
    }
}

TEST_F(MonthEnd, ANumberAlreadyTakenIsRefused) {
    const QString before = everything();
    run({"11", "31/3/2005", "99"}); // the delivery note's number, for a client without a row yet
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].title + " / " + boxes.shown[0].text,
              "Opération annulée! / Facture N° 11 Existe déjà.");
    EXPECT_EQ(lastMessage(), "Message / Opération annulée.");
    EXPECT_EQ(everything(), before);
    EXPECT_EQ(header(11), "11|2005-03-20|7|Dupont|1 rue A|BL|0|0");
    expectBackOnDocument10();
}

TEST_F(MonthEnd, InTheCreditNoteKindTheLinesBecomeACreditNoteOfAnExistingDocument) {
    arrangeKind(DocKind::CreditNote);
    ASSERT_EQ(ui().txtNumFact->text(), "15");
    const QString headers = q("SELECT count(*) FROM Facture");

    run({"77", "31/3/2005", "7"}); // no such document
    EXPECT_EQ(lastMessage(), "Message / Opération annulée.");
    EXPECT_EQ(q("SELECT count(*) FROM AVOIR"), "1");
    EXPECT_EQ(q("SELECT count(*) FROM Facture WHERE Avoir = 1"), "1");

    run({"16", "31/3/2005", "7"});
    EXPECT_EQ(lastMessage(), "Message / Facture du mois 3 pour le client en compte 7 créé.");
    EXPECT_EQ(linesOf("AVOIR", 16), gatheredInMarch);
    EXPECT_EQ(header(16), "16|2005-03-06|8|Martin|2 rue B|Facture|1|0");
    EXPECT_EQ(linesOf("DetFact", 16), "1|1|autre|6,00|6,00");
    EXPECT_EQ(q("SELECT count(*) FROM Facture"), headers) << "no month-end invoice in this kind";
    EXPECT_EQ(linesOf("AVOIR", 15), "1|1|retour|7,00|7,00");
    EXPECT_EQ(ui().txtNumFact->text(), "15");
}

TEST_F(MonthEnd, AWriteTheFileRefusesLeavesNothingBehind) {
    const QString before = everything();
    ASSERT_TRUE(m->db.exec(
        QStringLiteral("CREATE TRIGGER refuse_header BEFORE INSERT ON Facture WHEN NEW.NumCli = 99 BEGIN "
                       "SELECT RAISE(ABORT, 'en-tête refusé'); END;"
                       "CREATE TRIGGER refuse_line BEFORE INSERT ON DetFact WHEN NEW.Design = 'clou' BEGIN "
                       "SELECT RAISE(ABORT, 'ligne refusée'); END;")));

    run({"17", "31/3/2005", "99"}); // the client's row is written before the header is refused
    EXPECT_TRUE(lastMessage().startsWith("Message / L'opération n'a pas pu être enregistrée : "));
    EXPECT_TRUE(lastMessage().contains("en-tête refusé")) << lastMessage().toStdString();
    EXPECT_EQ(everything(), before);

    run({"17", "31/3/2005", "7"}); // one of the four lines is refused
    EXPECT_TRUE(lastMessage().contains("ligne refusée")) << lastMessage().toStdString();
    EXPECT_EQ(everything(), before);
    expectBackOnDocument10();
    EXPECT_TRUE(ui().Check1->isChecked()) << "the client's row read again after the rollback";
}
