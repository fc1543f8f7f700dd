// kdsite: creates the demo site and grows it to a large site's size.
//
//   kdsite demo <folder> <driver library> [--no-speech]
//                                              create (or re-create) the demo site in <folder>, with
//                                              the speech simulator in SpeechMagic/ unless --no-speech,
//                                              its dictation purge procedure written and run once
//   kdsite new <folder> <driver library>       create (or re-create) a new installation's site in
//                                              <folder>: built-in rows only, the wizard at log-in
//   kdsite scale <folder> [--seed N] [--small] grow the site's database (--small: a tenth)
//   kdsite rekey <folder>                      write every stored password again under the site's key
//                                              (made first when the site has none)
//   kdsite purge-dictation <folder>            run the site's dictation purge procedure once, as the
//                                              dictation processor does, and tell how many jobs it queued

#include "DemoDictationPurge.h"
#include "DemoSite.h"
#include "DictationPurgeCommand.h"
#include "SiteRekeyCommand.h"
#include "SpeechDemo.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "demo") == 0) {
        try {
            auto report = demo::createDemoSite(argv[2], argv[3]);
            if (!(argc >= 5 && std::strcmp(argv[4], "--no-speech") == 0))
                tools::installSpeechDemo(argv[2], KD_SPEECH_BIN);
            if (tools::fillDemoPurgeQueue(argv[2], std::cout, std::cerr) != 0)
                return 1;
            std::cout << "Demo site created in " << argv[2] << " (" << report.seconds << " s, database "
                      << report.databaseBytes / 1024 << " KB).\n";
            return 0;
        } catch (const std::exception& e) {
            std::cerr << "kdsite: " << e.what() << "\n";
            return 1;
        }
    }
    if (argc >= 4 && std::strcmp(argv[1], "new") == 0) {
        try {
            auto report = demo::createNewSite(argv[2], argv[3]);
            std::cout << "New installation created in " << argv[2] << " (" << report.seconds << " s, database "
                      << report.databaseBytes / 1024 << " KB).\n";
            return 0;
        } catch (const std::exception& e) {
            std::cerr << "kdsite: " << e.what() << "\n";
            return 1;
        }
    }
    if (argc >= 3 && std::strcmp(argv[1], "scale") == 0) {
        demo::ScaleOptions o;
        for (int i = 3; i < argc; ++i) {
            if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
                o.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
            else if (std::strcmp(argv[i], "--small") == 0) {
                o.users /= 10;
                o.physicians /= 10;
                o.accounts /= 10;
                o.logRows /= 10;
                o.logRowsOnOneDay /= 10;
                o.outputRows /= 10;
            }
        }
        try {
            auto report = demo::scaleDemoSite(argv[2], o);
            std::cout << "Site grown in " << report.seconds << " s; database " << report.databaseBytes / (1024 * 1024)
                      << " MB.\n";
            return 0;
        } catch (const std::exception& e) {
            std::cerr << "kdsite: " << e.what() << "\n";
            return 1;
        }
    }
    if (argc >= 3 && std::strcmp(argv[1], "rekey") == 0)
        return tools::rekeySite(argv[2], std::cout, std::cerr);
    if (argc >= 3 && std::strcmp(argv[1], "purge-dictation") == 0)
        return tools::purgeDictationJobs(argv[2], std::cout, std::cerr);
    std::cerr << "usage: kdsite demo <folder> <driver library> [--no-speech]\n"
                 "       kdsite new <folder> <driver library>\n"
                 "       kdsite scale <folder> [--seed N] [--small]\n"
                 "       kdsite rekey <folder>\n"
                 "       kdsite purge-dictation <folder>\n";
    return 2;
}
