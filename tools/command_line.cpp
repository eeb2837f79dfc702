#include "command_line.h"

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

} // namespace

QString usageLine() {
    return QStringLiteral("usage: pylon-db init PATH | pylon-db demo PATH [--documents N] [--seed S] | "
                          "pylon-db check PATH | pylon-db dump PATH");
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
    } else if (verb == u"help" || verb == u"--help" || verb == u"-h") {
        c.action = Action::Help;
        return result;
    } else {
        result.error = QStringLiteral("unknown command '%1'").arg(verb);
        return result;
    }

    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            const QString name = eq < 0 ? arg : arg.left(eq);
            const bool known = c.action == Action::Demo && (name == u"--documents" || name == u"--seed");
            if (!known) {
                result.error = QStringLiteral("unknown option '%1' for '%2'").arg(name, verb);
                return result;
            }
            QString value;
            if (!takeValue(args, i, arg.mid(eq + 1), eq >= 0, value)) {
                result.error = QStringLiteral("%1 needs a value").arg(name);
                return result;
            }
            result.error = parseDemoOption(name, value, c.demo);
            if (!result.error.isEmpty()) return result;
        } else if (c.path.isEmpty()) {
            if (arg.isEmpty()) {
                result.error = QStringLiteral("the PATH is empty");
                return result;
            }
            c.path = arg;
        } else {
            result.error = QStringLiteral("unexpected argument '%1'").arg(arg);
            return result;
        }
    }
    if (c.path.isEmpty()) result.error = QStringLiteral("'%1' needs a PATH").arg(verb);
    return result;
}

} // namespace pylon::dbtool
