// main() for Qt tests that run from a program directory of their own (support/relocate.h).
#pragma once

#include <QApplication>
#include <QtTest>

#include "support/relocate.h"

template <typename TestObject>
int run_relocated_qt_test(int argc, char** argv)
{
    if (!relocated::active())
        return relocated::run_copy(argc, argv);
    QApplication app(argc, argv);
    TestObject test;
    return QTest::qExec(&test, argc, argv);
}
