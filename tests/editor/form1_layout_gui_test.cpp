#include "support/gui_fixture.h"
#include "ui_Form1.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QStringList>
#include <QStyle>
#include <QTest>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Control {
    const char* name;
    const char* className;
    int x, y, w, h;
    const char* caption; // nullptr for fields, lists and decorations
};

// Twips divided by 15, rounded to the nearest pixel.
const Control kControls[] = {
    {"Frame1", "QFrame", 84, -8, 793, 9, nullptr},
    {"Line2", "QFrame", 392, 48, 8, 1, nullptr},
    {"Line3", "QFrame", 392, 68, 12, 1, nullptr},
    {"Line4", "QFrame", 392, 92, 8, 1, nullptr},
    {"Line5", "QFrame", 392, 116, 8, 1, nullptr},
    {"Line6", "QFrame", 392, 140, 8, 1, nullptr},
    {"Line8", "QFrame", 392, 158, 72, 1, nullptr},
    {"Line7", "QFrame", 392, 176, 72, 1, nullptr},
    {"Label7", "QLabel", 48, 40, 96, 13, "Numéro Facture :"},
    {"Label1", "QLabel", 65, 64, 79, 13, "Date Facture :"},
    {"Label2", "QLabel", 59, 88, 85, 13, "Numéro Client :"},
    {"Label3", "QLabel", 78, 112, 66, 13, "Nom Client :"},
    {"Label4", "QLabel", 57, 136, 87, 13, "Adresse Client :"},
    {"txtNumFact", "QLineEdit", 152, 40, 241, 19, nullptr},
    {"txtDateFact", "QLineEdit", 152, 64, 241, 19, nullptr},
    {"txtNumCli", "QLineEdit", 152, 88, 241, 19, nullptr},
    {"txtNomCli", "QLineEdit", 152, 112, 241, 19, nullptr},
    {"txtAdrCli", "QPlainTextEdit", 152, 136, 241, 43, nullptr},
    {"Check1", "QCheckBox", 392, 159, 73, 17, "En Compte"},
    {"Label17", "QLabel", 24, 176, 97, 17, "Facture annulée."},
    {"Label15", "QLabel", 28, 163, 89, 17, "Avoir attachée."},
    {"Label5", "QLabel", 8, 200, 20, 13, "N.B."},
    {"Label6", "QLabel", 88, 200, 21, 13, "QTE"},
    {"Label8", "QLabel", 168, 200, 67, 13, "Designation"},
    {"Label9", "QLabel", 600, 200, 42, 13, "P.U. H.T"},
    {"Label10", "QLabel", 680, 200, 69, 13, "Montant H.T"},
    {"List1", "QListWidget", 8, 216, 81, 365, nullptr},
    {"List2", "QListWidget", 88, 216, 81, 365, nullptr},
    {"List3", "QListWidget", 168, 216, 433, 365, nullptr},
    {"List4", "QListWidget", 600, 216, 81, 365, nullptr},
    {"List5", "QListWidget", 680, 216, 81, 365, nullptr},
    {"txtPointeur", "QLineEdit", 8, 216, 81, 16, nullptr},
    {"Label11", "QLabel", 608, 592, 63, 13, "TOTAL H.T :"},
    {"Label12", "QLabel", 604, 616, 67, 13, "T.V.A. 20% :"},
    {"Label13", "QLabel", 599, 640, 72, 13, "TOTAL T.T.C :"},
    {"txtTotalHT", "QLineEdit", 680, 592, 81, 19, nullptr},
    {"txtTVA", "QLineEdit", 680, 616, 81, 19, nullptr},
    {"txtTotalTTC", "QLineEdit", 680, 640, 81, 19, nullptr},
    {"Label16", "QLabel", 8, 584, 246, 13, "Arrêtée la présente facture à la somme de :"},
    {"txtSomme", "QPlainTextEdit", 8, 600, 561, 41, nullptr},
    {"Label14", "QLabel", 8, 648, 113, 13, "Orvane Computing."},
    {"Command15", "QPushButton", 0, 0, 81, 23, "&Menu"},
    {"Command7", "QPushButton", 400, 40, 65, 45, "Factures"},
    {"Command9", "QPushButton", 400, 88, 65, 65, "Clients"},
    {"Command16", "QPushButton", 496, 44, 248, 25, "&Créer la facture du mois"},
    {"Command5", "QPushButton", 496, 72, 97, 25, "Aj&outer"},
    {"Command10", "QPushButton", 496, 96, 97, 25, "&Annuler"},
    {"Command6", "QPushButton", 496, 120, 97, 25, "&Valider"},
    {"Command1", "QPushButton", 496, 144, 25, 25, "|<"},
    {"Command2", "QPushButton", 520, 144, 25, 25, "<"},
    {"Command3", "QPushButton", 544, 144, 25, 25, ">"},
    {"Command4", "QPushButton", 568, 144, 25, 25, ">|"},
    {"Command8", "QPushButton", 596, 72, 73, 25, "&Supprimer"},
    {"Command17", "QPushButton", 596, 96, 73, 25, "&Fact. Annul."},
    {"Command11", "QPushButton", 596, 120, 73, 25, "S&tatistiques"},
    {"Command12", "QPushButton", 596, 144, 73, 25, "&Imprimer"},
    {"Command13", "QPushButton", 672, 72, 73, 25, "A&uteur"},
    {"Command19", "QPushButton", 672, 96, 73, 25, "&Manuel"},
    {"Command18", "QPushButton", 672, 120, 73, 25, "&Licence"},
    {"Command14", "QPushButton", 672, 144, 73, 25, "&Quitter"},
};

const QStringList kTabOrder = {
    "txtNumFact", "txtDateFact", "txtNumCli", "txtNomCli", "txtAdrCli",  "Check1",    "Command7",
    "Command9",   "txtPointeur", "Command5",  "Command10", "Command6",   "Command1",  "Command2",
    "Command3",   "Command4",    "Command8",  "Command17", "Command11",  "Command12", "Command13",
    "Command19",  "Command18",   "Command14", "Command15", "Command16",  "List1",     "List2",
    "List3",      "List4",       "List5",     "txtSomme",  "txtTotalHT", "txtTVA",    "txtTotalTTC"};

const QStringList kLists = {"List1", "List2", "List3", "List4", "List5"};

class Form1Layout : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.setupUi(&window);
        window.ensurePolished();
    }
    QWidget* child(const char* name) { return window.findChild<QWidget*>(QString::fromUtf8(name)); }

    QWidget window;
    Ui::Form1 ui;
};

QString captionOf(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
    return {};
}

TEST_F(Form1Layout, WindowHasItsTitleAndClientSize) {
    EXPECT_EQ(window.objectName(), "Form1");
    EXPECT_EQ(window.size(), QSize(769, 666));
    EXPECT_EQ(window.windowTitle(), "      Pylon Beta    -   Gestionnaire de la facture");
    // Smaller, the window would hide "&Valider" and the totals; larger, it would show bare grey space.
    for (const QSize tried : {QSize(500, 400), QSize(1200, 900)}) {
        window.resize(tried);
        EXPECT_EQ(window.size(), QSize(769, 666));
    }
}

TEST_F(Form1Layout, EveryControlHasItsClassPlaceAndCaption) {
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        QWidget* w = child(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), &window);
        EXPECT_STREQ(w->metaObject()->className(), c.className);
        EXPECT_EQ(w->geometry(), QRect(c.x, c.y, c.w, c.h));
        EXPECT_EQ(captionOf(w), c.caption ? QString::fromUtf8(c.caption) : QString());
    }
}

TEST_F(Form1Layout, OnlyTheEditButtonsAndMarkersStartInactive) {
    const QSet<QString> disabled = {"Command6", "Command10", "Command16", "Check1"};
    const QSet<QString> hidden = {"txtPointeur", "Label15", "Label17"};
    for (const Control& c : kControls) {
        SCOPED_TRACE(c.name);
        const QWidget* w = child(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), !disabled.contains(c.name));
        EXPECT_EQ(w->isHidden(), hidden.contains(c.name));
    }
    for (const char* name : {"Command1", "Command5", "Command15"}) {
        auto* button = window.findChild<QPushButton*>(name);
        EXPECT_FALSE(button->autoDefault() || button->isDefault()) << name;
    }
}

TEST_F(Form1Layout, TabVisitsTheControlsInOrder) {
    const QSet<QString> stops(kTabOrder.begin(), kTabOrder.end());
    QStringList visited;
    QWidget* w = ui.txtNumFact;
    do {
        if (stops.contains(w->objectName()) && (w->focusPolicy() & Qt::TabFocus)) visited << w->objectName();
        w = w->nextInFocusChain();
    } while (w != ui.txtNumFact && visited.size() <= kTabOrder.size());
    EXPECT_EQ(visited.join(' ').toStdString(), kTabOrder.join(' ').toStdString());
    EXPECT_TRUE(ui.txtAdrCli->tabChangesFocus());
    EXPECT_TRUE(ui.txtSomme->tabChangesFocus());
}

// The line entry field is placed over a row by row index times the row height, so every
// column must draw its rows at exactly 11 pixels, starting just inside the 1-pixel frame.
TEST_F(Form1Layout, ListRowsAreElevenPixelsHigh) {
    window.show();
    for (const QString& name : kLists) {
        SCOPED_TRACE(name.toStdString());
        auto* list = window.findChild<QListWidget*>(name);
        ASSERT_NE(list, nullptr);
        list->addItem("   12,50");
        list->addItem("    1,00");
        const QRect first = list->visualItemRect(list->item(0));
        const QRect second = list->visualItemRect(list->item(1));
        EXPECT_EQ(first.height(), 11);
        EXPECT_EQ(second.top() - first.top(), 11);
        EXPECT_EQ(list->viewport()->mapTo(list, first.topLeft()).y(), 1);
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_FALSE(list->isSortingEnabled());
    }
}

double luminance(const QColor& c) {
    const auto channel = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(Form1Layout, ASelectedLineStaysReadable) {
    window.show();
    for (const QString& name : kLists) {
        SCOPED_TRACE(name.toStdString());
        auto* list = window.findChild<QListWidget*>(name);
        list->addItems({"   12,50", "    1,00", "    3,00"});
        list->setCurrentRow(1);
        const QImage shot = list->viewport()->grab().toImage();
        const QRect row = list->visualItemRect(list->item(1));
        // The far end of the row holds no text: what is drawn there lies behind the whole line.
        const QColor behind = shot.pixelColor(row.right() - 1, row.center().y());
        EXPECT_NE(behind.rgb(), qRgb(192, 192, 255)) << "the chosen line stands out from the others";
        double text = 1;
        for (int y = row.top(); y <= row.bottom(); ++y)
            for (int x = row.left(); x < row.right(); ++x)
                text = std::max(text, contrast(shot.pixelColor(x, y), behind));
        EXPECT_GE(text, 4.5) << "its text reads against what lies behind it";
    }
}

struct Look {
    const char* name;
    const char* family;
    double pointSize;
    bool bold;
    QRgb text;
    QRgb base; // 0 for labels, which keep the window's background
};

const Look kLooks[] = {
    {"txtNumFact", "Tahoma", 8.25, true, qRgb(64, 0, 0), qRgb(192, 192, 255)},
    {"txtAdrCli", "Tahoma", 8.25, true, qRgb(64, 0, 0), qRgb(192, 192, 255)},
    {"txtSomme", "Tahoma", 8.25, true, qRgb(64, 0, 0), qRgb(192, 192, 255)},
    {"List3", "Lucida Console", 8.25, true, qRgb(64, 0, 0), qRgb(192, 192, 255)},
    {"txtPointeur", "Lucida Console", 8.25, true, qRgb(64, 0, 0), qRgb(192, 192, 255)},
    {"txtTVA", "Lucida Console", 8.25, true, qRgb(64, 0, 0), qRgb(192, 192, 255)},
    {"Label7", "Tahoma", 8.25, true, qRgb(0, 0, 64), 0},
    {"Label16", "Tahoma", 8.25, true, qRgb(0, 0, 64), 0},
    {"Label17", "Tahoma", 9.75, false, qRgb(192, 0, 0), 0},
    {"Label15", "Tahoma", 9.75, false, qRgb(0, 64, 0), 0},
    {"Label14", "Tahoma", 8.25, true, qRgb(64, 64, 64), 0},
};

TEST_F(Form1Layout, OnAccountCaptionFitsItsBox) {
    // The box is only 73 pixels wide; a larger font would cut "En Compte" short.
    const QStyle* style = ui.Check1->style();
    const int needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, ui.Check1) +
                       style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, ui.Check1) +
                       ui.Check1->fontMetrics().horizontalAdvance(ui.Check1->text());
    EXPECT_LE(needed, ui.Check1->width());
}

TEST_F(Form1Layout, FieldsAndLabelsHaveTheirFontsAndColours) {
    for (const Look& l : kLooks) {
        SCOPED_TRACE(l.name);
        QWidget* w = child(l.name);
        ASSERT_NE(w, nullptr);
        const QFont f = w->font();
        EXPECT_EQ(f.family(), l.family);
        EXPECT_DOUBLE_EQ(f.pointSizeF(), l.pointSize);
        EXPECT_EQ(f.bold(), l.bold);
        EXPECT_EQ(f.underline(), QLatin1String(l.name) == "Label14");
        const bool isLabel = qobject_cast<QLabel*>(w) != nullptr;
        EXPECT_EQ(w->palette().color(isLabel ? QPalette::WindowText : QPalette::Text).rgb(), l.text);
        if (l.base) {
            EXPECT_EQ(w->palette().color(QPalette::Base).rgb(), l.base);
        }
    }
    // The columns only line up if the figures are drawn in a fixed-pitch font.
    EXPECT_TRUE(QFontInfo(ui.List5->font()).fixedPitch());
    EXPECT_TRUE(QFontInfo(ui.txtTotalTTC->font()).fixedPitch());
}

} // namespace

namespace {

// The editor on an invoice of sixty lines, more than its columns show at once.
class Form1Columns : public pylon::test::EditorTest {
  protected:
    void SetUp() override {
        QString sql =
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (3, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 0);");
        for (int n = 0; n < 60; ++n)
            sql += QStringLiteral("INSERT INTO DetFact VALUES (3, '%1', '1', 'L%1', '1,00', '1,00');")
                       .arg(n, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(file.exec(sql));
        start();
    }
    QListWidget* list(int i) const {
        return editor->findChild<QListWidget*>(QStringLiteral("List%1").arg(i));
    }
    void expectInStep(const char* how) {
        SCOPED_TRACE(how);
        const int top = list(1)->indexAt(QPoint(2, 2)).row();
        for (int c = 2; c <= 5; ++c) {
            EXPECT_EQ(list(c)->verticalScrollBar()->value(), list(1)->verticalScrollBar()->value()) << c;
            EXPECT_EQ(list(c)->indexAt(QPoint(2, 2)).row(), top) << c;
        }
    }
};

} // namespace

TEST_F(Form1Columns, TheFiveColumnsScrollAsOneAndEachDocumentStartsAtTheTop) {
    ASSERT_EQ(list(1)->count(), 60);
    QWidget* designations = list(3)->viewport();
    const struct {
        const char* how;
        std::function<void()> move;
    } moves[] = {
        {"the wheel over the designations",
         [&] {
             const QPointF at = designations->rect().center();
             QWheelEvent e(at, designations->mapToGlobal(at), QPoint(), QPoint(0, -360), Qt::NoButton,
                           Qt::NoModifier, Qt::NoScrollPhase, false);
             QApplication::sendEvent(designations, &e);
         }},
        {"the last line from the amounts",
         [&] {
             QTest::mouseClick(list(5)->viewport(), Qt::LeftButton, {},
                               list(5)->visualItemRect(list(5)->item(2)).center());
             QTest::keyClick(list(5), Qt::Key_End);
         }},
        {"typing a line number", [&] { QTest::keyClicks(list(1), QStringLiteral("55")); }},
    };
    for (const auto& step : moves) {
        // Showing the document again fills the columns anew, from the top.
        QTest::mouseClick(ui().Command1, Qt::LeftButton);
        for (int c = 1; c <= 5; ++c)
            EXPECT_EQ(list(c)->verticalScrollBar()->value(), 0) << step.how << ", column " << c;
        step.move();
        EXPECT_GT(list(1)->verticalScrollBar()->value(), 0) << step.how;
        expectInStep(step.how);
    }
}
