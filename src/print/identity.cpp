#include "print/identity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

namespace pylon::print {

namespace {

struct Key {
    const char* name;
    QString Identity::*field;
};

const Key kKeys[] = {
    {"nom", &Identity::name},        {"forme", &Identity::legalForm}, {"capital", &Identity::capital},
    {"adresse", &Identity::address}, {"telephone", &Identity::phone}, {"email", &Identity::email},
    {"ice", &Identity::ice},         {"if", &Identity::taxId},        {"rc", &Identity::rc},
    {"rc_ville", &Identity::rcCity}, {"patente", &Identity::patente}, {"cnss", &Identity::cnss},
    {"banque", &Identity::bank},     {"rib", &Identity::rib},         {"logo", &Identity::logo},
    {"pied", &Identity::footer},
};

const QString kGroup = QStringLiteral("Societe");
const QString kSeparator = QStringLiteral(" – ");

// "Label : value", or nothing when the value is unknown.
void addLabelled(QStringList& parts, const char* label, const QString& value) {
    if (!value.isEmpty()) parts << QStringLiteral("%1 : %2").arg(QString::fromUtf8(label), value);
}

// The text after "key=" in [Societe] as written, for a value Qt split at its commas: the spaces around
// them are lost by then ("100 000,00 DH" would come back as "100 000, 00 DH"). Read the way Qt reads a
// value otherwise: a ';' outside quotes begins a comment, quotes are dropped, \n is a line break.
QString writtenValue(const QString& iniPath, const QString& key) {
    QFile file(iniPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    bool inGroup = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('['))) inGroup = t == QLatin1Char('[') + kGroup + QLatin1Char(']');
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (!inGroup || eq < 0 || t.left(eq).trimmed() != key) continue;
        QString value;
        bool quoted = false;
        const QString raw = t.mid(eq + 1);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            const QChar ch = raw[i];
            if (ch == QLatin1Char('"')) {
                quoted = !quoted;
            } else if (ch == QLatin1Char(';') && !quoted) {
                break;
            } else if (ch == QLatin1Char('\\') && i + 1 < raw.size()) {
                const QChar next = raw[++i];
                value += next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                         : next == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                                                    : next;
            } else {
                value += ch;
            }
        }
        return value;
    }
    return {};
}

} // namespace

QString identityFileFor(const QString& databasePath) {
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("Pylon.ini"));
}

Identity readIdentity(const QString& iniPath) {
    Identity id;
    if (!QFileInfo::exists(iniPath)) return id;
    QSettings s(iniPath, QSettings::IniFormat);
    s.beginGroup(kGroup);
    for (const Key& k : kKeys) {
        const QString key = QString::fromLatin1(k.name);
        const QVariant v = s.value(key);
        // A value written by hand with a comma and no quotes reads as a list: it is taken as written.
        const QString text = v.typeId() == QMetaType::QStringList ? writtenValue(iniPath, key) : v.toString();
        id.*k.field = text.trimmed();
    }
    return id;
}

bool writeIdentity(const QString& iniPath, const Identity& identity, QString* error) {
    QSettings s(iniPath, QSettings::IniFormat);
    s.beginGroup(kGroup);
    for (const Key& k : kKeys)
        s.setValue(QString::fromLatin1(k.name), (identity.*k.field).trimmed());
    s.endGroup();
    s.sync();
    if (s.status() == QSettings::NoError) return true;
    if (error)
        *error = s.status() == QSettings::AccessError
                     ? QStringLiteral("Le fichier ne peut pas être écrit : vérifiez les droits du dossier.")
                     : QStringLiteral("Le fichier existant n'est pas un fichier de réglages lisible.");
    return false;
}

QString identityProblem(const Identity& identity) {
    static const QRegularExpression fifteenDigits(QStringLiteral("^\\d{15}$"));
    QString ice = identity.ice;
    ice.remove(QLatin1Char(' '));
    if (!ice.isEmpty() && !fifteenDigits.match(ice).hasMatch())
        return QStringLiteral("L'ICE doit compter exactement 15 chiffres (%1 saisi%2).")
            .arg(ice.size())
            .arg(ice.size() > 1 ? QStringLiteral("s") : QString());
    return {};
}

QString logoPathOf(const Identity& identity, const QString& iniPath) {
    if (identity.logo.isEmpty()) return {};
    return QFileInfo(iniPath).absoluteDir().absoluteFilePath(identity.logo);
}

QStringList letterheadLines(const Identity& id) {
    QStringList lines;
    if (!id.legalForm.isEmpty() && !id.capital.isEmpty())
        lines << QStringLiteral("%1 au capital de %2").arg(id.legalForm, id.capital);
    else if (!id.legalForm.isEmpty())
        lines << id.legalForm;
    else if (!id.capital.isEmpty())
        lines << QStringLiteral("Capital : %1").arg(id.capital);
    for (const QString& line : id.address.split(QLatin1Char('\n')))
        if (!line.trimmed().isEmpty()) lines << line.trimmed();
    addLabelled(lines, "Tél.", id.phone);
    addLabelled(lines, "E-mail", id.email);
    return lines;
}

QStringList footerLines(const Identity& id) {
    QStringList lines, legal, bank;
    addLabelled(legal, "ICE", id.ice);
    addLabelled(legal, "IF", id.taxId);
    // The city only says which court keeps the number: alone it means nothing.
    if (!id.rc.isEmpty())
        addLabelled(legal, "RC",
                    id.rcCity.isEmpty() ? id.rc : QStringLiteral("%1 (%2)").arg(id.rc, id.rcCity));
    addLabelled(legal, "Patente", id.patente);
    addLabelled(legal, "CNSS", id.cnss);
    addLabelled(bank, "Banque", id.bank);
    addLabelled(bank, "RIB", id.rib);
    for (const QStringList& parts : {legal, bank})
        if (!parts.isEmpty()) lines << parts.join(kSeparator);
    if (!id.footer.isEmpty()) lines << id.footer;
    return lines;
}

} // namespace pylon::print
