// The administration program of the simulated speech system: shows the store beside its BIN folder,
// in a window when the desktop has a display (and the console was built with Qt), otherwise on
// standard output. "--print" always prints.

#include "SpeechStore.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

#ifdef KD_SMADMIN_WINDOW
#include <QApplication>
#include <QPlainTextEdit>
#endif

namespace {

std::string describe(const std::string& path, const speechsim::Store& store) {
    std::ostringstream out;
    out << "SpeechMagic Administration - " << path << "\n\nConTexts:\n";
    for (const auto& c : store.contexts)
        out << "  " << c << "\n";
    out << "\nInput channels:\n";
    for (const auto& c : store.channels)
        out << "  " << c.type << "  " << c.description << "\n";
    out << "\nUsers:\n";
    for (const auto& [name, u] : store.users) {
        out << "  " << name
            << (u.gender == 1   ? "  male"
                : u.gender == 2 ? "  female"
                                : "  -")
            << "  language " << u.language
            << (u.pendingDictations ? "  pending " + std::to_string(u.pendingDictations) : "")
            << (u.purgeLocked ? "  locked" : "") << "\n";
        for (const auto& c : u.contexts)
            out << "      " << c << "\n";
    }
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    std::string self = argc > 0 ? argv[0] : "";
    char real[4096];
    if (::realpath(self.c_str(), real))
        self = real;
    [[maybe_unused]] bool print = false;
    std::string store;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--print") == 0)
            print = true;
        else
            store = argv[i];
    }
    const std::string bin = self.substr(0, self.find_last_of('/'));
    if (store.empty())
        store = bin.substr(0, bin.find_last_of('/')) + "/SMSTORE.TXT";
    std::string error;
    const auto state = speechsim::loadStoreFile(store, &error);
    const std::string text = state ? describe(store, *state) : "SpeechMagic Administration: " + store + ": " + error;
#ifdef KD_SMADMIN_WINDOW
    const bool display = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!print && display) {
        QApplication app(argc, argv);
        QPlainTextEdit view;
        view.setObjectName("txtStore");
        view.setWindowTitle("SpeechMagic Administration");
        view.setReadOnly(true);
        view.setPlainText(QString::fromStdString(text));
        view.resize(560, 480);
        view.show();
        return app.exec();
    }
#endif
    (state ? std::cout : std::cerr) << text << (state ? "" : "\n");
    return state ? 0 : 1;
}
