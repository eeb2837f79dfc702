#include "browse/party_list.h"

#include "browse/form2.h"
#include "browse/list_window.h"
#include "editor/form1.h"
#include "editor/session.h"

#include <QRegularExpression>
#include <QSignalBlocker>
#include <vector>

namespace pylon {

namespace {

// The name column shows a mark after the name of a client on account. The name and the flag are also
// kept apart in the row, so that a pick never has to take the mark off the text: a name that itself
// ends with "*" stays whole.
constexpr int kPlainNameRole = Qt::UserRole;
constexpr int kOnAccountRole = Qt::UserRole + 1;
// The address column shows an address on one line; the row keeps it as it was written.
constexpr int kAddressRole = Qt::UserRole;

const QString kOnAccountMark = QStringLiteral(" *");

struct Party {
    QString number, name, address;
    bool onAccount = false;
};

bool onAccount(Session& m, const QString& number) {
    RecordSet* cliEC = m.rsCliEC.get();
    if (!cliEC || !cliEC->FindFirst(QStringLiteral("NumCli=") + number) || cliEC->NoMatch()) return false;
    const auto flag = cliEC->Fields(QStringLiteral("ClientC"));
    return flag && flag->toBool();
}

std::vector<Party> parties(Session& m, RecordSet* rs) {
    std::vector<Party> out;
    if (!rs) return out;
    rs->MoveLast();
    rs->MoveFirst();
    const long count = rs->RecordCount();
    out.reserve(size_t(count));
    for (long i = 0; i < count; ++i) {
        Party p{columnText(rs->Fields(0)), columnText(rs->Fields(1)), columnText(rs->Fields(2))};
        p.onAccount = onAccount(m, p.number);
        out.push_back(std::move(p));
        rs->MoveNext();
    }
    return out;
}

QString oneLine(const QString& address) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = address.split(lineBreak, Qt::SkipEmptyParts);
    for (QString& l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    return lines.join(QStringLiteral(", "));
}

} // namespace

void showPartyList(Session& m) {
    Form2& w = listWindow(m);
    // The type column keeps its rows for when the document list comes back.
    w.ui.List4->hide();
    w.ui.Label4->hide();
    const bool suppliers = m.currentKind() == DocKind::Order;
    setListMode(m, w, suppliers ? ListMode::Suppliers : ListMode::Clients);
    setHeadings(w, QStringLiteral("Numéro:"), QStringLiteral("Nom:"), QStringLiteral("Adresse:"));

    const std::vector<Party> rows = parties(m, suppliers ? m.rsFournisseurs.get() : m.rsClients.get());
    QStringList numbers, names, addresses;
    for (const Party& p : rows) {
        numbers << p.number;
        names << (p.onAccount ? p.name + kOnAccountMark : p.name);
        addresses << oneLine(p.address);
    }
    setColumn(w.ui.List1, numbers);
    setColumn(w.ui.List2, names);
    setColumn(w.ui.List3, addresses);
    const QSignalBlocker quietNames(w.ui.List2), quietAddresses(w.ui.List3);
    for (int i = 0; i < int(rows.size()); ++i) {
        QListWidgetItem* name = w.ui.List2->item(i);
        QListWidgetItem* address = w.ui.List3->item(i);
        name->setData(kPlainNameRole, rows[size_t(i)].name);
        name->setData(kOnAccountRole, rows[size_t(i)].onAccount);
        address->setData(kAddressRole, rows[size_t(i)].address);
        // The columns have no sideways scrolling, which would shorten one of them and put its rows out of
        // step with the others: a long name or address is cut at the column's edge and read whole here.
        name->setToolTip(name->text());
        address->setToolTip(rows[size_t(i)].address);
    }
    showListWindow(m);
}

void Command9_Click(Session& m) {
    showPartyList(m);
}

void pickClient(Session& m, int row) {
    Form2& w = listWindow(m);
    Ui::Form1& ui = m.form1->ui;
    const QListWidgetItem* number = w.ui.List1->item(row);
    const QListWidgetItem* name = w.ui.List2->item(row);
    const QListWidgetItem* address = w.ui.List3->item(row);
    ui.txtNumCli->setText(number ? number->text() : QString());
    ui.txtAdrCli->setPlainText(address ? address->data(kAddressRole).toString() : QString());
    ui.Check1->setChecked(name && name->data(kOnAccountRole).toBool());
    ui.txtNomCli->setText(name ? name->data(kPlainNameRole).toString() : QString());
    w.hide();
}

} // namespace pylon
