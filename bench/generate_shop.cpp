// Generates a shop database: `generate_shop typical|large` fills the cached file the benchmarks
// use (when missing), `generate_shop PRODUCTS MOVEMENTS FILE` makes a fresh one of any size.
#include "bench/shop_generator.h"
#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    try {
        const std::string what = argc > 1 ? argv[1] : "";
        if (argc == 2 && (what == "typical" || what == "large")) {
            const auto& size = what == "large" ? bench::kLargeShop : bench::kTypicalShop;
            std::printf("%s\n", bench::shopDatabase(size).c_str());
            return 0;
        }
        if (argc == 4) {
            bench::generateShop(argv[3], std::stoi(argv[1]), std::stoi(argv[2]));
            std::printf("%s\n", argv[3]);
            return 0;
        }
        std::fprintf(stderr, "usage: %s typical|large\n       %s PRODUCTS MOVEMENTS FILE\n",
                     argv[0], argv[0]);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
