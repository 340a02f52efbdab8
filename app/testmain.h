#pragma once
// A test main with the application object of the program (so that handlers' exceptions
// reach the standard error box as in the running program) and the workstation locale.
#include "app/application.h"
#include <QLocale>
#include <QTest>

#define KAVOR_APP_TEST_MAIN(TestObject)                                              \
    int main(int argc, char** argv)                                                   \
    {                                                                                 \
        kavor::Application app(argc, argv);                                           \
        QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia));            \
        TestObject tc;                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                    \
        return QTest::qExec(&tc, argc, argv);                                         \
    }
