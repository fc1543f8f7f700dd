#pragma once

#include <QAbstractTableModel>

#include <map>
#include <string>
#include <vector>

namespace speech {

// The speech system's users for the chooser: the name (or "<DELETED>" once removed here) and the
// physician holding it. Filtering by typed text and to unassigned users happens here.
class SpeechUserModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr const char* kDeleted = "<DELETED>";
    struct Entry {
        std::string name;
        std::string holder;
        bool deleted = false;
    };

    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setUsers(std::vector<std::string> names, const std::map<std::string, std::string>& holders);
    void setFilter(const QString& text, bool unassignedOnly);
    // The visible row of a (not deleted) user, or -1.
    [[nodiscard]] int rowOf(const std::string& name) const;
    [[nodiscard]] const Entry* entryAt(int row) const;
    int addUser(const std::string& name);
    void markDeleted(int row);

private:
    void rebuild();
    std::vector<Entry> m_entries;
    std::vector<int> m_visible;
    QString m_filter;
    bool m_unassignedOnly = false;
};

} // namespace speech
