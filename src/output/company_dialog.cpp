#include "output/company_dialog.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "widgets/messages.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QPushButton>

namespace pylon {

namespace {

// Each line field and the identity's text it edits.
struct Field {
    QLineEdit* Ui::CompanyDialog::*edit;
    QString print::Identity::*text;
};

const Field kFields[] = {
    {&Ui::CompanyDialog::txtNom, &print::Identity::name},
    {&Ui::CompanyDialog::txtForme, &print::Identity::legalForm},
    {&Ui::CompanyDialog::txtCapital, &print::Identity::capital},
    {&Ui::CompanyDialog::txtTelephone, &print::Identity::phone},
    {&Ui::CompanyDialog::txtEmail, &print::Identity::email},
    {&Ui::CompanyDialog::txtIce, &print::Identity::ice},
    {&Ui::CompanyDialog::txtIf, &print::Identity::taxId},
    {&Ui::CompanyDialog::txtRc, &print::Identity::rc},
    {&Ui::CompanyDialog::txtRcVille, &print::Identity::rcCity},
    {&Ui::CompanyDialog::txtPatente, &print::Identity::patente},
    {&Ui::CompanyDialog::txtCnss, &print::Identity::cnss},
    {&Ui::CompanyDialog::txtBanque, &print::Identity::bank},
    {&Ui::CompanyDialog::txtRib, &print::Identity::rib},
    {&Ui::CompanyDialog::txtLogo, &print::Identity::logo},
    {&Ui::CompanyDialog::txtPied, &print::Identity::footer},
};

} // namespace

CompanyDialog::CompanyDialog(const QString& iniPath, QWidget* parent) : QDialog(parent), iniPath_(iniPath) {
    ui.setupUi(this);
    ui.buttonBox->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Enregistrer"));
    ui.buttonBox->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    connect(ui.buttonBox, &QDialogButtonBox::accepted, this, &CompanyDialog::accept);
    connect(ui.buttonBox, &QDialogButtonBox::rejected, this, &CompanyDialog::reject);
    connect(ui.btnLogo, &QPushButton::clicked, this, &CompanyDialog::chooseLogo);
    const print::Identity id = print::readIdentity(iniPath_);
    for (const Field& f : kFields)
        (ui.*f.edit)->setText(id.*f.text);
    ui.txtAdresse->setPlainText(id.address);
}

print::Identity CompanyDialog::typed() const {
    print::Identity id;
    for (const Field& f : kFields)
        id.*f.text = (ui.*f.edit)->text().trimmed();
    id.address = ui.txtAdresse->toPlainText().trimmed();
    return id;
}

QString CompanyDialog::logoProblem(const print::Identity& identity) const {
    const QString path = print::logoPathOf(identity, iniPath_);
    if (path.isEmpty()) return {};
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        return QStringLiteral("Le fichier du logo est introuvable :\n%1").arg(shown);
    if (!QImageReader(path).canRead())
        return QStringLiteral("Le fichier du logo n'est pas une image lisible (PNG, JPEG…) :\n%1").arg(shown);
    return {};
}

void CompanyDialog::chooseLogo() {
    const QDir folder = QFileInfo(iniPath_).absoluteDir();
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("Choisir le logo"), folder.path(),
                                     QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp)"));
    if (chosen.isEmpty()) return;
    // A logo beside Pylon.ini is named relatively, so that the folder can be moved with it.
    const QString relative = folder.relativeFilePath(chosen);
    ui.txtLogo->setText(relative.startsWith(QStringLiteral("..")) ? chosen : relative);
}

void CompanyDialog::accept() {
    const print::Identity id = typed();
    if (const QString problem = print::identityProblem(id); !problem.isEmpty()) {
        MsgBox(this, problem);
        ui.txtIce->setFocus();
        ui.txtIce->selectAll();
        return;
    }
    if (const QString problem = logoProblem(id); !problem.isEmpty()) {
        MsgBox(this, problem);
        ui.txtLogo->setFocus();
        return;
    }
    QString why;
    if (!print::writeIdentity(iniPath_, id, &why)) {
        MsgBox(this, QStringLiteral("Les coordonnées n'ont pas pu être enregistrées dans :\n%1\n%2")
                         .arg(QDir::toNativeSeparators(iniPath_), why));
        return;
    }
    QDialog::accept();
}

void editCompanyIdentity(Session& m) {
    CompanyDialog dialog(print::identityFileFor(m.databasePath()), m.form1);
    dialog.exec();
}

} // namespace pylon
