#include "CupsServer.h"

#include <QApplication>
#include <gtest/gtest.h>

// GUI tests run on Qt's offscreen platform unless told otherwise.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The printing tests' scheduler: named before Qt's print support first asks for printers.
    kdtest::CupsServer::claimSocket();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
