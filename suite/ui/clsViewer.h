#pragma once

#include <QPointer>

#include <string>

class QDialog;
class QWidget;

namespace suite {

// The upload viewer: a read-only window over one output of the suite's output queue (an upload to
// an external system), read through a connection of its own, as the suite's other components do.
class clsViewer {
public:
    std::string ViewerTimeout = "60"; // seconds the viewer waits to reach the database
    std::string SqlTimeout;           // seconds the read may take; blank or 0: no limit
    std::string IniFile;              // KALDRA.INI: its network root resolves a relative temp file name
    std::string ConnectionString;     // the suite database

    // Reads the output and shows it in a window of its own; false when the database cannot be
    // reached or holds no such output.
    bool ViewRecord(long outputIdentifier, QWidget* parent = nullptr);
    // The window of the last ViewRecord (it closes with its parent or its Close button).
    [[nodiscard]] QDialog* Window() const { return m_window; }

private:
    QPointer<QDialog> m_window;
};

} // namespace suite
