#include "store/db_errors.h"

#include <QDir>
#include <QFileInfo>
#include <sqlite3.h>

namespace pylon::db_errors {

static_assert(kFileMoved == SQLITE_READONLY_DBMOVED && kCantOpen == SQLITE_CANTOPEN &&
              kUnappliedLog == SQLITE_READONLY_RECOVERY && kNotOurs == SQLITE_NOTADB);

Fault faultOf(int code) {
    if (code == kFileMoved) return Fault::Moved;
    if (code == kUnappliedLog) return Fault::UnappliedLog;
    switch (code & 0xff) {
    case SQLITE_READONLY:
        return Fault::ReadOnly;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Fault::Busy;
    case SQLITE_FULL:
        return Fault::Full;
    case SQLITE_IOERR:
        return Fault::Io;
    case SQLITE_CORRUPT:
        return Fault::Damaged;
    case SQLITE_NOTADB:
        return Fault::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Fault::CantOpen;
    case SQLITE_NOMEM:
        return Fault::NoMemory;
    default:
        return Fault::None;
    }
}

bool needsRestart(int code) {
    switch (faultOf(code)) {
    case Fault::ReadOnly:
    case Fault::Moved:
    case Fault::UnappliedLog:
    case Fault::Damaged:
    case Fault::NotADatabase:
    case Fault::CantOpen:
        return true;
    default:
        return false;
    }
}

QString explain(int code, const QString& path, const QString& engineMessage) {
    // The path as the user's file manager shows it, between French quotes.
    const QString file = QStringLiteral("« %1 »").arg(QDir::toNativeSeparators(path));
    switch (faultOf(code)) {
    case Fault::None:
        return engineMessage;
    case Fault::ReadOnly:
        return QStringLiteral("la base de données est en lecture seule : le fichier %1 ne peut pas être "
                              "modifié.\r\nVérifiez les droits d'accès de ce fichier et de son dossier (ils "
                              "doivent permettre l'écriture), puis relancez le programme.")
            .arg(file);
    case Fault::Moved:
        return QStringLiteral("le fichier de la base de données %1 a disparu depuis l'ouverture du programme "
                              "(supprimé, renommé, déplacé ou remplacé).\r\nRemettez le fichier à sa place, "
                              "puis relancez le programme.")
            .arg(file);
    case Fault::UnappliedLog:
        return QStringLiteral("les dernières modifications de la base de données %1 sont encore dans son "
                              "journal « %2 », qui ne peut pas être lu : son dossier est en lecture seule. "
                              "Sans elles, les documents montrés seraient anciens.\r\nDonnez le droit "
                              "d'écriture sur ce dossier, puis relancez le programme.")
            .arg(file, QFileInfo(path).fileName() + QStringLiteral("-wal"));
    case Fault::Busy:
        return QStringLiteral("la base de données est utilisée par un autre programme, qui est en train d'y "
                              "écrire.\r\nRéessayez dans un instant ; si ce message revient, fermez l'autre "
                              "programme (ou l'autre copie de celui-ci) qui utilise le fichier %1.")
            .arg(file);
    case Fault::Full:
        return QStringLiteral("le disque est plein.\r\nLibérez de la place sur le disque qui contient le "
                              "fichier %1, puis réessayez.")
            .arg(file);
    case Fault::Io:
        return QStringLiteral("le fichier %1 n'a pas pu être lu ou écrit (erreur du disque).\r\nVérifiez le "
                              "disque, ou la connexion au dossier partagé, puis réessayez.")
            .arg(file);
    case Fault::Damaged:
    case Fault::NotADatabase:
        return QStringLiteral("la base de données %1 est endommagée.\r\nFermez le programme et remplacez ce "
                              "fichier par une copie de sauvegarde.")
            .arg(file);
    case Fault::CantOpen:
        return QStringLiteral("le fichier %1 ne peut pas être ouvert.\r\nVérifiez qu'il est toujours à sa "
                              "place et que vous avez le droit de le modifier, puis relancez le programme.")
            .arg(file);
    case Fault::NoMemory:
        return QStringLiteral("la mémoire de l'ordinateur est insuffisante.\r\nFermez d'autres programmes, "
                              "puis réessayez.");
    }
    return engineMessage;
}

} // namespace pylon::db_errors
