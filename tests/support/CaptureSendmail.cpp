// A sendmail-compatible program for tests: stores its arguments (one a line) and the message it
// reads on standard input in the folder named by KD_CAPTURE_DIR, then ends with the exit status
// given by KD_CAPTURE_EXIT (0 when unset), saying why on its error output when that is not 0.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    const char* dir = std::getenv("KD_CAPTURE_DIR");
    if (!dir || !*dir) {
        std::cerr << "capture-sendmail: KD_CAPTURE_DIR is not set\n";
        return 78;
    }
    std::ofstream args(std::string(dir) + "/args");
    for (int i = 0; i < argc; ++i)
        args << argv[i] << '\n';
    const std::string message((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    std::ofstream(std::string(dir) + "/message", std::ios::binary) << message;
    const char* status = std::getenv("KD_CAPTURE_EXIT");
    const int code = status ? std::atoi(status) : 0;
    if (code != 0)
        std::cerr << "capture-sendmail: queue unavailable\n";
    return code;
}
