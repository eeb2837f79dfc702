#include "command_line.h"

#include "domain/kinds.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <vector>

namespace pylon::dbtool {

namespace {

struct Verb {
    const char* name;
    Action action;
    int least, most; // arguments that are not options
    const char* needs;
};

const Verb kVerbs[] = {
    {"init", Action::Init, 1, 1, "a PATH"},
    {"demo", Action::Demo, 1, 1, "a PATH"},
    {"check", Action::Check, 1, 1, "a PATH"},
    {"dump", Action::Dump, 1, 1, "a PATH"},
    {"backup", Action::Backup, 1, 2, "a PATH"},
    {"restore", Action::Restore, 2, 2, "a BACKUP and a PATH"},
    {"export", Action::Export, 1, 1, "a PATH"},
    {"import", Action::Import, 2, 2, "a DIR and a PATH"},
    {"journal", Action::Journal, 1, 1, "a PATH"},
    // Its arguments are sorted out by takePdfArguments.
    {"pdf", Action::Pdf, 0, 3, ""},
};

// The options each command takes; a flag has no value.
struct Option {
    Action action;
    const char* name;
    bool flag;
};

const Option kOptions[] = {
    {Action::Demo, "--documents", false}, {Action::Demo, "--seed", false},
    {Action::Restore, "--force", true},   {Action::Export, "--csv", false},
    {Action::Journal, "--csv", false},    {Action::Journal, "--from", false},
    {Action::Journal, "--to", false},     {Action::Pdf, "--kind", false},
    {Action::Pdf, "--month", false},      {Action::Journal, "--force", true},
    {Action::Pdf, "--force", true},
};

QString parseDemoOption(const QString& name, const QString& value, demo::DemoOptions& options) {
    bool ok = false;
    if (name == u"--documents") {
        const qint64 n = value.toLongLong(&ok);
        if (!ok || n < 1 || n > demo::kMaxDocuments)
            return QStringLiteral("--documents wants a whole number from 1 to %1, not '%2'")
                .arg(demo::kMaxDocuments)
                .arg(value);
        options.documents = n;
        return {};
    }
    const std::uint64_t seed = value.toULongLong(&ok);
    if (!ok) return QStringLiteral("--seed wants a whole number from 0 up, not '%1'").arg(value);
    options.seed = seed;
    return {};
}

// "--kind K" and "--month YYYY-MM" of pdf.
QString parsePdfOption(const QString& name, const QString& value, Command& c) {
    // As the PDF files of each kind are named.
    static const QStringList kinds = [] {
        QStringList names;
        for (DocKind k : {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery,
                          DocKind::MonthEnd, DocKind::CreditNote})
            names << kindInfo(k).printed.file;
        return names;
    }();
    if (name == u"--kind") {
        if (!kinds.contains(value))
            return QStringLiteral("--kind wants one of %1, not '%2'")
                .arg(kinds.join(QStringLiteral(", ")), value);
        c.kind = value;
        return {};
    }
    static const QRegularExpression yearMonth(QStringLiteral("^(\\d{4})-(\\d{2})$"));
    const auto m = yearMonth.match(value);
    if (!m.hasMatch() || m.captured(2).toInt() < 1 || m.captured(2).toInt() > 12)
        return QStringLiteral("--month wants a month as YYYY-MM, not '%1'").arg(value);
    c.year = m.captured(1).toInt();
    c.month = m.captured(2).toInt();
    return {};
}

// What pdf is asked for: PATH NUMBER OUT, or PATH OUT with both --kind and --month.
QString takePdfArguments(const QStringList& positional, Command& c) {
    const bool byMonth = !c.kind.isEmpty() || c.month != 0;
    if (byMonth && (c.kind.isEmpty() || c.month == 0))
        return QStringLiteral("--kind and --month go together");
    if (positional.size() != (byMonth ? 2 : 3))
        return byMonth ? QStringLiteral("'pdf --kind K --month YYYY-MM' needs a PATH and an OUT.pdf")
                       : QStringLiteral("'pdf' needs a PATH, a document NUMBER and an OUT.pdf");
    c.path = positional.first();
    c.output = positional.last();
    if (!byMonth) {
        bool ok = false;
        c.number = positional[1].toLongLong(&ok);
        if (!ok)
            return QStringLiteral("the document NUMBER must be a whole number, not '%1'").arg(positional[1]);
    }
    return {};
}

QString parseOption(const QString& name, const QString& value, Command& c) {
    if (c.action == Action::Demo) return parseDemoOption(name, value, c.demo);
    if (c.action == Action::Pdf) return parsePdfOption(name, value, c);
    if (name == u"--csv") {
        if (value.isEmpty()) return QStringLiteral("--csv needs a value");
        c.target = value;
        return {};
    }
    static const QRegularExpression isoDay(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    const QDate day = QDate::fromString(value, Qt::ISODate);
    if (!isoDay.match(value).hasMatch() || !day.isValid())
        return QStringLiteral("%1 wants a day as YYYY-MM-DD, not '%2'").arg(name, value);
    (name == u"--from" ? c.from : c.to) = day;
    return {};
}

// What the command needs beyond its arguments, once they are all read.
QString completeness(const Command& c, const QString& verb) {
    if (c.action == Action::Export && c.target.isEmpty()) return QStringLiteral("'export' needs --csv DIR");
    if (c.action != Action::Journal) return {};
    if (!c.from.isValid() || !c.to.isValid()) return QStringLiteral("'%1' needs --from and --to").arg(verb);
    if (c.from > c.to) return QStringLiteral("--from must not come after --to");
    return {};
}

} // namespace

QString usageLine() {
    return QStringLiteral(
        "usage: pylon-db init PATH | pylon-db demo PATH [--documents N] [--seed S] | "
        "pylon-db check PATH | pylon-db dump PATH | pylon-db pdf PATH NUMBER OUT.pdf [--force] | "
        "pylon-db pdf PATH --kind KIND --month YYYY-MM OUT.pdf [--force] | pylon-db backup PATH [DEST] | "
        "pylon-db restore BACKUP PATH [--force] | pylon-db export PATH --csv DIR | "
        "pylon-db import DIR PATH | "
        "pylon-db journal PATH --from YYYY-MM-DD --to YYYY-MM-DD [--csv FILE [--force]]");
}

ParsedCommandLine parseCommandLine(const QStringList& args) {
    ParsedCommandLine result;
    Command& c = result.command;
    if (args.isEmpty()) {
        result.error = QStringLiteral("no command given");
        return result;
    }
    const QString& verb = args.first();
    if (verb == u"help" || verb == u"--help" || verb == u"-h") return result;
    const Verb* known = nullptr;
    for (const Verb& v : kVerbs)
        if (verb == QLatin1String(v.name)) known = &v;
    if (!known) {
        result.error = QStringLiteral("unknown command '%1'").arg(verb);
        return result;
    }
    c.action = known->action;

    // The options of this command only, "--name value" or "--name=value", before or after the arguments;
    // one given twice keeps its last value. Qt's parser says what is unknown or lacks its value.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    std::vector<const Option*> options;
    for (const Option& o : kOptions) {
        if (o.action != c.action) continue;
        const QString name = QString::fromLatin1(o.name).mid(2);
        parser.addOption(o.flag ? QCommandLineOption(name)
                                : QCommandLineOption(name, QString(), QStringLiteral("value")));
        options.push_back(&o);
    }
    if (!parser.parse(QStringList{QStringLiteral("pylon-db")} + args.mid(1))) {
        result.error = parser.errorText();
        return result;
    }
    for (const Option* o : options) {
        const QString name = QString::fromLatin1(o->name);
        if (!parser.isSet(name.mid(2))) continue;
        if (o->flag) {
            c.force = true;
            continue;
        }
        result.error = parseOption(name, parser.value(name.mid(2)), c);
        if (!result.error.isEmpty()) return result;
    }
    QStringList positional = parser.positionalArguments();
    for (qsizetype i = 0; i < positional.size(); ++i) {
        if (positional[i].isEmpty()) {
            result.error = i == 0 ? QStringLiteral("the PATH is empty") : QStringLiteral("an empty argument");
            return result;
        }
        if (i == known->most) {
            result.error = QStringLiteral("unexpected argument '%1'").arg(positional[i]);
            return result;
        }
    }
    if (c.action == Action::Pdf) {
        result.error = takePdfArguments(positional, c);
        return result;
    }
    if (positional.size() < known->least) {
        result.error = QStringLiteral("'%1' needs %2").arg(verb, QLatin1String(known->needs));
        return result;
    }
    // restore BACKUP PATH and import DIR PATH name what they read first.
    if (c.action == Action::Restore || c.action == Action::Import) c.source = positional.takeFirst();
    c.path = positional.takeFirst();
    if (!positional.isEmpty()) c.target = positional.takeFirst();
    result.error = completeness(c, verb);
    return result;
}

} // namespace pylon::dbtool
