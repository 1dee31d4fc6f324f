#pragma once

#include <QObject>
#include <memory>

namespace quillon::testing {

// Each window test file registers its QtTest class; the test program runs the class named by
// its first argument, or every class without one.
using UiTestFactory = std::unique_ptr<QObject> (*)();
bool registerUiTest(const char* name, UiTestFactory make);

}  // namespace quillon::testing

#define QUILLON_UI_TEST(Class)                                                           \
    namespace {                                                                          \
    const bool kRegistered##Class = quillon::testing::registerUiTest(                    \
        #Class, []() -> std::unique_ptr<QObject> { return std::make_unique<Class>(); }); \
    }
