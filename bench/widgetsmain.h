// The main() of a benchmark that makes widgets: offscreen unless a platform is asked for.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

inline int runWidgetBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
