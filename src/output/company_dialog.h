#pragma once
// "Coordonnées de la société…": the shop's identity printed on its documents, read from and written to
// Pylon.ini beside the database file. Nothing is written until the user accepts a valid identity.
#include "print/identity.h"
#include "ui_CompanyDialog.h"

#include <QDialog>

namespace pylon {

struct Session;

class CompanyDialog : public QDialog {
    Q_OBJECT
  public:
    CompanyDialog(const QString& iniPath, QWidget* parent = nullptr);
    Ui::CompanyDialog ui;

    // Checks what was typed and writes it; a problem is said in a message and the dialog stays open on the
    // field to correct.
    void accept() override;

  private:
    print::Identity typed() const;
    void chooseLogo();
    // Why the named logo cannot be printed; empty when it can (or none is named).
    QString logoProblem(const print::Identity& identity) const;

    QString iniPath_;
};

void editCompanyIdentity(Session& m);

} // namespace pylon
