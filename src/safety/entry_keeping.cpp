#include "safety/entry_keeping.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "module/entry_keeping.h"
#include "safety/backup_notice.h"

#include <QTimer>

namespace pylon {

namespace {

// At most this much typing is lost when the program ends without warning.
constexpr int kKeepEveryMs = 1000;

QString linesText(int count) {
    if (count == 0) return QStringLiteral("aucune ligne");
    return count == 1 ? QStringLiteral("1 ligne") : QStringLiteral("%1 lignes").arg(count);
}

} // namespace

QString describeKeptEntry(const kept_entries::KeptEntry& e) {
    QStringList parts;
    // To the second: two entries alike are still two lines of the list, and the one chosen is found by its
    // line.
    parts << e.keptAt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    const QString what =
        e.kind == DocKind::CreditNote ? QStringLiteral("Avoir du document") : kindInfo(e.kind).name;
    parts << (e.number.trimmed().isEmpty() ? what : QStringLiteral("%1 n° %2").arg(what, e.number.trimmed()));
    const QString client =
        QStringList({e.client.trimmed(), e.name.trimmed()}).join(QLatin1Char(' ')).trimmed();
    parts << (client.isEmpty() ? QStringLiteral("sans client") : QStringLiteral("client ") + client);
    parts << linesText(e.lineCount());
    QString text = parts.join(QStringLiteral(" — "));
    if (e.interrupted) text += QStringLiteral(" (arrêt du programme)");
    return text;
}

namespace {

// What the notice says of entries cut short by the program's end.
QString interruptedEntriesText(const std::vector<kept_entries::KeptEntry>& entries) {
    QStringList described;
    for (const auto& e : entries)
        described << describeKeptEntry(e);
    return (entries.size() == 1
                ? QStringLiteral("Le programme s'est arrêté pendant la saisie d'un document. La saisie est "
                                 "conservée :\n")
                : QStringLiteral("Le programme s'est arrêté pendant la saisie de documents. Les saisies sont "
                                 "conservées :\n")) +
           described.join(QLatin1Char('\n')) +
           (entries.size() == 1 ? QStringLiteral("\nPour la reprendre")
                                : QStringLiteral("\nPour les reprendre")) +
           QStringLiteral(" : clic droit sur l'éditeur, « Reprendre la saisie abandonnée… ».");
}

} // namespace

void startKeepingEntries(Session& m) {
    m.entryKeeper.reset();
    if (!m.db.isOpen() || m.db.readOnly()) return;
    Form1* editor = m.form1;
    m.entryKeeper = std::make_unique<EntryKeeper>(m.db.path(), [editor](const EntryKeeper::Entries& cut) {
        showNotice(editor, QStringLiteral("keptEntryNotice"), interruptedEntriesText(cut));
    });
    auto* timer = editor->findChild<QTimer*>(QStringLiteral("entryKeeping"));
    if (!timer) {
        timer = new QTimer(editor);
        timer->setObjectName(QStringLiteral("entryKeeping"));
        timer->setInterval(kKeepEveryMs);
        Session* mp = &m;
        QObject::connect(timer, &QTimer::timeout, editor, [mp] { keepEntryUnderWay(*mp); });
    }
    timer->start();
}

void stopKeepingEntries(Session& m) {
    if (auto* timer = m.form1 ? m.form1->findChild<QTimer*>(QStringLiteral("entryKeeping")) : nullptr)
        timer->stop();
    if (m.editMode()) entryDropped(m);
    m.entryKeeper.reset();
}

} // namespace pylon
