// Shared by the adapter's benchmarks: a large work database and a run that prints a ratio.
#pragma once

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "dbcreate/databasefile.h"

namespace benchdb {

// One reminder key, as the rebuild derives it from an appointment.
struct Key {
    int cliente;
    double data;
    std::string azione;
};

// 100 keys per client, spread over the days from 6 December 2026 on.
inline std::vector<Key> keys(int rows) {
    static const char* const kAzioni[] = {"VIS", "TEL", "CONS"};
    std::vector<Key> result;
    result.reserve(rows);
    for (int i = 0; i < rows; ++i)
        result.push_back({i / 100, 46362.0 + (i % 100) * 0.25 + (i % 7) / 1440.0, kAzioni[i % 3]});
    return result;
}

inline void check(int status, sqlite3* handle) {
    if (status != SQLITE_OK && status != SQLITE_DONE && status != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(handle));
}

// A work database from the schema script, its Promemoria filled with `rows` reminders that
// are all not yet due.
class WorkFile {
public:
    explicit WorkFile(int rows) : path_(dir_.filePath(QStringLiteral("WorkDV.mdb"))) {
        QFile script(QStringLiteral(SCADEX_SCHEMA_DIR "/work.sql"));
        if (!script.open(QIODevice::ReadOnly)) throw std::runtime_error("work.sql missing");
        db::createDatabaseFile(path_, QString::fromUtf8(script.readAll()));
        fill(rows);
    }

    const QString& path() const { return path_; }

private:
    void fill(int rows) {
        sqlite3* handle = nullptr;
        check(sqlite3_open(path_.toUtf8().constData(), &handle), handle);
        sqlite3_stmt* insert = nullptr;
        check(sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr), handle);
        check(sqlite3_prepare_v2(handle,
                                 "INSERT INTO Promemoria (PmCliente, PmData, PmAzione, PmAllarm, "
                                 "PmWait, PmDocumento) VALUES (?, ?, ?, ?, ' ', ' ')",
                                 -1, &insert, nullptr),
              handle);
        for (const Key& key : keys(rows)) {
            sqlite3_bind_int(insert, 1, key.cliente);
            sqlite3_bind_double(insert, 2, key.data);
            sqlite3_bind_text(insert, 3, key.azione.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(insert, 4, key.data + 1000.0);
            check(sqlite3_step(insert), handle);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        check(sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr), handle);
        sqlite3_close(handle);
    }

    QTemporaryDir dir_;
    QString path_;
};

// Prints every run as usual and keeps each benchmark's median wall-clock and CPU times per
// iteration (the machine may be busy with other work: the median of repetitions is steadier).
class MedianKeeper : public benchmark::ConsoleReporter {
public:
    struct Times {
        double wall = 0;
        double cpu = 0;
    };

    MedianKeeper() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (!run.error_occurred && run.aggregate_name == "median")
                medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                       run.GetAdjustedCPUTime()};
    }

    std::map<std::string, Times> medians;
};

// A benchmark measured against its baseline.
struct Comparison {
    std::string measured;
    std::string baseline;
};

// Runs the registered benchmarks (each with repetitions) and prints, for each comparison, how
// many times slower `measured` is than `baseline`, by wall-clock and by CPU time.
inline int runAndCompare(int argc, char** argv, const std::vector<Comparison>& comparisons) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianKeeper keeper;
    benchmark::RunSpecifiedBenchmarks(&keeper);
    for (const auto& [measured, baseline] : comparisons) {
        if (!keeper.medians.count(measured) || !keeper.medians.count(baseline)) continue;
        const MedianKeeper::Times slow = keeper.medians[measured];
        const MedianKeeper::Times fast = keeper.medians[baseline];
        std::printf("\n%s / %s (medians): %.2f wall-clock, %.2f CPU\n", measured.c_str(),
                    baseline.c_str(), slow.wall / fast.wall, slow.cpu / fast.cpu);
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace benchdb
