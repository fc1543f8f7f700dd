#include "SpeechUserModel.h"

namespace speech {

int SpeechUserModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_visible.size());
}

int SpeechUserModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant SpeechUserModel::data(const QModelIndex& index, int role) const {
    const Entry* e = entryAt(index.row());
    if (!e || role != Qt::DisplayRole)
        return {};
    if (index.column() == 0)
        return QString::fromStdString(e->deleted ? kDeleted : e->name);
    return QString::fromStdString(e->holder);
}

QVariant SpeechUserModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("User Name") : QStringLiteral("Physician");
}

void SpeechUserModel::setUsers(std::vector<std::string> names, const std::map<std::string, std::string>& holders) {
    beginResetModel();
    m_entries.clear();
    m_entries.reserve(names.size());
    for (auto& n : names) {
        const auto h = holders.find(n);
        m_entries.push_back(Entry{std::move(n), h == holders.end() ? std::string() : h->second, false});
    }
    rebuild();
    endResetModel();
}

void SpeechUserModel::setFilter(const QString& text, bool unassignedOnly) {
    beginResetModel();
    m_filter = text;
    m_unassignedOnly = unassignedOnly;
    rebuild();
    endResetModel();
}

void SpeechUserModel::rebuild() {
    m_visible.clear();
    const std::string filter = m_filter.toUpper().toStdString();
    for (int i = 0; i < static_cast<int>(m_entries.size()); ++i) {
        const Entry& e = m_entries[static_cast<size_t>(i)];
        if (m_unassignedOnly && !e.holder.empty())
            continue;
        if (!filter.empty()) {
            const QString name = QString::fromStdString(e.name + " " + e.holder).toUpper();
            if (!name.contains(m_filter.toUpper()))
                continue;
        }
        m_visible.push_back(i);
    }
}

int SpeechUserModel::rowOf(const std::string& name) const {
    for (int r = 0; r < static_cast<int>(m_visible.size()); ++r) {
        const Entry& e = m_entries[static_cast<size_t>(m_visible[static_cast<size_t>(r)])];
        if (!e.deleted && e.name == name)
            return r;
    }
    return -1;
}

const SpeechUserModel::Entry* SpeechUserModel::entryAt(int row) const {
    if (row < 0 || row >= static_cast<int>(m_visible.size()))
        return nullptr;
    return &m_entries[static_cast<size_t>(m_visible[static_cast<size_t>(row)])];
}

int SpeechUserModel::addUser(const std::string& name) {
    beginResetModel();
    m_entries.push_back(Entry{name, {}, false});
    rebuild();
    endResetModel();
    const int row = rowOf(name);
    if (row >= 0)
        return row;
    // A new user hidden by the filter is shown all the same.
    setFilter({}, false);
    return rowOf(name);
}

void SpeechUserModel::markDeleted(int row) {
    if (row < 0 || row >= static_cast<int>(m_visible.size()))
        return;
    m_entries[static_cast<size_t>(m_visible[static_cast<size_t>(row)])].deleted = true;
    Q_EMIT dataChanged(index(row, 0), index(row, 1));
}

} // namespace speech
