// Host tool: reads the vendor's price list, reports what is wrong with it (file, line,
// column) and, when nothing is, writes the header the program is built with.
//   vendorc IN.toml OUT.h
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/VendorFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vendorc IN.toml OUT.h\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vendorc: cannot read %s\n", argv[1]);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto result = qelvane::vendorfile::ReadVendorFile(text, argv[1]);
    for (const auto& f : result.findings) std::fprintf(stderr, "%s\n", f.text.c_str());
    if (!result.Ok()) {
        std::fprintf(stderr, "vendorc: %s has errors; no header written\n", argv[1]);
        return 1;
    }
    const std::string header = qelvane::vendorfile::VendorHeader(result.data);
    // Unchanged text leaves the file alone, so nothing rebuilds for nothing.
    std::ifstream old(argv[2], std::ios::binary);
    if (old && std::string((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>()) == header)
        return 0;
    std::ofstream out(argv[2], std::ios::binary);
    out << header;
    return out ? 0 : 1;
}
