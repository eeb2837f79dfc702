#pragma once
// What the fuzz targets share: reading the fuzzer's bytes, and stopping the run when a property breaks so
// that libFuzzer saves the input that broke it.
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

[[noreturn]] inline void fail(const char* property, const QString& detail = {}) {
    std::fprintf(stderr, "\n== property broken: %s\n%s\n", property, qUtf8Printable(detail));
    std::abort();
}

inline void require(bool ok, const char* property, const QString& detail = {}) {
    if (!ok) fail(property, detail);
}

// A text shown with its invisible characters, for the failure messages.
inline QString shown(const QString& s) {
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            out += c;
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out + u'"';
}

// The fuzzer's bytes: fixed-size numbers taken from the front, then the rest as UTF-8 text. Short inputs
// give zeros, so every input is usable.
class Input {
  public:
    Input(const uint8_t* data, size_t size) : p_(data), n_(size) {}

    template <typename T> T take() {
        T v{};
        const size_t k = std::min(sizeof(T), n_);
        if (k > 0) std::memcpy(&v, p_, k);
        p_ += k;
        n_ -= k;
        return v;
    }

    QString text() const {
        if (n_ == 0) return QString();
        return QString::fromUtf8(reinterpret_cast<const char*>(p_), qsizetype(n_));
    }

  private:
    const uint8_t* p_;
    size_t n_;
};

inline QString wholeText(const uint8_t* data, size_t size) {
    return Input(data, size).text();
}

// The contents of the single-quoted literals of an SQL text, in order ('' counts as the end of one literal
// and the start of the next, which keeps the comparison simple and still exact). Text after an unclosed
// quote counts as a literal too.
inline QStringList literalsOf(const QString& sql) {
    const QStringList parts = sql.split(QLatin1Char('\''));
    QStringList literals;
    for (qsizetype i = 1; i < parts.size(); i += 2)
        literals << parts[i];
    return literals;
}

} // namespace fuzz
