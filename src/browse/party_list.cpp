#include "browse/party_list.h"

#include "browse/form2.h"
#include "browse/list_rows.h"
#include "browse/list_window.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "store/background_read.h"
#include "widgets/messages.h"

namespace pylon {

void showPartyList(Session& m) {
    if (sayWhileIndexesAreMade(m)) return;
    Form2& w = listWindow(m);
    // The type column keeps its rows for when the document list comes back.
    w.ui.List4->hide();
    w.ui.Label4->hide();
    const bool suppliers = m.currentKind() == DocKind::Order;
    setListMode(m, w, suppliers ? ListMode::Suppliers : ListMode::Clients);
    setHeadings(w, QStringLiteral("Numéro:"), QStringLiteral("Nom:"), QStringLiteral("Adresse:"));

    if (m.readsBehind()) {
        auto parties = std::make_shared<std::optional<std::vector<ListedParty>>>();
        Session* mp = &m;
        fillColumnsBehind(
            w,
            std::make_unique<BackgroundRead>(
                m.db.path(), [parties, suppliers](Database& db) { *parties = listParties(db, suppliers); },
                [mp, &w, parties, suppliers] {
                    // A file that could not be opened a second time is read through the program's own.
                    if (!*parties) *parties = listParties(mp->db, suppliers);
                    setColumns(w, std::make_shared<PartyRows>(parties->value_or(std::vector<ListedParty>())),
                               3);
                }),
            3);
    } else {
        std::vector<ListedParty> parties = listParties(m.db, suppliers).value_or(std::vector<ListedParty>());
        setColumns(w, std::make_shared<PartyRows>(std::move(parties)), 3);
    }
    showListWindow(m);
}

void Command9_Click(Session& m) {
    showPartyList(m);
}

void pickClient(Session& m, int row) {
    Form2& w = listWindow(m);
    // The party as stored, so that the mark never has to be taken off the name: a name that itself ends
    // with "*" stays whole.
    const auto* rows = dynamic_cast<const PartyRows*>(w.ui.List1->rows());
    const ListedParty* party = rows ? rows->party(row) : nullptr;
    showClient(m, party ? ShownClient{party->number, party->name, party->address, party->onAccount}
                        : ShownClient{});
    w.hide();
}

} // namespace pylon
