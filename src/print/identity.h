#pragma once
// The shop's own identity, printed at the head and foot of every page: kept in Pylon.ini beside the
// database file, section [Societe], as Qt writes INI files, so that a shop can also write it by hand.
// The database file does not change for it.
#include <QString>
#include <QStringList>

namespace pylon::print {

struct Identity {
    QString name;      // nom
    QString legalForm; // forme: SARL, SA...
    QString capital;   // capital, as it is to be printed ("100 000,00 DH")
    QString address;   // adresse, several lines
    QString phone;     // telephone
    QString email;     // email
    QString ice;       // ice: the common company identifier, 15 digits
    QString taxId;     // if: identifiant fiscal
    QString rc;        // rc: registre du commerce
    QString rcCity;    // rc_ville: the court that keeps it
    QString patente;   // patente: the professional-tax number
    QString cnss;      // cnss
    QString bank;      // banque
    QString rib;       // rib
    QString logo;      // logo: a picture file, relative to the INI file's folder or absolute
    QString footer;    // pied: a free line at the foot of every page

    bool operator==(const Identity&) const = default;
};

// Pylon.ini in the folder of the database file.
QString identityFileFor(const QString& databasePath);

// What the file holds; a missing file or key reads as empty. A value with commas written by hand without
// quotes is read whole, as written; a ';' outside quotes begins a comment, as in any INI file.
Identity readIdentity(const QString& iniPath);

// Writes every key of [Societe], leaving the other sections of the file alone. False with *error when the
// file cannot be written.
bool writeIdentity(const QString& iniPath, const Identity& identity, QString* error = nullptr);

// Why the identity cannot be kept as it is, in the user's words; empty when it can.
QString identityProblem(const Identity& identity);

// The logo's full path (empty when there is none named).
QString logoPathOf(const Identity& identity, const QString& iniPath);

// The texts printed, each leaving out what is not known: never a label without its value.
// Under the name: the legal form and capital, the address lines, the telephone, the e-mail.
QStringList letterheadLines(const Identity& identity);
// At the foot: the legal identifiers on one line, then the bank, then the free footer line.
QStringList footerLines(const Identity& identity);

} // namespace pylon::print
