#pragma once
// Builds main databases filled like a real shop's, for the benchmarks. Rows are made inside
// Firebird by EXECUTE BLOCK loops (far faster than one INSERT per call) from a fixed seed, so a
// given size always holds the same data.
#include <string>

namespace bench {

struct ShopSize {
    std::string name; // the cached file's name: <name>.gdb
    int products;
    int movements;
};

inline const ShopSize kTypicalShop{"typical", 10'000, 100'000};
inline const ShopSize kLargeShop{"large", 100'000, 1'000'000};

// Creates `path` from the main schema (replacing any file there) and fills it.
void generateShop(const std::string& path, int products, int movements);

// The shop's cached file, under the build's bench-data folder.
std::string shopPath(const ShopSize& size);
// The same, generated first when it is missing.
std::string shopDatabase(const ShopSize& size);

} // namespace bench
