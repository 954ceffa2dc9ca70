// Test main for the widget tests: one QApplication for the whole program, offscreen by default.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Qt's widget stack keeps allocations until exit that leak detection would report, so widget
// test programs run without it, also when they only list their cases; the environment may
// still turn it on.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Default exports go under the base folder; keep them out of the user's documents.
    QTemporaryDir baseDir;
    if (qEnvironmentVariableIsEmpty("BRIMVALE_BASE_DIR")) {
        qputenv("BRIMVALE_BASE_DIR", baseDir.path().toLocal8Bit());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
