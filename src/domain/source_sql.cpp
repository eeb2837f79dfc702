#include "domain/source_sql.h"

#include <QRegularExpression>
#include <QStringList>

namespace pylon {

namespace {

const auto kCi = QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption;

// Applies f to the parts of sql outside single-quoted literals.
template <typename F> QString outsideLiterals(const QString& sql, F f) {
    QString out;
    QString chunk;
    bool inLiteral = false;
    for (const QChar c : sql) {
        if (c == QLatin1Char('\'')) {
            if (!inLiteral) {
                out += f(chunk);
                chunk.clear();
            }
            inLiteral = !inLiteral;
            out += c;
            continue;
        }
        if (inLiteral)
            out += c;
        else
            chunk += c;
    }
    return out + f(chunk);
}

// Position of a keyword at parenthesis depth 0 outside literals, or -1.
qsizetype findTopLevel(const QString& sql, const QString& keyword, qsizetype from = 0) {
    int depth = 0;
    bool inLiteral = false;
    const qsizetype n = keyword.size();
    for (qsizetype i = from; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) inLiteral = !inLiteral;
        if (inLiteral) continue;
        if (c == QLatin1Char('(')) ++depth;
        if (c == QLatin1Char(')')) --depth;
        if (depth != 0 || i + n > sql.size()) continue;
        if (QStringView(sql).mid(i, n).compare(keyword, Qt::CaseInsensitive) != 0) continue;
        const bool startOk = i == 0 || !sql[i - 1].isLetterOrNumber();
        const bool endOk = i + n == sql.size() || !sql[i + n].isLetterOrNumber();
        if (startOk && endOk) return i;
    }
    return -1;
}

QStringList splitTopLevelCommas(const QString& s) {
    QStringList parts;
    int depth = 0;
    bool inLiteral = false;
    QString cur;
    for (const QChar c : s) {
        if (c == QLatin1Char('\'')) inLiteral = !inLiteral;
        if (!inLiteral && c == QLatin1Char('(')) ++depth;
        if (!inLiteral && c == QLatin1Char(')')) --depth;
        if (!inLiteral && depth == 0 && c == QLatin1Char(',')) {
            parts << cur.trimmed();
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.trimmed().isEmpty()) parts << cur.trimmed();
    return parts;
}

struct FromClause {
    QStringList tables; // the names or aliases the row ids are taken from
    QStringList items;  // "Table" or "Table alias", for the comma join
    QStringList conditions;
};

// Inner joins, nested in parentheses or not, become a comma join with the join conditions moved to the
// WHERE clause; that is the same result, and it lets every table's row id be selected.
std::optional<FromClause> flattenFrom(const QString& from) {
    static const QRegularExpression other(QStringLiteral(R"(\b(left|right|full|outer|cross)\b)"), kCi);
    // The joins are taken apart by their words and brackets; a quoted text among them could hold those,
    // and the program's joins never quote anything.
    if (from.contains(other) || from.contains(QLatin1Char('\'')) || from.contains(QLatin1Char('"')))
        return std::nullopt;
    QString flat = from;
    flat.replace(QLatin1Char('('), QLatin1Char(' ')).replace(QLatin1Char(')'), QLatin1Char(' '));
    static const QRegularExpression join(QStringLiteral(R"(\binner\s+join\b|,)"), kCi);
    static const QRegularExpression on(QStringLiteral(R"(\bon\b)"), kCi);
    FromClause fc;
    for (const QString& part : flat.split(join)) {
        QStringList pieces = part.split(on);
        const QStringList words = pieces.takeFirst().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty() || words.size() > 3) return std::nullopt;
        fc.items << words.join(QLatin1Char(' '));
        fc.tables << words.last();
        for (const QString& c : pieces) {
            if (c.trimmed().isEmpty()) return std::nullopt;
            fc.conditions << QStringLiteral("(%1)").arg(c.trimmed());
        }
    }
    return fc;
}

} // namespace

QString translateBooleans(const QString& sql) {
    static const QRegularExpression re(QStringLiteral(R"(([^\W\d][\w.]*|"[^"]+")\s*(=|<>)\s*(true|false)\b)"),
                                       kCi);
    return outsideLiterals(sql, [](const QString& part) {
        QString out;
        qsizetype last = 0;
        auto it = re.globalMatch(part);
        while (it.hasNext()) {
            const auto m = it.next();
            const bool wantTrue = (m.captured(3).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) ==
                                  (m.captured(2) == u"=");
            out += part.mid(last, m.capturedStart() - last);
            // "IN" lets SQLite use an index on the flag; -1 is how some tools write true.
            out += wantTrue ? QStringLiteral("%1 IN (1, -1)").arg(m.captured(1))
                            : QStringLiteral("coalesce(%1, 0) NOT IN (1, -1)").arg(m.captured(1));
            last = m.capturedEnd();
        }
        return out + part.mid(last);
    });
}

std::optional<SourceSql> translateSource(const QString& source) {
    static const QRegularExpression tableName(QStringLiteral(R"(^\s*([^\W\d]\w*)\s*$)"), kCi);
    SourceSql out;
    const auto tm = tableName.match(source);
    if (tm.hasMatch()) {
        out.table = tm.captured(1);
        out.select = QStringLiteral("SELECT *, rowid AS __k0 FROM \"%1\"").arg(out.table);
        out.rowKeys = 1;
        return out;
    }
    const QString sql = translateBooleans(source.trimmed());
    static const QRegularExpression selectDistinct(QStringLiteral(R"(^select\s+distinct\b)"), kCi);
    static const QRegularExpression select(QStringLiteral(R"(^select\b)"), kCi);
    if (!sql.contains(select)) return std::nullopt;
    if (sql.contains(selectDistinct)) {
        out.snapshot = sql;
        return out;
    }
    const qsizetype fromAt = findTopLevel(sql, QStringLiteral("from"));
    if (fromAt < 0) return std::nullopt;
    const qsizetype whereAt = findTopLevel(sql, QStringLiteral("where"), fromAt);
    const qsizetype orderAt = findTopLevel(sql, QStringLiteral("order"), fromAt);
    if (whereAt >= 0 && orderAt >= 0 && whereAt > orderAt) return std::nullopt; // not a statement of ours
    const qsizetype fromEnd = whereAt >= 0 ? whereAt : (orderAt >= 0 ? orderAt : sql.size());
    const QString selectList = sql.mid(6, fromAt - 6).trimmed();
    const QString from = sql.mid(fromAt + 4, fromEnd - fromAt - 4);
    const QString where =
        whereAt >= 0 ? sql.mid(whereAt + 5, (orderAt >= 0 ? orderAt : sql.size()) - whereAt - 5).trimmed()
                     : QString();
    QStringList orderItems;
    if (orderAt >= 0) {
        static const QRegularExpression by(QStringLiteral(R"(^order\s+by\s+)"), kCi);
        QString order = sql.mid(orderAt);
        if (!order.contains(by)) return std::nullopt;
        order.remove(by);
        static const QRegularExpression asc(QStringLiteral(R"(\s+asc$)"), kCi);
        static const QRegularExpression desc(QStringLiteral(R"(\s+desc$)"), kCi);
        for (QString item : splitTopLevelCommas(order)) {
            if (item.contains(desc)) return std::nullopt; // the program only ever sorts ascending
            orderItems << item.remove(asc).trimmed();
        }
    }
    const auto fc = flattenFrom(from);
    if (!fc) return std::nullopt;

    // Row ids: the tables named in the ORDER BY first, then the others from the last joined to the first,
    // which keeps the lines of one document in the order they were written and lets SQLite walk the
    // indexes in key order.
    QStringList keyTables;
    for (const QString& item : orderItems)
        for (const QString& t : fc->tables)
            if (item.startsWith(t + QLatin1Char('.'), Qt::CaseInsensitive) && !keyTables.contains(t))
                keyTables << t;
    for (auto it = fc->tables.crbegin(); it != fc->tables.crend(); ++it)
        if (!keyTables.contains(*it)) keyTables << *it;

    QStringList extra;
    for (int i = 0; i < orderItems.size(); ++i)
        extra << QStringLiteral("%1 AS __o%2")
                     .arg(orderItems[i], QString::number(i)); // one arg(): a "%1" in the item stays
    for (int i = 0; i < keyTables.size(); ++i)
        extra << QStringLiteral("%1.rowid AS __k%2").arg(keyTables[i], QString::number(i));
    // Joins are read in an order written down, never left to SQLite: with a file's statistics (ANALYZE)
    // it finds it cheaper to start from the smallest table, the clients, and sort every document of the
    // kind, seconds at a million documents for each step. A join sorted on a table's fields is read in
    // that order from that table's index, the others looked up row by row after it; a flag (true or
    // false) then never picks the index instead, which would read and sort every flagged document at
    // each step. Other joins are read in the order they are written.
    QString whereText = where;
    QStringList joined = fc->items;
    if (fc->items.size() > 1 && !orderItems.isEmpty() &&
        orderItems.first().startsWith(keyTables.first() + QLatin1Char('.'), Qt::CaseInsensitive)) {
        joined.clear();
        for (const QString& t : keyTables)
            joined << fc->items[fc->tables.indexOf(t)];
        static const QRegularExpression flag(QStringLiteral(R"(([^\W\d][\w.]*|"[^"]+") IN \(1, -1\))"));
        whereText = outsideLiterals(where, [](const QString& part) {
            QString out = part;
            return out.replace(flag, QStringLiteral("+\\1 IN (1, -1)"));
        });
    }
    QStringList conditions = fc->conditions;
    if (!whereText.isEmpty()) conditions << QStringLiteral("(%1)").arg(whereText);
    const QString fromList = joined.join(QStringLiteral(" CROSS JOIN "));
    out.select =
        QStringLiteral("SELECT %1, %2 FROM %3").arg(selectList, extra.join(QStringLiteral(", ")), fromList);
    if (!conditions.isEmpty())
        out.select += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    out.orderKeys = int(orderItems.size());
    out.rowKeys = int(keyTables.size());
    return out;
}

} // namespace pylon
