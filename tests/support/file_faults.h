#pragma once
// For tests of a database file that fails or must stay untouched: the file's exact bytes, and a file or
// folder that is read-only even for root. Header only, for the unit and the GUI tests alike.
#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pylon::test {

// A hash of every byte of the file; empty when it cannot be read.
inline QByteArray fingerprint(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Overwrites the page in the middle of the database file with noise, as a failing disk would; false when
// the file cannot be written. The file needs a dozen pages or more for the page to hold data.
inline bool damageMiddlePage(const QString& path, int pages, int pageSize) {
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(qint64(pages / 2) * pageSize)) return false;
    QByteArray noise(pageSize, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    return f.write(noise) == pageSize;
}

// Root writes any file whatever its permissions. For the length of a test the thread sets aside that
// power (its effective capabilities, kept in the permitted set and restored afterwards), so that a file
// made read-only is read-only for the program too, as it is for any other user.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() {
        if (geteuid() != 0) {
            ok_ = true;
            return;
        }
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        lowered_ = ok_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~AsOrdinaryUser() {
        if (lowered_) syscall(SYS_capset, &header_, saved_);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool ok() const { return ok_; }

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool ok_ = false;
    bool lowered_ = false;
};

} // namespace pylon::test
