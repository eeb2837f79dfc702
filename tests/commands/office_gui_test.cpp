// The editor's small commands: the three office documents, the author box and "&Quitter".
#include "commands/office.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "support/gui_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>
#include <functional>

using namespace pylon;
using namespace pylon::test;

namespace {

class Office : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (3, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO DetFact VALUES (3, '1', '2', 'x', '5,00', '10,00');")));
        setDocumentOpener([this](const QUrl& url) {
            opened << url;
            return openerSucceeds;
        });
        start();
    }
    void TearDown() override {
        setDocumentOpener({});
        EditorTest::TearDown();
    }
    void deliverDocuments() {
        for (const char* name : {"Fact.doc", "License.doc", "Manuel.doc"}) {
            QFile f(m->appPath + QLatin1Char('/') + QLatin1String(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("{\\rtf1 x}");
        }
    }
    void click(QWidget* w, QPoint at = QPoint()) { QTest::mouseClick(w, Qt::LeftButton, {}, at); }

    QList<QUrl> opened;
    bool openerSucceeds = true;
};

const struct {
    const char* button;
    const char* file;
} kDocumentButtons[] = {{"Command12", "Fact.doc"}, {"Command18", "License.doc"}, {"Command19", "Manuel.doc"}};

} // namespace

TEST_F(Office, EachButtonOpensItsOwnFileOfTheProgramFolderEveryTime) {
    deliverDocuments();
    for (const auto& b : kDocumentButtons) {
        auto* button = editor->findChild<QPushButton*>(QString::fromLatin1(b.button));
        ASSERT_TRUE(button);
        opened.clear();
        click(button);
        click(button);
        const QUrl expected = QUrl::fromLocalFile(m->appPath + QLatin1Char('/') + QLatin1String(b.file));
        EXPECT_EQ(opened, (QList<QUrl>{expected, expected})) << b.button;
        EXPECT_TRUE(QFileInfo(expected.toLocalFile()).isAbsolute());
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ui().txtNumFact->text(), "3");
}

TEST_F(Office, AMissingFileOrNoProgramToOpenItIsSaidWithTheFullPath) {
    const struct {
        const char* situation;
        bool delivered;
        std::function<void()> opener; // sets the opener up
        const char* message;          // followed by the file's full path
    } cases[] = {
        {"the file is missing", false, [] {}, "Le document est introuvable :\n"},
        {"the opener finds no program", true, [this] { openerSucceeds = false; },
         "Aucun programme de ce poste ne peut ouvrir le document :\n"},
        // The desktop of the tests (offscreen) opens nothing.
        {"the desktop's own opener", true, [] { setDocumentOpener({}); },
         "Aucun programme de ce poste ne peut ouvrir le document :\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        if (c.delivered) deliverDocuments();
        c.opener();
        for (const auto& b : kDocumentButtons) {
            boxes.shown.clear();
            click(editor->findChild<QPushButton*>(QString::fromLatin1(b.button)));
            ASSERT_EQ(boxes.shown.size(), 1u) << b.button;
            EXPECT_EQ(boxes.shown[0].title, "Gestionnaire de la facture");
            EXPECT_EQ(
                boxes.shown[0].text,
                QString::fromUtf8(c.message) +
                    QDir::toNativeSeparators(QDir(m->appPath).absoluteFilePath(QString::fromLatin1(b.file))));
        }
    }
    EXPECT_EQ(ui().txtNumFact->text(), "3");
    EXPECT_EQ(ui().List1->count(), 1);
}

TEST_F(Office, TheAuthorBoxIsOneModelessWindowShownAgainAfterEachClickAway) {
    click(ui().Command13);
    QWidget* box = m->form3.get();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->objectName(), "Form3");
    EXPECT_EQ(box->windowTitle(), " Auteur ...");
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->isWindow());
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box));
    for (int i = 1; i <= 6; ++i) {
        auto* label = box->findChild<QLabel*>(QStringLiteral("Label%1").arg(i));
        ASSERT_TRUE(label) << i;
        EXPECT_FALSE(label->text().isEmpty()) << i;
    }
    EXPECT_FALSE(box->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());

    // The editor stays usable while the box is up.
    click(ui().Command11);
    EXPECT_EQ(boxes.shown.size(), 1u);

    QStringList hiders{QStringLiteral("Form3"), QStringLiteral("Image1")};
    for (int i = 1; i <= 6; ++i)
        hiders << QStringLiteral("Label%1").arg(i);
    for (const QString& name : hiders) {
        click(ui().Command13);
        ASSERT_EQ(m->form3.get(), box) << "the same window, not a second one";
        ASSERT_TRUE(box->isVisible());
        if (name == u"Form3")
            click(box, QPoint(60, 125)); // a bare spot of the box, between the picture and the lower labels
        else
            click(box->findChild<QWidget*>(name));
        EXPECT_FALSE(box->isVisible()) << name.toStdString();
    }

    click(ui().Command13);
    for (const char* inert : {"Image2", "Label7", "Label8"}) {
        click(box->findChild<QWidget*>(QString::fromLatin1(inert)));
        EXPECT_TRUE(box->isVisible()) << inert;
    }
    QTest::mouseClick(box->findChild<QWidget*>(QStringLiteral("Label1")), Qt::RightButton);
    EXPECT_TRUE(box->isVisible()) << "only a left click puts the box away";
}

namespace {

// Ending the program from a running session with the author box up and other windows open, and a line
// typed but not saved.
class Ending : public Office {
  protected:
    void arrangeAndEnd(const std::function<void()>& end) {
        click(ui().Command13);
        m->form2 = std::make_unique<QWidget>();
        m->form2->show();
        showSearchWindow(*m);
        showDashboard(*m);
        QPointer<QWidget> author = m->form3.get(), list = m->form2.get();
        ui().List1->addItem(QStringLiteral("2"));

        end();

        EXPECT_FALSE(editor->isVisible());
        EXPECT_FALSE(m->db.isOpen());
        for (auto* rs : {&m->rsDoc, &m->rsFacture, &m->rsDetFact, &m->rsCliEC})
            EXPECT_EQ(*rs, nullptr);
        EXPECT_TRUE(author.isNull());
        EXPECT_TRUE(list.isNull());
        EXPECT_EQ(m->form4, nullptr);
        EXPECT_EQ(m->form5, nullptr);
        EXPECT_EQ(m->searchWindow, nullptr);
        EXPECT_EQ(m->dashboardWindow, nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible()) << "no window is left: " << w->objectName().toStdString();
        EXPECT_TRUE(boxes.shown.empty()) << "nothing is asked";
        EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM DetFact")), "1") << "nothing is written";
    }
};

} // namespace

TEST_F(Ending, QuitterReleasesEverythingAndClosesEveryWindow) {
    arrangeAndEnd([this] { click(ui().Command14); });
}

TEST_F(Ending, TheCloseBoxEndsTheSameWay) {
    arrangeAndEnd([this] { editor->close(); });
}
