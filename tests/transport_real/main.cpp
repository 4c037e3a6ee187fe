#include <QCoreApplication>

#include <gtest/gtest.h>

// Qt Serial Port wants an application object for its socket notifiers.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
