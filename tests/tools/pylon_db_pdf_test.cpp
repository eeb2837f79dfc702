// pylon-db pdf: the printed page, read back from the PDF file with pdftotext.
#include "support/documents.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

namespace pylon {
namespace {

using test::pdfPages;
using test::PlantedDocument;
using test::runDbTool;
using test::TempDb;

const char* const kFullIdentity = R"([Societe]
nom=Atlas Fournitures
forme=SARL
capital=100 000,00 DH
adresse="12, rue Ibn Battouta\nQuartier Maârif"
telephone=05 22 25 30 40
email=contact@atlas.ma
ice=001234567000089
if=12345678
rc=456789
rc_ville=Casablanca
patente=34567890
cnss=1234567
banque=Banque Populaire
rib=190780212112345678000012
logo=absent.png
pied="Merci ; paiement à 30 jours."
)";

class PdfOf : public ::testing::Test {
  protected:
    void identity(const char* ini) const {
        QFile f(db.dir() + QStringLiteral("/Pylon.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ini);
    }
    // The pages of `pylon-db pdf` with these arguments after PATH; none when it fails.
    QStringList pdf(const QStringList& args, bool layout = true) const {
        const QString out = db.dir() + QStringLiteral("/out.pdf");
        QFile::remove(out);
        QString said;
        const int code =
            runDbTool(QStringList{QStringLiteral("pdf"), db.path()} + args + QStringList{out}, &said);
        EXPECT_EQ(code, 0) << said.toStdString();
        return code == 0 ? pdfPages(out, layout) : QStringList();
    }
    static bool has(const QString& page, const QString& pattern) {
        return page.contains(QRegularExpression(pattern));
    }
    TempDb db;
};

const std::vector<QStringList> kLines = {{"R1", "3", "Ramette A4", "12", "36,00"},
                                         {" ", "2,5", "Câble réseau", "4,2", "10,50"}};

struct KindCase {
    const char* stored;
    QStringList args; // after PATH: the number, or the kind and month
    const char* title;
    const char* party;
    const char* note;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.title;
}

class PrintedKind : public PdfOf, public ::testing::WithParamInterface<KindCase> {};

// Every field of the page, for each kind; the credit note shows its own lines and totals, not its invoice's.
TEST_P(PrintedKind, ShowsEveryFieldOfTheDocument) {
    const KindCase& c = GetParam();
    identity(kFullIdentity);
    const bool credit = QString::fromUtf8(c.title) == u"AVOIR";
    PlantedDocument doc{42,
                        QString::fromUtf8(c.stored),
                        QStringLiteral("2026-11-05"),
                        9,
                        QStringLiteral("Société Alami"),
                        QStringLiteral("7, bd Zerktouni\nCasablanca"),
                        false,
                        kLines,
                        {}};
    if (credit) {
        doc.creditLines = kLines;
        doc.lines = {{"X", "1", "Ligne de la facture", "999,00", "999,00"}};
    }
    ASSERT_TRUE(plant(db, doc));
    const QStringList pages = pdf(c.args);
    ASSERT_EQ(pages.size(), 1);
    const QString& p = pages[0];
    for (const char* pattern : {"Atlas Fournitures",
                                "SARL au capital de 100 000,00 DH",
                                "12, rue Ibn Battouta",
                                "Quartier Maârif",
                                "Tél\\. : 05 22 25 30 40",
                                "E-mail : contact@atlas\\.ma",
                                "ICE : 001234567000089 – IF : 12345678 – RC : 456789 \\(Casablanca\\) – "
                                "Patente : 34567890 – CNSS : 1234567",
                                "Banque : Banque Populaire – RIB : 190780212112345678000012",
                                "Merci ; paiement à 30 jours\\.",
                                "N° 42",
                                "Date : 05/11/2026",
                                "Société Alami",
                                "7, bd Zerktouni",
                                "Casablanca",
                                "N\\.B\\.\\s+QTE\\s+Designation\\s+P\\.U\\. H\\.T\\s+Montant H\\.T",
                                "R1\\s+3\\s+Ramette A4\\s+12,00\\s+36,00",
                                "\\n\\s+2,5\\s+Câble réseau\\s+4,20\\s+10,50",
                                "TOTAL H\\.T :\\s+46,50",
                                "T\\.V\\.A\\. 20% :\\s+9,30",
                                "TOTAL T\\.T\\.C :\\s+55,80",
                                "Arrêtée la présente facture à la somme de :",
                                "Cinquante cinq dirhams",
                                "Et Quatre-vingt centimes\\.",
                                "Page 1 / 1"})
        EXPECT_TRUE(has(p, QString::fromUtf8(pattern))) << pattern << "\n" << p.toStdString();
    EXPECT_TRUE(has(p, QStringLiteral("\\b%1\\b").arg(QString::fromUtf8(c.title)))) << p.toStdString();
    EXPECT_TRUE(has(p, QStringLiteral("%1 n° 9").arg(QString::fromUtf8(c.party)))) << p.toStdString();
    if (*c.note)
        EXPECT_TRUE(has(p, QString::fromUtf8(c.note))) << p.toStdString();
    else
        EXPECT_FALSE(p.contains("avoir", Qt::CaseInsensitive)) << p.toStdString();
    EXPECT_FALSE(p.contains(QStringLiteral("Ligne de la facture")));
}

INSTANTIATE_TEST_SUITE_P(Kinds, PrintedKind,
                         ::testing::Values(KindCase{"Facture", {"42"}, "FACTURE", "Client", ""},
                                           KindCase{"Devis", {"42"}, "DEVIS", "Client", ""},
                                           KindCase{"BC", {"42"}, "BON DE COMMANDE", "Fournisseur", ""},
                                           KindCase{"BL", {"42"}, "BON DE LIVRAISON", "Client", ""},
                                           KindCase{"Facture M", {"42"}, "FACTURE DU MOIS", "Client", ""},
                                           KindCase{"Facture",
                                                    {"--kind", "Avoir", "--month", "2026-11"},
                                                    "AVOIR",
                                                    "Client",
                                                    "Avoir de la facture n° 42 du 05/11/2026\\."}),
                         [](const auto& info) { return std::to_string(info.index); });

// The same invoice in its own kind: its own lines, and a word of the credit note attached.
TEST_F(PdfOf, AnInvoiceWithACreditNoteSaysSoInItsOwnKind) {
    ASSERT_TRUE(plant(
        db,
        {5, "Facture", "2026-11-05", 7, "A", "a", false, kLines, {{"C", "1", "Retour", "1,00", "1,00"}}}));
    const QStringList pages = pdf({"5"});
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Un avoir est attaché à cette facture.")) << pages[0].toStdString();
    EXPECT_TRUE(pages[0].contains("Ramette A4"));
    EXPECT_FALSE(pages[0].contains("Retour"));
}

TEST_F(PdfOf, ACancelledDocumentIsStampedAcrossEveryPage) {
    ASSERT_TRUE(plant(db, {5, "Facture", "2026-11-05", 7, "A", "a", true, test::manyLines(70), {}}));
    ASSERT_TRUE(plant(db, {6, "Facture", "2026-11-06", 7, "A", "a", false, kLines, {}}));
    const QStringList cancelled = pdf({"5"}, false), sound = pdf({"6"}, false);
    ASSERT_EQ(cancelled.size(), 2);
    for (const QString& page : cancelled)
        EXPECT_EQ(page.count(QStringLiteral("ANNULÉE")), 1) << page.toStdString();
    ASSERT_EQ(sound.size(), 1);
    EXPECT_FALSE(sound[0].contains(QStringLiteral("ANNULÉE")));
}

// Page after page: the table's header and the page number on each, every line once and whole, the
// totals once, on the last page.
TEST_F(PdfOf, AMonthEndInvoiceOfTwoThousandLinesRunsOverPages) {
    ASSERT_TRUE(
        plant(db, {42, "Facture M", "2026-11-30", 7, "Client", "Rue", false, test::manyLines(2000), {}}));
    const QStringList pages = pdf({"42"});
    ASSERT_GE(pages.size(), 30);
    const QRegularExpression line(QStringLiteral("R(\\d+)\\s+2\\s+Article (\\d+)\\s+12,50\\s+25,00"));
    int expected = 1, totals = 0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i + 1);
        const QString& page = pages[i];
        EXPECT_TRUE(page.contains(QStringLiteral("Page %1 / %2").arg(i + 1).arg(pages.size())));
        EXPECT_TRUE(page.contains(i == 0 ? QStringLiteral("FACTURE DU MOIS") : QStringLiteral("(suite)")));
        const bool hasLines = page.contains(line);
        EXPECT_TRUE(hasLines || i + 1 == pages.size());
        EXPECT_EQ(page.contains(QStringLiteral("Designation")), hasLines);
        for (auto it = line.globalMatch(page); it.hasNext();) {
            const auto m = it.next();
            EXPECT_EQ(m.captured(1).toInt(), expected);
            EXPECT_EQ(m.captured(2).toInt(), expected++);
        }
        totals += int(page.count(QStringLiteral("TOTAL T.T.C")));
    }
    EXPECT_EQ(expected, 2001);
    EXPECT_EQ(totals, 1);
    EXPECT_TRUE(pages.last().contains(QRegularExpression(QStringLiteral("TOTAL T\\.T\\.C :\\s+60000,00"))));
}

// A head taller than usual — an address of sixty lines pasted into the client's, or into the shop's
// letterhead — never pushes a line off the page: every line is printed once, in order, and the totals once.
struct TallHead {
    const char* name;
    bool clientAddress; // else the letterhead's
    int lines;
};

class PrintedUnderATallHead : public PdfOf, public ::testing::WithParamInterface<TallHead> {};

TEST_P(PrintedUnderATallHead, PrintsEveryLine) {
    QStringList address;
    for (int i = 1; i <= 60; ++i)
        address << QStringLiteral("Adresse ligne %1").arg(i);
    if (!GetParam().clientAddress)
        identity(QStringLiteral("[Societe]\nnom=Atlas\nadresse=%1\n")
                     .arg(address.join(QStringLiteral("\\n")))
                     .toUtf8()
                     .constData());
    ASSERT_TRUE(plant(db, {42,
                           "Facture",
                           "2026-11-30",
                           7,
                           "Client",
                           GetParam().clientAddress ? address.join(u'\n') : QStringLiteral("Rue"),
                           false,
                           test::manyLines(GetParam().lines),
                           {}}));
    const QStringList pages = pdf({"42"});
    ASSERT_FALSE(pages.isEmpty());
    const QRegularExpression line(QStringLiteral("R(\\d+)\\s+2\\s+Article (\\d+)\\s+12,50\\s+25,00"));
    int expected = 1;
    for (const QString& page : pages)
        for (auto it = line.globalMatch(page); it.hasNext();) {
            const auto m = it.next();
            EXPECT_EQ(m.captured(1).toInt(), expected);
            EXPECT_EQ(m.captured(2).toInt(), expected++);
        }
    EXPECT_EQ(expected, GetParam().lines + 1) << pages.join(QStringLiteral("\n---\n")).toStdString();
    EXPECT_EQ(pages.join(QString()).count(QStringLiteral("TOTAL T.T.C")), 1);
    EXPECT_TRUE(pages.last().contains(QStringLiteral("Page %1 / %1").arg(pages.size())));
    if (GetParam().clientAddress) {
        EXPECT_TRUE(pages[0].contains(QStringLiteral("Adresse ligne 9")));
        EXPECT_TRUE(pages[0].contains(QStringLiteral("Adresse ligne 10 …"))) << pages[0].toStdString();
        EXPECT_FALSE(pages[0].contains(QStringLiteral("Adresse ligne 11")));
    }
}

INSTANTIATE_TEST_SUITE_P(Heads, PrintedUnderATallHead,
                         ::testing::Values(TallHead{"ClientAddressOneLine", true, 1},
                                           TallHead{"ClientAddressManyLines", true, 80},
                                           TallHead{"LetterheadOneLine", false, 1},
                                           TallHead{"LetterheadManyLines", false, 80}),
                         [](const auto& info) { return std::string(info.param.name); });

// A month of one kind in one file, each document from a page of its own.
TEST_F(PdfOf, AMonthOfInvoicesInOneFile) {
    for (const PlantedDocument& d :
         {PlantedDocument{5, "Facture", "2026-11-01", 7, "Premier", "a", false, kLines, {}},
          PlantedDocument{6, "BL", "2026-11-02", 7, "Livré", "a", false, kLines, {}},
          PlantedDocument{7, "Facture", "2026-11-30", 8, "Second", "a", false, kLines, {}},
          PlantedDocument{8, "Facture", "2026-12-01", 8, "Suivant", "a", false, kLines, {}}})
        ASSERT_TRUE(plant(db, d));
    const QStringList pages = pdf({"--kind", "Facture", "--month", "2026-11"});
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("Premier") && pages[0].contains("Page 1 / 1"));
    EXPECT_TRUE(pages[1].contains("Second") && pages[1].contains("Page 1 / 1"));
    QString said;
    EXPECT_EQ(
        runDbTool({"pdf", db.path(), "--kind", "Devis", "--month", "2026-11", db.dir() + "/none.pdf"}, &said),
        1);
    EXPECT_TRUE(said.contains("holds no Devis dated 2026-11")) << said.toStdString();
    EXPECT_EQ(runDbTool({"pdf", db.path(), "99", db.dir() + "/none.pdf"}, &said), 1);
    EXPECT_TRUE(said.contains("holds no document 99")) << said.toStdString();
    EXPECT_FALSE(QFile::exists(db.dir() + "/none.pdf"));
}

// The identity prints what it has and never a label without its value; a logo that is not there is left
// out without a word.
struct IdentityCase {
    const char* ini; // nullptr: no Pylon.ini at all
    QStringList printed, absent;
};

class PrintedIdentity : public PdfOf, public ::testing::WithParamInterface<IdentityCase> {};

TEST_P(PrintedIdentity, PrintsWhatItHas) {
    if (GetParam().ini) identity(GetParam().ini);
    ASSERT_TRUE(plant(db, {5, "Facture", "2026-11-05", 7, "A", "a", false, kLines, {}}));
    const QStringList pages = pdf({"5"});
    ASSERT_EQ(pages.size(), 1);
    for (const QString& text : GetParam().printed)
        EXPECT_TRUE(pages[0].contains(text)) << text.toStdString() << "\n" << pages[0].toStdString();
    for (const QString& text : GetParam().absent + QStringList{"ICE :  ", " : \n", "– \n", ":  –"})
        EXPECT_FALSE(pages[0].contains(text)) << text.toStdString() << "\n" << pages[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Identities, PrintedIdentity,
    ::testing::Values(
        IdentityCase{nullptr, {"FACTURE", "Page 1 / 1"}, {"ICE", "IF :", "RC", "Tél.", "Banque", "capital"}},
        IdentityCase{"[Societe]\nnom=Atlas\nice=\nrc_ville=Rabat\ncapital=5 000,00 DH\n",
                     {"Atlas", "Capital : 5 000,00 DH"},
                     {"ICE", "RC", "Rabat", "au capital"}},
        IdentityCase{"[Societe]\nnom=Atlas\nlogo=absent.png\nrib=123\nif=99\n",
                     {"Atlas", "IF : 99", "RIB : 123"},
                     {"Banque :", "absent.png"}},
        IdentityCase{"[Societe]\nlogo=Pylon.ini\nadresse=Rue 1, Tanger\n", {"Rue 1, Tanger"}, {}}),
    [](const auto& info) { return std::to_string(info.index); });

} // namespace
} // namespace pylon
