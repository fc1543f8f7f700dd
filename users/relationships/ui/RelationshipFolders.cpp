#include "RelationshipFolders.h"

#include "MessageService.h"
#include "UA_Choose_User.h"
#include "UA_Resident_Edit.h"
#include "UA_Signature_Type.h"
#include "UA_Surrogate_Edit.h"
#include "UA_User_Mgmt.h"
#include "UA_View_Relations.h"
#include "UserMgmtData.h"
#include "modUserStore.h"

#include <QStandardItemModel>

#include <algorithm>

namespace users {

namespace {

size_t slot(RelationshipKind kind) {
    return static_cast<size_t>(kind);
}

const char* folderName(RelationshipKind kind) {
    switch (kind) {
    case RelationshipKind::Surrogate:
        return clsSignatureRelationships::kSurrogateFolder;
    case RelationshipKind::Resident:
        return clsSignatureRelationships::kResidentFolder;
    case RelationshipKind::Cosignature:
        break;
    }
    return clsSignatureRelationships::kCosignatureFolder;
}

UserFolder treeFolder(RelationshipKind kind) {
    return kind == RelationshipKind::Surrogate  ? UserFolder::SurrogateRelationships
           : kind == RelationshipKind::Resident ? UserFolder::ResidentRelationships
                                                : UserFolder::CosignatureRelationships;
}

QStringList headers(RelationshipKind kind) {
    switch (kind) {
    case RelationshipKind::Surrogate:
        return {"Physician", "First Name", "Last Name", "Surrogates"};
    case RelationshipKind::Resident:
        return {"Resident", "First Name", "Last Name", "Signing Physicians"};
    case RelationshipKind::Cosignature:
        break;
    }
    return {"Physician", "First Name", "Last Name", "Cosigners"};
}

std::string joined(const std::vector<std::string>& parts, const char* separator) {
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : separator) + p;
    return out;
}

const clsUser* userOf(long userId) {
    return Users().Item(clsUsers::Key(userId));
}

// The name of the physician user of a physician, else "#" + the physician id.
std::string physicianName(long physicianId) {
    for (const clsUser& u : Users())
        if (u.m_lngPhysicianId == physicianId)
            return u.m_strUserName;
    return "#" + std::to_string(physicianId);
}

void addOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

} // namespace

RelationshipFolders::RelationshipFolders(UA_User_Mgmt& screen) : QObject(&screen), m_screen(screen) {
    for (RelationshipKind kind :
         {RelationshipKind::Surrogate, RelationshipKind::Resident, RelationshipKind::Cosignature})
        m_models[slot(kind)] = new QStandardItemModel(this);
}

RelationshipFolders* RelationshipFolders::Install(UA_User_Mgmt& screen) {
    auto* folders = new RelationshipFolders(screen);
    UserMgmtHooks& h = screen.hooks;
    h.loadRelationships = [folders] { return folders->Load(); };
    h.relationshipList = [folders](RelationshipKind kind) { return folders->List(kind); };
    h.addRelationship = [folders](QWidget* parent, RelationshipKind kind) { return folders->Add(parent, kind); };
    h.editRelationship = [folders](QWidget* parent, RelationshipKind kind, int row) {
        return folders->Edit(parent, kind, row);
    };
    h.deleteRelationship = [folders](QWidget* parent, RelationshipKind kind, int row) {
        return folders->Delete(parent, kind, row);
    };
    h.viewAllRelationships = [folders](QWidget* parent, long userId) { folders->ViewAll(parent, userId); };
    h.removeUserRelationships = [folders](long userId) { folders->UserDeleted(userId); };
    h.relationshipLinesForDelete = [folders](long userId) { return folders->LinesForDelete(userId); };
    return folders;
}

int RelationshipFolders::run(QDialog& dialog) {
    return m_screen.runDialog ? m_screen.runDialog(dialog) : dialog.exec();
}

bool RelationshipFolders::Load() {
    const auto status = [this](const char* text) {
        if (m_screen.hooks.status)
            m_screen.hooks.status(QString::fromLatin1(text));
    };
    status("Retrieving Surrogates...");
    if (!m_relationships.LoadSurrogates())
        return false;
    status("Retrieving Dependencies...");
    if (!m_relationships.LoadDependencies())
        return false;
    // Residents are the dependencies of the resident kind, already read with the others.
    status("Retrieving Residents...");
    return true;
}

std::vector<std::pair<long, std::string>> RelationshipFolders::groupNames() const {
    std::vector<std::pair<long, std::string>> out;
    for (const clsSecurityGroup& g : m_screen.Groups())
        out.emplace_back(g.m_lngGroupId, g.m_strGroupName);
    return out;
}

QAbstractItemModel* RelationshipFolders::List(RelationshipKind kind) {
    auto& entries = m_entries[slot(kind)];
    entries = m_relationships.Folder(folderName(kind), Users(), groupNames());
    // Physicians shown read-only in this partition are not listed, as their users are not.
    std::erase_if(entries, [](const RelationshipFolderEntry& e) {
        const clsUser* u = userOf(e.dictatorUserId);
        return u && u->Read_Only();
    });
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.dictatorName < b.dictatorName; });
    QStandardItemModel* model = m_models[slot(kind)];
    model->clear();
    model->setHorizontalHeaderLabels(headers(kind));
    for (const auto& e : entries) {
        const clsUser* u = userOf(e.dictatorUserId);
        auto* name = new QStandardItem(QString::fromStdString(e.dictatorName));
        name->setData(QVariant::fromValue<qlonglong>(e.dictatorUserId), Qt::UserRole);
        model->appendRow({name, new QStandardItem(QString::fromStdString(u ? u->m_strFirstName : "")),
                          new QStandardItem(QString::fromStdString(u ? u->m_strLastName : "")),
                          new QStandardItem(QString::fromStdString(joined(e.relations, "; ")))});
    }
    return model;
}

const RelationshipFolderEntry* RelationshipFolders::entry(RelationshipKind kind, int row) const {
    const auto& entries = m_entries[slot(kind)];
    if (row < 0 || row >= static_cast<int>(entries.size()))
        return nullptr;
    return &entries[static_cast<size_t>(row)];
}

std::vector<const clsUser*> RelationshipFolders::ChooseCandidates(RelationshipKind kind) const {
    std::vector<long> taken;
    if (kind == RelationshipKind::Surrogate)
        for (const auto& s : m_relationships.Surrogates())
            taken.push_back(s.m_lngDictatorPhysicianId);
    else
        for (const auto& d : m_relationships.Dependencies())
            taken.push_back(d.m_lngDictatorPhysicianId);
    std::vector<const clsUser*> out;
    for (const clsUser& u : Users())
        if (u.m_lngPhysicianId > 0 && !u.Read_Only() &&
            std::find(taken.begin(), taken.end(), u.m_lngPhysicianId) == taken.end())
            out.push_back(&u);
    return out;
}

bool RelationshipFolders::Add(QWidget* parent, RelationshipKind folder) {
    UA_Signature_Type type(parent);
    type.Select(folder == RelationshipKind::Surrogate  ? UA_Signature_Type::Kind::Surrogate
                : folder == RelationshipKind::Resident ? UA_Signature_Type::Kind::Resident
                                                       : UA_Signature_Type::Kind::Cosigner);
    if (run(type) != QDialog::Accepted)
        return false;
    if (type.Selected() == UA_Signature_Type::Kind::Group) {
        // A physician group's members view and sign for each other; the group editor writes that.
        m_screen.AddGroup(kPhysicianGroup);
        return false;
    }
    const RelationshipKind kind = type.Selected() == UA_Signature_Type::Kind::Surrogate ? RelationshipKind::Surrogate
                                  : type.Selected() == UA_Signature_Type::Kind::Resident
                                      ? RelationshipKind::Resident
                                      : RelationshipKind::Cosignature;
    const std::vector<const clsUser*> candidates = ChooseCandidates(kind);
    if (candidates.empty()) {
        if (kind == RelationshipKind::Surrogate)
            platform::MsgBox("All available Paxlet users are configured as surrogate physicians.",
                             platform::MsgButtons::OK, platform::MsgIcon::Information, "Add Surrogate Relationship");
        else
            platform::MsgBox(
                "All available Paxlet users are configured in a cosigner or resident signature relationship.",
                platform::MsgButtons::OK, platform::MsgIcon::Information, "Add Signature Relationship");
        return false;
    }
    UA_Choose_User chooser(kind == RelationshipKind::Surrogate  ? UA_Choose_User::Kind::Surrogate
                           : kind == RelationshipKind::Resident ? UA_Choose_User::Kind::Resident
                                                                : UA_Choose_User::Kind::Cosigner,
                           candidates, parent);
    if (run(chooser) != QDialog::Accepted)
        return false;
    const clsUser* chosen = userOf(chooser.ChosenUserId());
    if (!chosen || !openEditor(parent, kind, chosen->m_lngPhysicianId, chosen->m_strUserName, true))
        return false;
    if (kind != folder)
        m_screen.SelectFolder(treeFolder(kind));
    return true;
}

bool RelationshipFolders::openEditor(QWidget* parent, RelationshipKind kind, long physicianId, const std::string& name,
                                     bool isNew) {
    if (kind == RelationshipKind::Surrogate) {
        UA_Surrogate_Edit editor(m_relationships, Users(), m_screen.Groups(), parent);
        editor.LoadForm(physicianId, name, isNew);
        return run(editor) == QDialog::Accepted;
    }
    UA_Resident_Edit editor(m_relationships, Users(), m_screen.Groups(), parent);
    editor.LoadForm(physicianId, name, kind == RelationshipKind::Resident);
    return run(editor) == QDialog::Accepted;
}

bool RelationshipFolders::Edit(QWidget* parent, RelationshipKind kind, int row) {
    const RelationshipFolderEntry* e = entry(kind, row);
    return e && openEditor(parent, kind, e->dictatorPhysicianId, e->dictatorName, false);
}

bool RelationshipFolders::Delete(QWidget*, RelationshipKind kind, int row) {
    const RelationshipFolderEntry* e = entry(kind, row);
    if (!e)
        return false;
    const auto which = kind == RelationshipKind::Surrogate  ? clsSignatureRelationships::Kind::Surrogate
                       : kind == RelationshipKind::Resident ? clsSignatureRelationships::Kind::Resident
                                                            : clsSignatureRelationships::Kind::Cosigner;
    return m_relationships.DeleteRelationship(which, e->dictatorPhysicianId, e->dictatorName);
}

void RelationshipFolders::ViewAll(QWidget* parent, long userId) {
    const clsUser* u = userOf(userId);
    if (!u || u->m_lngPhysicianId <= 0)
        return;
    UA_View_Relations view(parent);
    if (view.LoadForm(u->m_lngPhysicianId, u->m_strUserName))
        run(view);
}

void RelationshipFolders::UserDeleted(long) {
    // The rows went with the user; what is held is read again rather than guessed.
    m_relationships.LoadSurrogates();
    m_relationships.LoadDependencies();
}

std::vector<std::string> RelationshipFolders::LinesForDelete(long userId) const {
    const clsUser* u = userOf(userId);
    if (!u || u->m_lngPhysicianId <= 0)
        return {};
    const long p = u->m_lngPhysicianId;
    std::vector<std::string> surrogateFor, related;
    for (const auto& s : m_relationships.Surrogates())
        if (!s.IsGroup() && s.m_lngSurrogatePhysicianId == p)
            addOnce(surrogateFor, physicianName(s.m_lngDictatorPhysicianId));
    for (const auto& d : m_relationships.Dependencies()) {
        if (d.m_lngDictatorPhysicianId == p && !d.IsGroup())
            addOnce(related, physicianName(d.m_lngCosignerPhysicianId));
        else if (!d.IsGroup() && d.m_lngCosignerPhysicianId == p)
            addOnce(related, physicianName(d.m_lngDictatorPhysicianId));
    }
    std::vector<std::string> lines;
    if (!surrogateFor.empty())
        lines.push_back("This user is a surrogate for the following users: " + joined(surrogateFor, ", "));
    if (!related.empty())
        lines.push_back("This user is in a cosigner or resident relationship with the following users: " +
                        joined(related, ", "));
    return lines;
}

} // namespace users
