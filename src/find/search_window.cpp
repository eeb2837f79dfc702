#include "find/search_window.h"

#include "domain/dates.h"
#include "domain/kinds.h"
#include "editor/form1.h"
#include "editor/menu.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "find/found_documents.h"
#include "store/background_read.h"
#include "widgets/messages.h"
#include "widgets/window_keys.h"

#include <QHeaderView>
#include <QShortcut>

namespace pylon {

namespace {

constexpr int kPauseMs = 150;

const DocKind kKinds[] = {DocKind::Invoice,  DocKind::Quote,    DocKind::Order,
                          DocKind::Delivery, DocKind::MonthEnd, DocKind::CreditNote};

bool onAccount(Session& m, const QString& client) {
    RecordSet* parties = m.rsCliEC.get();
    if (!parties || !parties->FindFirst(QStringLiteral("NumCli=") + client) || parties->NoMatch())
        return false;
    const auto flag = parties->Fields(QStringLiteral("ClientC"));
    return flag && flag->toBool();
}

void giveClientToEntry(Session& m, const FoundDocument& d) {
    SearchWindow& w = searchWindow(m);
    // A credit note is the document's it is attached to, client included: the save keeps only its lines.
    if (m.currentKind() == DocKind::CreditNote) {
        MsgBox(&w, QStringLiteral("Un avoir garde le client du document auquel il est attaché."));
        return;
    }
    const QString client = d.client.toString();
    showClient(m, {client, d.name, d.address, onAccount(m, client)});
    w.hide();
    m.form1->activateWindow();
}

void showInEditor(Session& m, const FoundDocument& d) {
    if (!d.kind) {
        MsgBox(&searchWindow(m), QStringLiteral("Le document n° %1 est d'une nature que l'éditeur ne connaît "
                                                "pas (« %2 ») : il ne peut pas être affiché.")
                                     .arg(d.number)
                                     .arg(d.typeFact));
        return;
    }
    if (*d.kind != m.currentKind() && !launchKind(m, *d.kind)) return;
    RecordSet* view = m.rsDoc.get();
    const bool found =
        view && view->FindFirst(QStringLiteral("NumFact=%1").arg(d.number)) && !view->NoMatch();
    ShowCurrentDocument(m);
    m.form1->raise();
    m.form1->activateWindow();
    if (!found)
        MsgBox(m.form1,
               QStringLiteral("Le document n° %1 ne peut pas être affiché : il n'est plus dans la base "
                              "de données.")
                   .arg(d.number));
}

std::optional<QDate> readDate(const QString& text, const QString& field, QString& problem) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    const auto d = dates::parseUserDate(text);
    if (!d && problem.isEmpty())
        problem = QStringLiteral("« %1 » n'est pas une date : tapez-la jj/mm/aaaa.").arg(field);
    return d;
}

std::optional<Amount> readAmount(const QString& text, const QString& field, QString& problem) {
    if (text.trimmed().isEmpty()) return std::nullopt;
    const auto a = parseAmount(text);
    if (!a && problem.isEmpty())
        problem = QStringLiteral("« %1 » n'est pas un montant : tapez-le 1234,50.").arg(field);
    return a;
}

} // namespace

TypedCriteria readCriteria(const CriteriaTexts& t) {
    TypedCriteria out;
    SearchCriteria& c = out.criteria;
    c.client = t.client.trimmed();
    c.kind = t.kind;
    c.from = readDate(t.from, QStringLiteral("Du"), out.problem);
    c.to = readDate(t.to, QStringLiteral("au"), out.problem);
    c.minTotal = readAmount(t.minTotal, QStringLiteral("T.T.C. de"), out.problem);
    c.maxTotal = readAmount(t.maxTotal, QStringLiteral("à"), out.problem);
    return out;
}

SearchWindow::SearchWindow(Session& m)
    : QWidget(nullptr, Qt::Window), m_(m), results_(new FoundDocuments(this)) {
    ui.setupUi(this);
    ui.cboKind->addItem(QStringLiteral("Toutes"));
    for (const DocKind k : kKinds)
        ui.cboKind->addItem(k == DocKind::CreditNote ? QStringLiteral("Portant un avoir") : kindInfo(k).name,
                            static_cast<int>(k));
    ui.tblResults->setModel(results_);
    ui.tblResults->verticalHeader()->hide();
    ui.tblResults->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    layOutColumns();
    ui.tblResults->sortByColumn(FoundDocuments::Date, Qt::DescendingOrder);

    delay_.setParent(this);
    delay_.setObjectName(QStringLiteral("searchDelay"));
    delay_.setSingleShot(true);
    delay_.setInterval(kPauseMs);
    connect(&delay_, &QTimer::timeout, this, [this] { search(); });
    for (QLineEdit* field : {ui.txtClient, ui.txtDateFrom, ui.txtDateTo, ui.txtTotalMin, ui.txtTotalMax})
        connect(field, &QLineEdit::textChanged, this, [this] { criteriaEdited(); });
    connect(ui.cboKind, &QComboBox::currentIndexChanged, this, [this] { criteriaEdited(); });

    connect(ui.tblResults, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { openRow(i.row()); });
    auto* enter =
        new QShortcut(QKeySequence(Qt::Key_Return), ui.tblResults, nullptr, nullptr, Qt::WidgetShortcut);
    connect(enter, &QShortcut::activated, this, [this] { openRow(ui.tblResults->currentIndex().row()); });
    connect(ui.btnShow, &QPushButton::clicked, this,
            [this] { openRow(ui.tblResults->currentIndex().row()); });
    connect(ui.btnClose, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(*this);
    criteriaEdited();
    delay_.stop();
}

SearchWindow::~SearchWindow() = default;

// Each new result resets the table's columns: their widths are set again, the client's taking what is left.
void SearchWindow::layOutColumns() {
    QHeaderView* header = ui.tblResults->horizontalHeader();
    const int digit = fontMetrics().horizontalAdvance(u'0');
    const std::pair<int, int> widths[] = {{FoundDocuments::Number, 10},    {FoundDocuments::Date, 12},
                                          {FoundDocuments::Kind, 18},      {FoundDocuments::Total, 13},
                                          {FoundDocuments::Cancelled, 10}, {FoundDocuments::CreditNote, 8}};
    for (const auto& [column, digits] : widths) {
        header->setSectionResizeMode(column, QHeaderView::Interactive);
        header->resizeSection(column, digits * digit);
    }
    header->setSectionResizeMode(FoundDocuments::Client, QHeaderView::Stretch);
}

void SearchWindow::criteriaEdited() {
    const QVariant kind = ui.cboKind->currentData();
    typed_ = readCriteria(
        {ui.txtClient->text(),
         kind.isValid() ? std::optional<DocKind>(static_cast<DocKind>(kind.toInt())) : std::nullopt,
         ui.txtDateFrom->text(), ui.txtDateTo->text(), ui.txtTotalMin->text(), ui.txtTotalMax->text()});
    // Results of criteria no longer typed would show as if they answered these.
    pending_.reset();
    delay_.start();
}

void SearchWindow::search() {
    delay_.stop();
    pending_.reset();
    if (!m_.db.isOpen() || !m_.readsBehind()) {
        showFound(m_.db.isOpen() ? finder_.find(m_.db, typed_.criteria) : std::nullopt);
        return;
    }
    // A large file is searched on a thread: the window answers meanwhile, and the results shown stay until
    // the new ones replace them.
    if (auto answer = finder_.answerBefore(m_.db, typed_.criteria)) {
        showFound(answer);
        return;
    }
    const SearchCriteria criteria = typed_.criteria;
    auto found = std::make_shared<std::optional<SearchResult>>();
    DocumentSearch* finder = &finder_;
    pending_ = std::make_unique<BackgroundRead>(
        m_.db.path(), [finder, criteria, found](Database& db) { *found = finder->search(db, criteria); },
        [this, criteria, found] {
            const bool opened = pending_->opened();
            pending_.reset();
            // A file that could not be opened a second time is searched through the program's own.
            showFound(opened ? *found : finder_.find(m_.db, criteria));
        });
    ui.lblStatus->setText(QStringLiteral("Recherche en cours…"));
}

void SearchWindow::showFound(const std::optional<SearchResult>& found) {
    QStringList status;
    if (!typed_.problem.isEmpty()) status << typed_.problem;
    if (!found) {
        results_->setDocuments({});
        status << (m_.db.isOpen() ? QStringLiteral("La recherche n'a pas pu lire la base de données : ") +
                                        m_.db.failureText()
                                  : QStringLiteral("La base de données n'est pas ouverte."));
    } else {
        const size_t n = found->documents.size();
        results_->setDocuments(found->documents);
        layOutColumns();
        if (found->unindexed)
            status << QStringLiteral("La base de données est en cours de préparation : la recherche sera "
                                     "possible dans un moment.");
        else if (found->preparing)
            status << QStringLiteral("Les totaux des documents sont en cours de calcul : la recherche par "
                                     "montant sera possible dans un moment.");
        else if (found->more)
            status << QStringLiteral(
                          "Les %1 documents les plus récents sont affichés : précisez la recherche "
                          "pour voir les autres.")
                          .arg(n);
        else if (n == 0)
            status << QStringLiteral("Aucun document ne répond à ces critères.");
        else
            status << (n == 1 ? QStringLiteral("1 document.") : QStringLiteral("%1 documents.").arg(n));
    }
    ui.lblStatus->setText(status.join(u' '));
}

void SearchWindow::openRow(int row) {
    if (const FoundDocument* d = results_->document(row)) openFoundDocument(m_, FoundDocument(*d));
}

SearchWindow& searchWindow(Session& m) {
    if (auto* w = qobject_cast<SearchWindow*>(m.searchWindow.get())) return *w;
    auto* w = new SearchWindow(m);
    m.searchWindow.reset(w);
    return *w;
}

void showSearchWindow(Session& m) {
    SearchWindow& w = searchWindow(m);
    if (!w.isVisible() && m.form1) w.move(m.form1->frameGeometry().topLeft() + QPoint(40, 40));
    w.show();
    w.raise();
    w.activateWindow();
    w.ui.txtClient->setFocus();
    w.ui.txtClient->selectAll();
    // The file may have changed since the window was last open.
    w.search();
}

void openFoundDocument(Session& m, const FoundDocument& d) {
    if (m.editMode())
        giveClientToEntry(m, d);
    else
        showInEditor(m, d);
}

} // namespace pylon
