#include "tests/ui/ui_test_main.h"

#include <QApplication>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace quillon::testing {

namespace {

std::map<std::string, UiTestFactory>& registry() {
    static std::map<std::string, UiTestFactory> classes;
    return classes;
}

int runClass(UiTestFactory make, std::vector<char*> args) {
    std::unique_ptr<QObject> test = make();
    return QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
}

}  // namespace

bool registerUiTest(const char* name, UiTestFactory make) {
    registry().emplace(name, make);
    return true;
}

}  // namespace quillon::testing

// "quillon_ui_tests [CLASS [QtTest options]]"
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    auto& classes = quillon::testing::registry();
    if (argc > 1 && argv[1][0] != '-') {
        auto it = classes.find(argv[1]);
        if (it == classes.end()) {
            std::fprintf(stderr, "no test class %s\n", argv[1]);
            return 2;
        }
        std::vector<char*> args{argv[0]};
        args.insert(args.end(), argv + 2, argv + argc);
        return quillon::testing::runClass(it->second, args);
    }
    int failed = 0;
    for (const auto& [name, make] : classes) {
        failed += quillon::testing::runClass(make, std::vector<char*>(argv, argv + argc)) != 0;
    }
    return failed;
}
