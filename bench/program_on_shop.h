#pragma once
// The program as a benchmark's child process runs it: a Qt application set up as the program's
// own, and the data module DM opened on a program folder around a copy of the shop.
#include "app/app_setup.h"
#include "bench/firebird_api.h"
#include "bench/measurement.h"
#include "bench/shop_generator.h"
#include "bench/shop_program_folder.h"
#include "core/data_module.h"
#include "core/globals.h"
#include "platform/ui/application.h"
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace bench {

// The shop a benchmark's first argument names: "typical" or "large"; nullopt for another word.
inline std::optional<ShopSize> shopNamed(const std::string& word) {
    if (word == "typical")
        return kTypicalShop;
    if (word == "large")
        return kLargeShop;
    return std::nullopt;
}

// The shop's database, generated the first time in a child process, so that the generator's
// memory never counts in the measured process.
inline std::string readyShop(const ShopSize& size) {
    const std::string path = shopPath(size);
    if (!std::filesystem::exists(path))
        measureInChild([&](Probe&) { shopDatabase(size); });
    return path;
}

class ProgramOnShop {
public:
    ProgramOnShop(const char* name, const std::string& shop, const std::string& settings)
        : name_(name), app_(argc_, argv_), folder_(shop, settings) {
        setUpApplication(app_);
        caminho_sistema = folder_.path();
        module_ = std::make_unique<TDM>();
        DM = module_.get();
    }
    ~ProgramOnShop() { DM = nullptr; }
    ProgramOnShop(const ProgramOnShop&) = delete;
    ProgramOnShop& operator=(const ProgramOnShop&) = delete;

private:
    int argc_ = 1;
    std::string name_;
    char* argv_[2] = {name_.data(), nullptr};
    ui::Application app_;
    ShopProgramFolder folder_;
    std::unique_ptr<TDM> module_;
};

// A benchmark's main: reads "[typical|large] [--runs N]" (large and 3 by default) and runs
// `oneProcess` with the shop's file that many times; 0, or 2 for a wrong argument, 1 on failure.
inline int runOnShop(int argc, char** argv,
                     const std::function<void(const std::string&)>& oneProcess) {
    ShopSize shop = kLargeShop;
    int runs = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto named = shopNamed(arg))
            shop = *named;
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: %s [typical|large] [--runs N]\n", argv[0]);
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    prepareFirebirdEnvironment();
    try {
        const std::string path = readyShop(shop);
        for (int run = 0; run < runs; ++run)
            oneProcess(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

// Wall-clock seconds the work takes.
inline double seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace bench
