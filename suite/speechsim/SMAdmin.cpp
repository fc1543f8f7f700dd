// The administration program of the simulated speech system: shows the store beside its BIN folder.

#include "SpeechStore.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    std::string self = argc > 0 ? argv[0] : "";
    char real[4096];
    if (::realpath(self.c_str(), real))
        self = real;
    const std::string bin = self.substr(0, self.find_last_of('/'));
    const std::string store = argc > 1 ? argv[1] : bin.substr(0, bin.find_last_of('/')) + "/SMSTORE.TXT";
    std::string error;
    const auto state = speechsim::loadStoreFile(store, &error);
    if (!state) {
        std::cerr << "SpeechMagic Administration: " << store << ": " << error << "\n";
        return 1;
    }
    std::cout << "SpeechMagic Administration - " << store << "\n\nConTexts:\n";
    for (const auto& c : state->contexts)
        std::cout << "  " << c << "\n";
    std::cout << "\nInput channels:\n";
    for (const auto& c : state->channels)
        std::cout << "  " << c.type << "  " << c.description << "\n";
    std::cout << "\nUsers:\n";
    for (const auto& [name, u] : state->users) {
        std::cout << "  " << name
                  << (u.gender == 1   ? "  male"
                      : u.gender == 2 ? "  female"
                                      : "  -")
                  << "  language " << u.language
                  << (u.pendingDictations ? "  pending " + std::to_string(u.pendingDictations) : "")
                  << (u.purgeLocked ? "  locked" : "") << "\n";
        for (const auto& c : u.contexts)
            std::cout << "      " << c << "\n";
    }
    return 0;
}
