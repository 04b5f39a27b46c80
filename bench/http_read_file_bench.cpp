// Fetches a URL with HttpReadFile a number of times and prints the seconds each
// fetch took (from the call to its return), one per line, and the body size.
//   bench_http_read_file URL [ROUNDS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "net/http_read_file.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s URL [ROUNDS]\n", argv[0]);
        return 2;
    }
    const Text url = argv[1];
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 1;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const ByteSet body = HttpReadFile(url);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::printf("%.6f %zu\n", took.count(), body.size());
    }
    return 0;
}
