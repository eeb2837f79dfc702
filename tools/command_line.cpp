#include "command_line.h"

#include <QRegularExpression>

namespace pylon::dbtool {

namespace {

// The value of "--name=value" or of "--name value"; false when there is none.
bool takeValue(const QStringList& args, qsizetype& i, const QString& inline_, bool hasInline,
               QString& value) {
    if (hasInline) {
        value = inline_;
        return true;
    }
    if (i + 1 >= args.size()) return false;
    value = args[++i];
    return true;
}

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
    static const QStringList kinds = {QStringLiteral("Facture"),   QStringLiteral("Devis"),
                                      QStringLiteral("BC"),        QStringLiteral("BL"),
                                      QStringLiteral("Facture M"), QStringLiteral("Avoir")};
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

} // namespace

QString usageLine() {
    return QStringLiteral("usage: pylon-db init PATH | pylon-db demo PATH [--documents N] [--seed S] | "
                          "pylon-db check PATH | pylon-db dump PATH | pylon-db pdf PATH NUMBER OUT.pdf | "
                          "pylon-db pdf PATH --kind KIND --month YYYY-MM OUT.pdf");
}

ParsedCommandLine parseCommandLine(const QStringList& args) {
    ParsedCommandLine result;
    Command& c = result.command;
    if (args.isEmpty()) {
        result.error = QStringLiteral("no command given");
        return result;
    }
    const QString& verb = args.first();
    if (verb == u"init") {
        c.action = Action::Init;
    } else if (verb == u"demo") {
        c.action = Action::Demo;
    } else if (verb == u"check") {
        c.action = Action::Check;
    } else if (verb == u"dump") {
        c.action = Action::Dump;
    } else if (verb == u"pdf") {
        c.action = Action::Pdf;
    } else if (verb == u"help" || verb == u"--help" || verb == u"-h") {
        c.action = Action::Help;
        return result;
    } else {
        result.error = QStringLiteral("unknown command '%1'").arg(verb);
        return result;
    }

    QStringList positional;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            const QString name = eq < 0 ? arg : arg.left(eq);
            const bool known = (c.action == Action::Demo && (name == u"--documents" || name == u"--seed")) ||
                               (c.action == Action::Pdf && (name == u"--kind" || name == u"--month"));
            if (!known) {
                result.error = QStringLiteral("unknown option '%1' for '%2'").arg(name, verb);
                return result;
            }
            QString value;
            if (!takeValue(args, i, arg.mid(eq + 1), eq >= 0, value)) {
                result.error = QStringLiteral("%1 needs a value").arg(name);
                return result;
            }
            result.error = c.action == Action::Pdf ? parsePdfOption(name, value, c)
                                                   : parseDemoOption(name, value, c.demo);
            if (!result.error.isEmpty()) return result;
        } else if (arg.isEmpty()) {
            result.error = positional.isEmpty() ? QStringLiteral("the PATH is empty")
                                                : QStringLiteral("an empty argument");
            return result;
        } else if (c.action != Action::Pdf && !positional.isEmpty()) {
            result.error = QStringLiteral("unexpected argument '%1'").arg(arg);
            return result;
        } else {
            positional << arg;
        }
    }
    if (c.action == Action::Pdf) {
        result.error = takePdfArguments(positional, c);
        return result;
    }
    if (positional.isEmpty())
        result.error = QStringLiteral("'%1' needs a PATH").arg(verb);
    else
        c.path = positional.first();
    return result;
}

} // namespace pylon::dbtool
