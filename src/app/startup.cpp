#include "app/startup.h"

#include "app/messages.h"
#include "app/module1.h"
#include "editor/form1.h"
#include "editor/show_document.h"
#include "store/schema.h"

#include <QFileInfo>

namespace pylon {

namespace {

bool openDatabase(Module1& m) {
    const QString path = m.databasePath();
    // Never create a file here: a missing database is reported, not silently replaced by an empty one.
    if (!QFileInfo::exists(path) || !m.db.open(path)) return false;
    if (!schema::ensureAdditions(m.db)) {
        m.db.close();
        return false;
    }
    return true;
}

} // namespace

void Form1_Load(Module1& m) {
    if (!openDatabase(m)) {
        MsgBox(m.form1, QStringLiteral("Base de données introuvable ou illisible :\r\n") + m.databasePath());
    } else {
        m.rsDoc = RecordSet::open(m.db, kindInfo(DocKind::Invoice).viewSql);
        m.rsFacture = RecordSet::open(m.db, QStringLiteral("Facture"));
        m.rsDetFact = RecordSet::open(m.db, QStringLiteral("DetFact"));
        m.rsClients = RecordSet::open(
            m.db, QStringLiteral(
                      "Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From CliEC INNER JOIN "
                      "Facture on CliEC.NumCli = Facture.NumCli where CliEC.Frs = false"));
        m.rsFournisseurs = RecordSet::open(
            m.db, QStringLiteral(
                      "Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From CliEC INNER JOIN "
                      "Facture on CliEC.NumCli = Facture.NumCli where CliEC.Frs = True"));
        m.rsNumeros = RecordSet::open(
            m.db, QStringLiteral("Select Distinct NumFact,DateFact,NumCli,TypeFact,Avoir From Facture"));
        m.rsCliEC = RecordSet::open(m.db, QStringLiteral("CliEC"));
        m.rsAvoir = RecordSet::open(m.db, QStringLiteral("AVOIR"));
    }
    ShowCurrentDocument(m);
}

void Form1_Activate(Module1& m) {
    if (m.rsFacture && m.rsFacture->RecordCount() == 0)
        MsgBox(m.form1, QStringLiteral("La base de données est vide."), MsgStyle::Ok,
               QStringLiteral("Message"));
}

void Form1_Unload(Module1& m) {
    for (auto* rs : {&m.rsDoc, &m.rsMonthLines, &m.rsFacture, &m.rsDetFact, &m.rsClients, &m.rsFournisseurs,
                     &m.rsNumeros, &m.rsCliEC, &m.rsAvoir, &m.rsClientDocs})
        rs->reset();
    m.db.close();
    // Every other window of the program goes with the editor.
    for (auto* w : {&m.form2, &m.form3, &m.form4, &m.form5}) {
        if (*w) (*w)->close();
        w->reset();
    }
}

} // namespace pylon
