// The test classes of the desktop program, run one after the other by the
// suite's main.
#pragma once

#include <QObject>
#include <memory>
#include <vector>

namespace lemmabox::testing {

std::unique_ptr<QObject> MakeStartupTest();
std::unique_ptr<QObject> MakeAlertTest();
std::unique_ptr<QObject> MakeInterruptTest();
std::unique_ptr<QObject> MakeCloseTest();
std::unique_ptr<QObject> MakeClipboardTest();
std::unique_ptr<QObject> MakeMenuTest();
std::unique_ptr<QObject> MakeKeyTest();
std::unique_ptr<QObject> MakeScreenPortTest();
std::unique_ptr<QObject> MakeCrashTest();
std::unique_ptr<QObject> MakeSingleInstanceTest();
std::unique_ptr<QObject> MakeTipTest();
std::unique_ptr<QObject> MakePaneTest();
std::unique_ptr<QObject> MakeEditingTest();
std::unique_ptr<QObject> MakeScreenshots();

}  // namespace lemmabox::testing
