// Test stand-in for a started program: records the file it runs from and every argument it got.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

// Writes, NUL-separated, the program's own path and its arguments into the file named by
// SCADEX_RECORD_FILE, renaming it into place at the end so a reader never sees half of it.
int main(int argc, char** argv) {
    const char* target = std::getenv("SCADEX_RECORD_FILE");
    if (target == nullptr) return 2;
    char self[PATH_MAX] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) < 0) return 3;
    const std::string partial = std::string(target) + ".part";
    FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) return 4;
    std::fwrite(self, 1, std::char_traits<char>::length(self), out);
    for (int i = 1; i < argc; ++i) {
        std::fputc('\0', out);
        std::fwrite(argv[i], 1, std::char_traits<char>::length(argv[i]), out);
    }
    if (std::fclose(out) != 0) return 5;
    return std::rename(partial.c_str(), target) == 0 ? 0 : 6;
}
