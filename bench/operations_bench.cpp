// The month-end invoice and the deletion on a copy of the demo database, through the
// editor's handlers, every box answered the moment it shows.
#include "app/startup.h"
#include "app/wiring.h"
#include "commands/deletion.h"
#include "commands/month_end.h"
#include "domain/dates.h"
#include "editor/show_document.h"
#include "module/month_end_store.h"
#include "support.h"

#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Accepts every input box with its proposed text and answers Yes (or OK) to every message box.
class AnswerAtOnce : public QObject {
  public:
    AnswerAtOnce() { qApp->installEventFilter(this); }
    ~AnswerAtOnce() override { qApp->removeEventFilter(this); }
    int boxes = 0;

  protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show) return false;
        if (auto* input = qobject_cast<QInputDialog*>(o)) {
            ++boxes;
            QMetaObject::invokeMethod(input, &QDialog::accept, Qt::QueuedConnection);
        } else if (auto* box = qobject_cast<QMessageBox*>(o)) {
            ++boxes;
            QMetaObject::invokeMethod(
                box,
                [box] {
                    if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                        yes->click();
                    else
                        box->accept();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

// These commands write: they work on a copy, so that the shared demo file stays as it was made.
struct EditorOnCopy {
    explicit EditorOnCopy(int documents)
        : dir(QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/scratch-XXXXXX")),
          m(std::make_unique<pylon::Session>()) {
        const QString source = pylon::bench::demoFolder(documents) + QStringLiteral("/VelD");
        pylon::bench::copyDatabase(source, dir.filePath(QStringLiteral("VelD")));
        m->appPath = dir.path();
        form = std::make_unique<pylon::Form1>(*m);
        pylon::wireEditor(*m);
        pylon::Form1_Load(*m);
        m->damageCheck.reset(); // measured on its own, see BM_DamageCheck
    }
    ~EditorOnCopy() { form->close(); }
    QTemporaryDir dir;
    std::unique_ptr<pylon::Session> m;
    std::unique_ptr<pylon::Form1> form;
};

// Three prompts answered with what they propose: the next number, the end of the month of the document
// on screen and its client; then the lines gathered, the document written and the first invoice shown
// again.
void BM_MonthEndInvoice(benchmark::State& state) {
    EditorOnCopy e(int(state.range(0)));
    AnswerAtOnce answers;
    // What each round gathers: the lines of the month and client of the document on screen, shown again
    // after every round.
    Ui::Form1& ui = pylon::Form1TestAccess::ui(*e.form);
    const auto shown = pylon::dates::parseUserDate(ui.txtDateFact->text());
    const auto gathered = shown ? pylon::month_end::gatherLines(e.m->db, ui.txtNumCli->text().toInt(),
                                                                shown->year(), shown->month())
                                : std::nullopt;
    for (auto _ : state)
        pylon::Command16_Click(*e.m);
    state.counters["lines"] = double(gathered ? gathered->size() : 0);
    state.counters["boxes"] = double(answers.boxes) / double(state.iterations());
}

// The part of the run that depends on the data: the client's lines of the month read, then written as a
// new document, without the questions and the redisplay around them.
void BM_MonthEndGatherAndWrite(benchmark::State& state) {
    EditorOnCopy e(int(state.range(0)));
    Ui::Form1& ui = pylon::Form1TestAccess::ui(*e.form);
    const QDate shown = pylon::dates::parseUserDate(ui.txtDateFact->text()).value_or(QDate(2020, 1, 31));
    pylon::month_end::NewInvoice doc{
        int(e.m->db.scalar(QStringLiteral("SELECT max(NumFact) FROM Facture")).toLongLong()),
        shown,
        ui.txtNumCli->text().toInt(),
        ui.txtNomCli->text(),
        ui.txtAdrCli->toPlainText(),
        true};
    size_t lines = 0;
    for (auto _ : state) {
        ++doc.number;
        const auto gathered = pylon::month_end::gatherLines(e.m->db, doc.client, shown.year(), shown.month());
        if (!gathered || !pylon::month_end::writeInvoice(e.m->db, doc, *gathered).isDone()) {
            state.SkipWithError("the month-end invoice was not written");
            break;
        }
        lines = gathered->size();
    }
    state.counters["lines"] = double(lines);
}

// The last invoice deleted, with its lines and, when it was the client's last document, the client's row;
// the editor then shows the new last invoice, which the next round deletes.
void BM_DeleteDocument(benchmark::State& state) {
    EditorOnCopy e(int(state.range(0)));
    AnswerAtOnce answers;
    e.m->rsDoc->MoveLast();
    pylon::ShowCurrentDocument(*e.m);
    for (auto _ : state)
        pylon::Command8_Click(*e.m);
    state.counters["boxes"] = double(answers.boxes) / double(state.iterations());
}

BENCHMARK(BM_MonthEndInvoice)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_MonthEndGatherAndWrite)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_DeleteDocument)->Apply(pylon::bench::atBothSizes);

} // namespace
