// Record sets are opened on a table name or on one of the program's SELECT statements, rewritten here before
// SQLite sees them. Whatever the text, the rewriting must not crash, must not touch the quoted texts, and
// must give a statement shaped the way the record set reads it.
#include "domain/source_sql.h"
#include "fuzz_support.h"

#include <QRegularExpression>

using fuzz::require;
using fuzz::shown;

namespace {

void checkBooleans(const QString& text) {
    const QString out = pylon::translateBooleans(text);
    const QString input = shown(text) + QStringLiteral(" -> ") + shown(out);
    require(out.count(u'\'') == text.count(u'\''), "as many quotes after as before", input);
    require(fuzz::literalsOf(out) == fuzz::literalsOf(text), "the quoted texts are untouched", input);
    // What is rewritten no longer holds a boolean literal, so a second pass changes nothing.
    require(pylon::translateBooleans(out) == out, "rewriting twice is rewriting once", input);
}

bool isIdentifier(const QString& s) {
    static const QRegularExpression re(QStringLiteral(R"(^[^\W\d]\w*$)"),
                                       QRegularExpression::UseUnicodePropertiesOption);
    return re.match(s).hasMatch();
}

// The rewritten statement holds the same quoted texts as the source, possibly in another order (the
// ordering keys move to the select list, the join conditions to the WHERE clause).
void checkLiterals(const QString& text, const QString& select, const QString& input) {
    if (text.count(u'\'') % 2 != 0) return;
    QStringList before = fuzz::literalsOf(text);
    QStringList after = fuzz::literalsOf(select);
    before.sort();
    after.sort();
    require(before == after, "the quoted texts come through unchanged", input);
}

void checkSource(const QString& text) {
    const std::optional<pylon::SourceSql> s = pylon::translateSource(text);
    if (!s) return;
    const QString input = shown(text) + QStringLiteral(" -> ") + shown(s->select + s->snapshot);

    if (!s->table.isEmpty()) {
        require(isIdentifier(s->table), "a table name is an identifier", input);
        require(s->select == QStringLiteral("SELECT *, rowid AS __k0 FROM \"%1\"").arg(s->table) &&
                    s->orderKeys == 0 && s->rowKeys == 1 && s->snapshot.isEmpty(),
                "a table is walked by its row id", input);
        return;
    }
    if (!s->snapshot.isEmpty()) {
        require(s->snapshot == pylon::translateBooleans(text.trimmed()) && s->select.isEmpty(),
                "a DISTINCT select is copied as it is", input);
        checkLiterals(text, s->snapshot, input);
        return;
    }
    require(s->select.startsWith(QStringLiteral("SELECT ")), "a select", input);
    require(s->orderKeys >= 0 && s->rowKeys >= 1, "every row has a row id key", input);
    checkLiterals(text, s->select, input);
    // The key columns are found by their names, unless the statement already uses such names itself.
    if (text.contains(QStringLiteral("__"))) return;
    const auto key = [](const char* prefix, int i) {
        return QStringLiteral(" AS %1%2").arg(QLatin1String(prefix), QString::number(i));
    };
    require(s->select.contains(key("__k", s->rowKeys - 1)) && !s->select.contains(key("__k", s->rowKeys)),
            "the select has rowKeys row id columns", input);
    if (s->orderKeys > 0)
        require(s->select.contains(key("__o", s->orderKeys - 1)), "the select has orderKeys ordering columns",
                input);
    require(!s->select.contains(key("__o", s->orderKeys)), "no more ordering columns than orderKeys", input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::wholeText(data, size);
    checkBooleans(text);
    checkSource(text);
    return 0;
}
