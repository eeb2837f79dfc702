// Adding, changing and deleting rows of a record set's table, between AddNew or Edit and Update.
#include "store/database.h"
#include "store/field_value.h"
#include "store/recordset.h"

namespace pylon {

bool RecordSet::AddNew() {
    if (sql_.table.isEmpty() || !prepareSource()) return false;
    mode_ = EditMode::Adding;
    buffer_.clear();
    return true;
}

bool RecordSet::Edit() {
    if (sql_.table.isEmpty() || !resolve() || pos_ != Pos::OnRow || deleted_) return false;
    mode_ = EditMode::Editing;
    buffer_.clear();
    return true;
}

bool RecordSet::SetField(int position, const QVariant& value) {
    if (mode_ == EditMode::None || position < 0 || position >= names_.size()) return false;
    const auto stored = toStoredValue(types_[size_t(position)], value);
    if (!stored) return false;
    buffer_[position] = *stored;
    return true;
}

bool RecordSet::SetField(const QString& name, const QVariant& value) {
    return SetField(column(name), value);
}

// A document's lines are written one row at a time with the same statement: it is prepared once and
// kept with the record set's other statements.
bool RecordSet::run(const QString& sql, const std::vector<QVariant>& params) {
    Statement* st = statement(sql);
    if (!st) return false;
    const bool ok = st->bindAll(params) && !st->step() && st->ok();
    st->reset();
    return ok;
}

// The statement that adds a row with these fields set, made once for each set of fields.
const QString& RecordSet::insertSql(const std::vector<int>& fields) {
    auto it = insertSql_.find(fields);
    if (it != insertSql_.end()) return it->second;
    QString sql;
    if (fields.empty()) {
        sql = QStringLiteral("INSERT INTO \"%1\" DEFAULT VALUES").arg(sql_.table);
    } else {
        QStringList cols;
        for (int col : fields)
            cols << QStringLiteral("\"%1\"").arg(names_[col]);
        sql = QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                  .arg(sql_.table, cols.join(QStringLiteral(", ")),
                       QStringList(cols.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    }
    return insertSql_.emplace(fields, std::move(sql)).first->second;
}

bool RecordSet::Update() {
    if (mode_ == EditMode::None) return false;
    std::vector<int> fields;
    std::vector<QVariant> params;
    for (const auto& [col, v] : buffer_) {
        fields.push_back(col);
        params.push_back(v);
    }
    if (mode_ == EditMode::Adding) {
        if (!run(insertSql(fields), params)) return false;
        // Like a dynaset, the record set stays where it stood; an empty one now has a row to move to.
        if (pos_ == Pos::Empty) pos_ = Pos::AfterLast;
    } else {
        if (!fields.empty()) {
            QStringList sets;
            for (int col : fields)
                sets << QStringLiteral("\"%1\" = ?").arg(names_[col]);
            params.push_back(row_.back());
            const QString sql = QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = ?")
                                    .arg(sql_.table, sets.join(QStringLiteral(", ")));
            if (!run(sql, params)) return false;
            for (const auto& [col, v] : buffer_)
                row_[size_t(col)] = v;
        }
    }
    mode_ = EditMode::None;
    buffer_.clear();
    return true;
}

bool RecordSet::Delete() {
    if (sql_.table.isEmpty() || !resolve() || pos_ != Pos::OnRow || deleted_) return false;
    if (!db_.exec(QStringLiteral("DELETE FROM \"%1\" WHERE rowid = ?").arg(sql_.table), {row_.back()}))
        return false;
    deleted_ = true;
    mode_ = EditMode::None;
    return true;
}

} // namespace pylon
