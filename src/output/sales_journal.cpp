#include "output/sales_journal.h"

#include "output/day_field.h"
#include "output/save_path.h"

#include "domain/dates.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "figures/sales_ledger.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QPushButton>
#include <QSaveFile>

namespace pylon {

namespace {

DayField* dateField(QWidget* parent, const char* name, const QDate& day) {
    auto* field = new DayField(day, parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

// The period and nothing else: the ledger itself is read from the file once the period is chosen.
class JournalDialog : public QDialog {
  public:
    JournalDialog(Session& m, QWidget* parent) : QDialog(parent), m_(m) {
        setObjectName(QStringLiteral("journalDialog"));
        setWindowTitle(QStringLiteral("Journal des ventes"));
        setAttribute(Qt::WA_DeleteOnClose);
        const QDate firstOfMonth = QDate::currentDate().addDays(1 - QDate::currentDate().day());
        from_ = dateField(this, "dateFrom", firstOfMonth.addMonths(-1));
        to_ = dateField(this, "dateTo", firstOfMonth.addDays(-1));
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* save = buttons->addButton(QStringLiteral("Enregistrer…"), QDialogButtonBox::AcceptRole);
        save->setObjectName(QStringLiteral("saveJournal"));
        buttons->addButton(QStringLiteral("Annuler"), QDialogButtonBox::RejectRole)
            ->setObjectName(QStringLiteral("cancelJournal"));
        connect(buttons, &QDialogButtonBox::accepted, this, &JournalDialog::save);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* form = new QFormLayout(this);
        form->addRow(QStringLiteral("Du :"), from_);
        form->addRow(QStringLiteral("Au :"), to_);
        form->addRow(buttons);
    }

  private:
    // The date the field says; a message, and the cursor on the field, when it says none.
    std::optional<QDate> dateIn(DayField* field, const QString& which) {
        if (const auto day = field->typedDate()) return day;
        MsgBox(this,
               QStringLiteral("La date %1 « %2 » n'est pas une date valide.\r\nTapez-la jour/mois/année, "
                              "par exemple 01/06/2026.")
                   .arg(which, field->text().trimmed()));
        field->setFocus();
        field->selectAll();
        return std::nullopt;
    }

    void save() {
        const auto typedFrom = dateIn(from_, QStringLiteral("de début"));
        if (!typedFrom) return;
        const auto typedTo = dateIn(to_, QStringLiteral("de fin"));
        if (!typedTo) return;
        const QDate from = *typedFrom;
        const QDate to = *typedTo;
        if (from > to) {
            MsgBox(this, QStringLiteral("La date de début doit précéder la date de fin."));
            from_->setFocus();
            return;
        }
        const QString proposed =
            QDir(documentsFolder())
                .filePath(QStringLiteral("Journal des ventes %1 au %2.csv")
                              .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
        const QString path = askSavePath(this, QStringLiteral("Enregistrer le journal des ventes"), proposed,
                                         QStringLiteral("Fichiers CSV (*.csv)"));
        if (path.isEmpty()) return;
        if (writeSalesJournal(m_, from, to, path)) accept();
    }

    Session& m_;
    DayField* from_;
    DayField* to_;
};

} // namespace

void showSalesJournal(Session& m) {
    auto* dialog = new JournalDialog(m, m.form1);
    dialog->open();
}

bool writeSalesJournal(Session& m, const QDate& from, const QDate& to, const QString& path) {
    QWidget* parent = m.form1 ? m.form1->window() : nullptr;
    if (QWidget* modal = QApplication::activeModalWidget()) parent = modal;
    const QString shown = QStringLiteral("« %1 »").arg(QDir::toNativeSeparators(path));
    QString why;
    const auto ledger = m.db.isOpen() ? readSalesLedger(m.db, from, to, &why) : std::nullopt;
    if (!ledger) {
        MsgBox(parent,
               QStringLiteral("Le journal des ventes n'a pas pu être lu dans la base de données : %1")
                   .arg(m.db.isOpen() ? m.db.failureText() : QStringLiteral("elle n'est pas ouverte.")));
        return false;
    }
    const QByteArray text = salesLedgerCsv(*ledger);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        MsgBox(parent,
               QStringLiteral("Le journal des ventes n'a pas pu être enregistré dans le fichier %1 :\r\n%2")
                   .arg(shown, out.errorString()));
        return false;
    }
    MsgBox(parent, QStringLiteral("Le journal des ventes du %1 au %2 est enregistré dans le fichier %3.")
                       .arg(dates::toScreen(from), dates::toScreen(to), shown));
    return true;
}

} // namespace pylon
