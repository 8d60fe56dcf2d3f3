#pragma once

#include "app/ProgramInfo.h"
#include "app/RenderingChoice.h"
#include "support/Xvfb.h"

#include <QApplication>
#include <QTest>

#include <cstdlib>

// Like QTEST_MAIN, but the test program first starts its own virtual display.
#define SORVEL_TEST_MAIN_WITH_DISPLAY(TestClass)                                                   \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        Xvfb xvfb;                                                                                 \
        if (!xvfb.start()) {                                                                       \
            return EXIT_FAILURE;                                                                   \
        }                                                                                          \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                \
        QApplication app(argc, argv);                                                              \
        ProgramInfo::initResources();                                                              \
        RenderingChoice::apply();                                                                  \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
