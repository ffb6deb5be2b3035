// Host tool: reads the vendor's price list, reports what is wrong with it (file, line,
// column) and, when nothing is, writes the header the program is built with and the QR code
// picture the form carries.
//   vendorc IN.toml OUT.h [OUT-PICTURE DEPFILE]
// DEPFILE names the vendor's own picture, for the build to follow its changes.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "tools/VendorFile.h"

namespace {

std::string ReadAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Unchanged bytes leave the file alone, so nothing rebuilds for nothing.
bool WriteIfChanged(const char* path, const std::string& bytes) {
    if (std::ifstream(path, std::ios::binary) && ReadAll(path) == bytes) return true;
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

std::string ShellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// zbarimg where it is installed: 0 when it read a code, 4 when it found none.
std::optional<bool> ZbarFindsCode(const std::string& path) {
    if (std::system("command -v zbarimg >/dev/null 2>&1") != 0) return std::nullopt;
    const int status = std::system(("zbarimg -q --raw -Sdisable -Sqrcode.enable " + ShellQuoted(path) + " >/dev/null 2>&1").c_str());
    if (status == -1 || !WIFEXITED(status)) return std::nullopt;
    if (WEXITSTATUS(status) == 0) return true;
    if (WEXITSTATUS(status) == 4) return false;
    return std::nullopt;
}

// A path as a make-style dependency file holds it.
std::string DepfilePath(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#' || c == '\\') out += '\\';
        if (c == '$') out += '$';
        out += c;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: vendorc IN.toml OUT.h [OUT-PICTURE DEPFILE]\n");
        return 2;
    }
    if (!std::ifstream(argv[1], std::ios::binary)) {
        std::fprintf(stderr, "vendorc: cannot read %s\n", argv[1]);
        return 1;
    }
    namespace vf = qelvane::vendorfile;
    auto result = vf::ReadVendorFile(ReadAll(argv[1]), argv[1]);
    vf::PictureResult picture;
    if (result.Ok() && argc == 5) {
        picture = vf::QrPicture(result.data, argv[1], ZbarFindsCode);
        result.findings.insert(result.findings.end(), picture.findings.begin(), picture.findings.end());
    }
    for (const auto& f : result.findings) std::fprintf(stderr, "%s\n", f.text.c_str());
    if (!result.Ok()) {
        std::fprintf(stderr, "vendorc: %s has errors; nothing written\n", argv[1]);
        return 1;
    }
    if (!WriteIfChanged(argv[2], vf::VendorHeader(result.data))) return 1;
    if (argc == 5) {
        std::string deps = DepfilePath(argv[2]) + ":";
        if (!result.data.qrPicture.empty())
            deps += " " + DepfilePath(vf::OwnPicturePath(result.data, argv[1]));
        if (!WriteIfChanged(argv[3], std::string(picture.bytes.begin(), picture.bytes.end())) ||
            !WriteIfChanged(argv[4], deps + "\n"))
            return 1;
    }
    return 0;
}
