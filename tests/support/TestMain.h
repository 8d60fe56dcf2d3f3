#pragma once

#include "support/GuiSession.h"

#include <QTest>

#include <cstdlib>

// Like QTEST_MAIN, but the test program first starts its own virtual display.
#define SORVEL_TEST_MAIN_WITH_DISPLAY(TestClass)                                                   \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        GuiSession session(argc, argv);                                                            \
        if (!session.isValid()) {                                                                  \
            return EXIT_FAILURE;                                                                   \
        }                                                                                          \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
