#include "module/cancelling.h"

#include "module/module1.h"

namespace pylon {

namespace {

const QString kFlag = QStringLiteral("Annulée");

} // namespace

std::optional<bool> findCancelled(Module1& m, const QString& number) {
    RecordSet* f = m.rsFacture.get();
    if (!f || !f->FindFirst(QStringLiteral("NumFact=") + number) || f->NoMatch()) return std::nullopt;
    const auto flag = f->Fields(kFlag);
    return flag && flag->toBool();
}

WriteResult writeCancelled(Module1& m, bool cancelled) {
    if (!m.rsFacture) return WriteResult::failed(QStringLiteral("la base de données n'est pas ouverte"));
    RecordSet& f = *m.rsFacture;
    return runWrite(
        m.db, [&] { return WriteResult::doneIf(f.Edit() && f.SetField(kFlag, cancelled) && f.Update()); },
        {&f});
}

} // namespace pylon
