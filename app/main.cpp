// The administration console. Besides the suite's switches (/INI=, /SKIPBACKGROUND, /NOSYSPRN,
// /CPU=, /DEV) it takes, for automation only:
//   --screenshot FILE   start up (offscreen when there is no display), save the main window as PNG, exit
//   --timing            print the milliseconds from process start to the main window shown
// With either, the log-in may come from KDADMIN_AUTOLOGIN="USER:PASSWORD" instead of the dialog.
// `kdadmin import-users|export|disable-user ...` and `kdadmin --help` run the command line for
// scripts instead of the desktop (AdminCommand.h).

#include "AdminCommand.h"
#include "AdminCommandRunner.h"
#include "DialogLoginPrompt.h"
#include "General_MDI.h"
#include "LoginComponent.h"
#include "QtServices.h"
#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

namespace {

// Answers the log-in once from the environment, then like a Cancel.
class AutomationPrompt : public suite::LoginPrompt {
public:
    explicit AutomationPrompt(std::string credentials) : m_credentials(std::move(credentials)) {}
    bool askCredentials(std::string& user, std::string& password, const std::string& message) override {
        if (m_used) {
            std::cerr << "kdadmin: automatic log-in refused: " << message << "\n";
            return false;
        }
        m_used = true;
        size_t colon = m_credentials.find(':');
        user = m_credentials.substr(0, colon);
        password = colon == std::string::npos ? std::string() : m_credentials.substr(colon + 1);
        return true;
    }
    bool askNewPassword(std::string&, std::string&, const std::string&) override { return false; }

private:
    std::string m_credentials;
    bool m_used = false;
};

// The command line for scripts: no window, messages on standard error, no automatic log-in.
int runCommandLine(int argc, char** argv) {
    const app::AdminCommand command = app::ParseAdminCommand(std::vector<std::string>(argv + 1, argv + argc));
    if (command.help) {
        std::cout << app::AdminUsage();
        return app::AdminCommand::kDone;
    }
    if (!command.error.empty()) {
        std::cerr << "kdadmin: " << command.error << "\n" << app::AdminUsage();
        return app::AdminCommand::kUsage;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Veltra Desktop");
    return app::RunAdminCommand(command, QDir::currentPath().toStdString(),
                                QCoreApplication::applicationDirPath().toStdString(), std::cout, std::cerr);
}

// A command word or an option of the command line anywhere; the desktop's own switches are
// /INI= and the like, --screenshot FILE and --timing.
bool commandLineWanted(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--screenshot") {
            ++i;
            continue;
        }
        if (a != "--timing" && (app::IsAdminCommand(a) || a.rfind("-", 0) == 0))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (commandLineWanted(argc, argv))
        return runCommandLine(argc, argv);
    QElapsedTimer clock;
    clock.start();
    std::string screenshot;
    bool timing = false;
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            screenshot = argv[++i];
        else if (std::strcmp(argv[i], "--timing") == 0)
            timing = true;
        else
            args.emplace_back(argv[i]);
    }
    const bool automation = !screenshot.empty() || timing;
    if (automation && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    // Qt adopted the user's locale for the C library too. The ODBC drivers loaded into this process
    // format and read numbers with it, and SQL text and SQL Server's answers use a decimal point:
    // the C library's numbers stay in the C locale. What the user reads follows QLocale.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName("Veltra Desktop");

    mainwindow::General_MDI window;
    platform::installQtServices(&window);
    suite::LoginComponent login;
    suite::DialogLoginPrompt dialogs("Veltra Desktop", &window);
    const char* auto_login = std::getenv("KDADMIN_AUTOLOGIN");
    AutomationPrompt scripted(auto_login ? auto_login : "");
    suite::LoginPrompt& prompt = automation && auto_login ? static_cast<suite::LoginPrompt&>(scripted)
                                                          : static_cast<suite::LoginPrompt&>(dialogs);
    app::Startup startup(window, login, prompt);
    if (!startup.run(args, QDir::currentPath().toStdString(), QCoreApplication::applicationDirPath().toStdString()))
        return 1;
    window.show();
    QApplication::processEvents();
    if (timing)
        std::cout << "start-up: " << clock.elapsed() << " ms\n";
    if (!screenshot.empty()) {
        window.grab().save(QString::fromStdString(screenshot), "PNG");
        std::cout << "main window saved to " << screenshot << "\n";
    }
    if (automation) {
        window.close();
        return 0;
    }
    return QApplication::exec();
}
