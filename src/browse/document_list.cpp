#include "browse/document_list.h"

#include "browse/form2.h"
#include "browse/list_window.h"
#include "editor/session.h"

#include <array>

namespace pylon {

namespace {

// Positions of the fields in the list of document headers.
constexpr int kNumFact = 0, kDateFact = 1, kNumCli = 2, kTypeFact = 3, kAvoir = 4;

// What the type column says for the header row the record set stands on, or nullopt when the row is
// not of the kind. The credit notes are told by their flag, every other kind by its stored type alone
// (an invoice that carries a credit note is still an invoice).
std::optional<QString> typeText(DocKind kind, RecordSet& rs) {
    if (kind == DocKind::CreditNote) {
        const auto flag = rs.Fields(kAvoir);
        return flag && flag->toBool() ? std::optional<QString>(QStringLiteral("AVOIR")) : std::nullopt;
    }
    const QString type = columnText(rs.Fields(kTypeFact));
    if (type != kindInfo(kind).stored) return std::nullopt;
    return kind == DocKind::MonthEnd ? QStringLiteral("Facture du mois") : type;
}

// The four columns of the listed rows. The walk counts the rows rather than watching for the end of
// the set, and every listed row gives one text to each column, an empty one for a missing value, so
// that the columns stay in step.
std::array<QStringList, 4> documentRows(Session& m) {
    std::array<QStringList, 4> columns;
    RecordSet* rs = m.rsNumeros.get();
    if (!rs) return columns;
    rs->MoveLast();
    rs->MoveFirst();
    const long count = rs->RecordCount();
    for (QStringList& c : columns)
        c.reserve(count);
    const DocKind kind = m.currentKind();
    for (long i = 0; i < count; ++i) {
        if (const auto type = typeText(kind, *rs)) {
            columns[0] << columnText(rs->Fields(kNumFact));
            columns[1] << columnText(rs->Fields(kDateFact));
            columns[2] << columnText(rs->Fields(kNumCli));
            columns[3] << *type;
        }
        rs->MoveNext();
    }
    return columns;
}

} // namespace

void showDocumentList(Session& m) {
    Form2& w = listWindow(m);
    w.ui.List4->show();
    w.ui.Label4->show();
    // Every kind goes under the same caption: it is what a double-click goes by, and only the type column
    // tells the kinds apart.
    setListMode(m, w, ListMode::Documents);
    setHeadings(w, QStringLiteral("Numéro:"), QStringLiteral("Date:"), QStringLiteral("Client N°:"));
    const auto rows = documentRows(m);
    const auto columns = w.columns();
    for (size_t c = 0; c < columns.size(); ++c)
        setColumn(columns[c], rows[c]);
    showListWindow(m);
}

void Command7_Click(Session& m) {
    showDocumentList(m);
}

} // namespace pylon
