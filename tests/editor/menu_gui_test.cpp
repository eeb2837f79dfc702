#include "editor/form4.h"
#include "editor/show_document.h"
#include "support/gui_fixture.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

// What the editor reads for a kind: window title, Command7, Command9, Label7, Label1 .. Label4.
struct Captions {
    QString title, command7, command9, label7, label1, label2, label3, label4;
    bool operator==(const Captions&) const = default;
};

void PrintTo(const Captions& c, std::ostream* os) {
    *os << QStringList({c.title, c.command7, c.command9, c.label7, c.label1, c.label2, c.label3, c.label4})
               .join(QLatin1Char('|'))
               .toStdString();
}

const Captions kInvoice = {"      Pylon Beta    -   Gestionnaire de la facture",
                           "Factures",
                           "Clients",
                           "Numéro Facture :",
                           "Date Facture :",
                           "Numéro Client :",
                           "Nom Client :",
                           "Adresse Client :"};

class Menu : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0), (20, 0, 1);"
            "INSERT INTO Facture VALUES (5, '2004-01-31', 7, 'Alami SARL', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (5, 'R1', '1', 'Ordinateur', '1000,00', '1000,00');"
            "INSERT INTO Facture VALUES (6, '2004-02-01', 8, 'Bennani', 'Rue 2', 'Facture', 1, 0);"
            "INSERT INTO DetFact VALUES (6, ' ', '1', 'Serveur', '500,00', '500,00');"
            "INSERT INTO AVOIR VALUES (6, 'A', '1', 'Retour', '10,00', '10,00');"
            "INSERT INTO AVOIR VALUES (6, 'B', '2', 'Remise', '5,00', '10,00');"
            "INSERT INTO Facture VALUES (9, '2004-03-01', 20, 'Fournisseur SA', 'Zone 3', 'BC', 0, 0);"
            "INSERT INTO DetFact VALUES (9, ' ', '4', 'Cartouches', '25,00', '100,00');")));
    }

    Form4* menu() const { return qobject_cast<Form4*>(m->form4.get()); }

    QRadioButton* option(int n) const {
        return menu()->findChild<QRadioButton*>(QStringLiteral("Option%1").arg(n));
    }
    int selected() const {
        for (int n = 1; n <= 6; ++n)
            if (option(n)->isChecked()) return n;
        return 0;
    }
    void choose(int n) { pickOption(*menu(), DocKind(n)); }
    // "&Lancer" (Command1) or "&Annuler" (Command2), then back in the editor.
    void press(const char* name) {
        QTest::mouseClick(menu()->findChild<QPushButton*>(QLatin1String(name)), Qt::LeftButton);
        if (!QTest::qWaitForWindowActive(editor.get())) ADD_FAILURE() << "the editor did not become active";
    }

    Captions captions() const {
        return {editor->windowTitle(), ui().Command7->text(), ui().Command9->text(), ui().Label7->text(),
                ui().Label1->text(),   ui().Label2->text(),   ui().Label3->text(),   ui().Label4->text()};
    }
};

} // namespace

TEST_F(Menu, EachKindGivesTheEditorItsCaptions) {
    const Captions expected[] = {
        kInvoice,
        {"      Pylon Beta    -   Gestionnaire du devis", "Devis", "Clients",
         "    Numéro Devis :", "    Date Devis :", "Numéro Client :", "Nom Client :", "Adresse Client :"},
        {"      Pylon Beta    -   Gestionnaire du bon de commande", "Bons C", "Frs.", "        Numéro B.C. :",
         "        Date B.C. :", "      Numéro Frs :", "      Nom Frs :", "      Adresse Frs :"},
        {"      Pylon Beta    -   Gestionnaire du bon de livraison", "Bons L", "Clients",
         "        Numéro B.L. :", "        Date B.L. :", "Numéro Client :", "Nom Client :",
         "Adresse Client :"},
        {"      Pylon Beta    -   Gestionnaire de l' AVOIR", "Avoirs", "Clients",
         "     Avoir Facture :", "Date Facture :", "Numéro Client :", "Nom Client :", "Adresse Client :"},
        {"      Pylon Beta    -   Gestionnaire des factures du mois", "Factures M", "Clients",
         "Numéro Facture :", "Date Facture :", "Numéro Client :", "Nom Client :", "Adresse Client :"},
    };
    start();
    EXPECT_EQ(captions(), kInvoice) << "the editor opens on invoices";
    // Walked in an order where every kind follows one with other captions, the supplier kind included.
    for (const int n : {3, 2, 5, 4, 6, 1, 3, 5, 1}) {
        SCOPED_TRACE(n);
        chooseKind(DocKind(n));
        EXPECT_EQ(captions(), expected[n - 1]);
        EXPECT_EQ(m->currentKind(), DocKind(n));
        EXPECT_FALSE(menu()->isVisible());
    }
}

TEST_F(Menu, TheMenuWindowIsOneModelessWindowOpeningOnTheInvoice) {
    start();
    const QString rsDocSource = m->rsDoc->source();
    Form4* first = openMenu(*m);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->objectName(), "Form4");
    EXPECT_EQ(first->windowTitle(), "Menu principal");
    EXPECT_TRUE(first->isWindow());
    EXPECT_FALSE(first->isModal());
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(first->MenuKind, 1);
    EXPECT_EQ(m->rsDoc->source(), rsDocSource) << "\"&Menu\" only shows the menu";
    EXPECT_EQ(captions(), kInvoice);
    EXPECT_EQ(ui().txtNumFact->text(), "5");

    // The editor stays usable while the menu is open, and "&Menu" again brings back the same window.
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    EXPECT_EQ(openMenu(*m), first);
    int menus = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        menus += w->objectName() == QLatin1String("Form4");
    EXPECT_EQ(menus, 1);
}

TEST_F(Menu, ASelectionCountsOnlyOnceLaunched) {
    start();
    ASSERT_TRUE(openMenu(*m));
    choose(5);
    EXPECT_EQ(m->currentKind(), DocKind::Invoice) << "the editor still shows invoices, and works on them";
    EXPECT_EQ(captions(), kInvoice) << "captions change only with \"&Lancer\"";
    EXPECT_EQ(m->rsDoc->source(), kindInfo(DocKind::Invoice).viewSql);
    choose(2);
    press("Command1");
    EXPECT_EQ(m->currentKind(), DocKind::Quote);
}

TEST_F(Menu, CancelGoesBackToTheOptionSelectedWhenTheMenuBecameActive) {
    start();
    RecordSet* view = m->rsDoc.get();
    ASSERT_TRUE(openMenu(*m));
    choose(3);
    choose(4);
    press("Command2");
    EXPECT_FALSE(menu()->isVisible());
    EXPECT_TRUE(m->form4) << "hidden, not destroyed";
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(m->currentKind(), DocKind::Invoice);
    EXPECT_EQ(m->rsDoc.get(), view);
    EXPECT_EQ(captions(), kInvoice);
    EXPECT_EQ(ui().txtNumFact->text(), "5");

    // Each activation records the selection anew: after launching quotes, cancelling comes back to quotes.
    chooseKind(DocKind::Quote);
    view = m->rsDoc.get();
    ASSERT_TRUE(openMenu(*m));
    EXPECT_EQ(menu()->MenuKind, 2);
    choose(5);
    press("Command2");
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(m->currentKind(), DocKind::Quote);
    EXPECT_EQ(m->rsDoc.get(), view);
    EXPECT_EQ(ui().Command7->text(), "Devis");
}

TEST_F(Menu, TheCloseBoxHidesTheMenuAndKeepsItsSelection) {
    start();
    ASSERT_TRUE(openMenu(*m));
    QPointer<Form4> window = menu();
    choose(4);
    window->windowHandle()->close();
    QCoreApplication::processEvents();
    ASSERT_TRUE(window) << "closing does not destroy the menu";
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(selected(), 4);
    EXPECT_EQ(m->currentKind(), DocKind::Invoice) << "kept, but not launched";
    EXPECT_EQ(openMenu(*m), window.data());
    EXPECT_EQ(selected(), 4);
}

TEST_F(Menu, LaunchingAKindWithoutDocumentsEmptiesTheEditor) {
    start();
    chooseKind(DocKind::Quote);
    EXPECT_EQ(ui().Command7->text(), "Devis");
    EXPECT_EQ(m->rsDoc->source(), kindInfo(DocKind::Quote).viewSql);
    for (QLineEdit* f : {ui().txtNumFact, ui().txtDateFact, ui().txtNumCli, ui().txtNomCli})
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
    EXPECT_TRUE(ui().txtAdrCli->toPlainText().isEmpty());
    EXPECT_EQ(ui().List3->count(), 0);
    EXPECT_EQ(ui().txtTotalHT->text(), "     0,00");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Menu, LaunchingCreditNotesShowsTheCreditLinesWithoutTheirMarker) {
    start();
    chooseKind(DocKind::CreditNote);
    EXPECT_EQ(ui().Command7->text(), "Avoirs");
    EXPECT_EQ(ui().Label7->text(), "     Avoir Facture :");
    EXPECT_EQ(ui().txtNumFact->text(), "6") << "the only document carrying a credit note";
    EXPECT_EQ(ui().txtNomCli->text(), "Bennani");
    EXPECT_EQ(column(3), QStringList({"Retour", "Remise"}));
    EXPECT_EQ(ui().txtTotalHT->text(), "    20,00");
    EXPECT_FALSE(ui().Label15->isVisibleTo(editor.get()));

    chooseKind(DocKind::Invoice);
    ASSERT_TRUE(m->rsDoc->MoveLast());
    ShowCurrentDocument(*m);
    EXPECT_EQ(column(3), QStringList({"Serveur"})) << "back on invoices, the invoice's own lines";
    EXPECT_TRUE(ui().Label15->isVisibleTo(editor.get()));
}

TEST_F(Menu, LaunchingPurchaseOrdersShowsTheSupplierCaptionsAndTheFirstOrder) {
    start();
    chooseKind(DocKind::Order);
    EXPECT_EQ(ui().Command9->text(), "Frs.");
    EXPECT_EQ(ui().Label2->text(), "      Numéro Frs :");
    EXPECT_EQ(ui().Label3->text(), "      Nom Frs :");
    EXPECT_EQ(ui().Label4->text(), "      Adresse Frs :");
    EXPECT_EQ(ui().txtNumFact->text(), "9");
    EXPECT_EQ(ui().txtNomCli->text(), "Fournisseur SA");
    EXPECT_EQ(column(3), QStringList({"Cartouches"}));
}

TEST_F(Menu, LaunchingTheCurrentKindAgainReopensItsViewOnTheFirstDocument) {
    start();
    ASSERT_TRUE(m->rsDoc->MoveLast());
    ShowCurrentDocument(*m);
    ASSERT_EQ(ui().txtNumFact->text(), "6");
    const RecordSet* before = m->rsDoc.get();
    ASSERT_TRUE(openMenu(*m));
    press("Command1");
    EXPECT_NE(m->rsDoc.get(), before) << "a new view, opened while the old one was still held";
    EXPECT_EQ(m->rsDoc->source(), kindInfo(DocKind::Invoice).viewSql);
    EXPECT_EQ(ui().txtNumFact->text(), "5");
    EXPECT_EQ(captions(), kInvoice);
    EXPECT_FALSE(menu()->isVisible());
}

TEST_F(Menu, AViewThatCannotBeOpenedLeavesTheKindItsViewAndItsCaptions) {
    start();
    const RecordSet* before = m->rsDoc.get();
    ASSERT_TRUE(file.exec(QStringLiteral("DROP TABLE AVOIR;")));
    chooseKind(DocKind::CreditNote);
    EXPECT_EQ(m->rsDoc.get(), before);
    EXPECT_EQ(m->currentKind(), DocKind::Invoice);
    EXPECT_EQ(captions(), kInvoice);
    EXPECT_EQ(menu()->ui.Options->checkedId(), 1) << "the menu shows the kind still applied";
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Attention");
    EXPECT_EQ(ui().txtNumFact->text(), "5");
    checkFileAfterwards = false;
}

namespace {

// The windows the editor opens, each opened by its button or a double-click, and put away by Escape.
struct EscapeCase {
    const char* name;
    const char* window; // objectName
    std::function<void(Ui::Form1&)> open;
};

class EscapeClosesTheWindow : public Menu, public ::testing::WithParamInterface<EscapeCase> {};

TEST_P(EscapeClosesTheWindow, AndTheEditorGoesOn) {
    start();
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    GetParam().open(ui());
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(GetParam().window) && w->isVisible()) window = w;
    ASSERT_TRUE(window) << GetParam().window << " did not open";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m->currentKind(), DocKind::Invoice);
    EXPECT_EQ(ui().txtNumFact->text(), "5") << "the document shown stays";
}

INSTANTIATE_TEST_SUITE_P(
    Windows, EscapeClosesTheWindow,
    ::testing::Values(
        EscapeCase{"Menu", "Form4", [](Ui::Form1& ui) { QTest::mouseClick(ui.Command15, Qt::LeftButton); }},
        EscapeCase{"List", "Form2", [](Ui::Form1& ui) { QTest::mouseClick(ui.Command7, Qt::LeftButton); }},
        EscapeCase{"Author", "Form3", [](Ui::Form1& ui) { QTest::mouseClick(ui.Command13, Qt::LeftButton); }},
        EscapeCase{"LineDialog", "Form5",
                   [](Ui::Form1& ui) {
                       const QPoint row = ui.List1->visualItemRect(ui.List1->item(0)).center();
                       QTest::mouseClick(ui.List1->viewport(), Qt::LeftButton, {}, row);
                       QTest::mouseDClick(ui.List1->viewport(), Qt::LeftButton, {}, row);
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Menu, EnterLaunchesTheSelectedKindWhereverTheFocusIs) {
    start();
    ASSERT_TRUE(openMenu(*m));
    choose(5);
    menu()->findChild<QPushButton*>(QStringLiteral("Command2"))->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu()));
    QTest::keyClick(menu(), Qt::Key_Return);
    EXPECT_EQ(m->currentKind(), DocKind::CreditNote);
    EXPECT_EQ(ui().txtNumFact->text(), "6");
}

} // namespace
