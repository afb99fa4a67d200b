// Splitting one fuzz input into the pieces a target needs.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Qt's warnings about odd input (names with NUL bytes and the like) are expected here and
// would only slow the run down.
inline const bool kQtMessagesDropped = [] {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return true;
}();

// The input as a byte array (copied: libFuzzer's buffer must stay untouched).
inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input cut at NUL bytes into `count` fields (missing ones empty, the rest in the last).
inline QList<QByteArray> fuzzFields(const QByteArray& bytes, qsizetype count) {
    QList<QByteArray> fields;
    qsizetype start = 0;
    while (fields.size() + 1 < count) {
        const qsizetype end = bytes.indexOf('\0', start);
        if (end < 0) break;
        fields.append(bytes.mid(start, end - start));
        start = end + 1;
    }
    fields.append(start <= bytes.size() ? bytes.mid(start) : QByteArray());
    while (fields.size() < count) fields.append(QByteArray());
    return fields;
}

// Stops the run with a message libFuzzer reports as a finding.
[[noreturn]] inline void fuzzFailure(const char* what) {
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}
