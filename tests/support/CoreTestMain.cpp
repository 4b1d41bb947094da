#include <QCoreApplication>

#include <gtest/gtest.h>

// The core runs without widgets and without a display: a plain core application is enough.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
