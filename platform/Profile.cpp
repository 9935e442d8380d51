#include "platform/Profile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <map>

#include "platform/ProgramState.h"
#include "platform/TextFile.h"

namespace {

constexpr const char* kCompany = "kel-vo";
constexpr const char* kApplication = "Tessaray";

class MemoryProfile : public CProfile {
public:
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) override {
        const std::string* v = Find(section, entry);
        if (!v) return defaultValue;
        return AtoI(*v);
    }
    BOOL WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
        m_values[Key(section, entry)] = std::to_string(value);
        return TRUE;
    }
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) override {
        const std::string* v = Find(section, entry);
        return v ? *v : std::string(defaultValue);
    }
    BOOL WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) override {
        m_values[Key(section, entry)] = std::string(value);
        return TRUE;
    }
    BOOL GetProfileBinary(std::string_view section, std::string_view entry, std::vector<BYTE>& data) override {
        const std::string* v = Find(section, entry);
        if (!v) return FALSE;
        data.assign(v->begin(), v->end());
        return TRUE;
    }
    BOOL WriteProfileBinary(std::string_view section, std::string_view entry, const void* data,
                            std::size_t size) override {
        m_values[Key(section, entry)] = std::string(static_cast<const char*>(data), size);
        return TRUE;
    }
    BOOL HasEntry(std::string_view section, std::string_view entry) override {
        return Find(section, entry) != nullptr;
    }
    BOOL DeleteEntry(std::string_view section, std::string_view entry) override {
        return m_values.erase(Key(section, entry)) ? TRUE : FALSE;
    }
    BOOL DeleteSection(std::string_view section) override {
        const std::string prefix = std::string(section) + '\x01';
        const std::string subkeys = std::string(section) + '\\';
        bool any = false;
        for (auto it = m_values.begin(); it != m_values.end();) {
            if (it->first.starts_with(prefix) || it->first.starts_with(subkeys)) {
                it = m_values.erase(it);
                any = true;
            } else {
                ++it;
            }
        }
        return any ? TRUE : FALSE;
    }
    BOOL DeleteAll() override {
        m_values.clear();
        return TRUE;
    }

private:
    static std::string Key(std::string_view section, std::string_view entry) {
        return std::string(section) + '\x01' + std::string(entry);
    }
    const std::string* Find(std::string_view section, std::string_view entry) const {
        auto it = m_values.find(Key(section, entry));
        return it == m_values.end() ? nullptr : &it->second;
    }
    std::map<std::string, std::string> m_values;
};

QString QStr(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Subkeys become nested groups; the INI file keeps the program's own section names.
QString GroupKey(std::string_view section, std::string_view entry) {
    QString group = QStr(section);
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return group + QLatin1Char('/') + QStr(entry);
}

class SettingsProfile : public CProfile {
public:
    SettingsProfile() : m_settings(QSettings::IniFormat, QSettings::UserScope, kCompany, kApplication) {}

    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) override {
        const QVariant v = m_settings.value(GroupKey(section, entry));
        if (!v.isValid()) return defaultValue;
        bool ok = false;
        const int i = v.toInt(&ok);
        return ok ? i : AtoI(v.toString().toStdString());
    }
    BOOL WriteProfileInt(std::string_view section, std::string_view entry, int value) override {
        const QString key = GroupKey(section, entry);
        if (!HoldsText(key, QString::number(value))) m_settings.setValue(key, value);
        return TRUE;
    }
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) override {
        const QVariant v = m_settings.value(GroupKey(section, entry));
        if (!v.isValid()) return std::string(defaultValue);
        return v.toString().toStdString();
    }
    BOOL WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) override {
        const QString key = GroupKey(section, entry);
        const QString text = QStr(value);
        if (!HoldsText(key, text)) m_settings.setValue(key, text);
        return TRUE;
    }
    BOOL GetProfileBinary(std::string_view section, std::string_view entry, std::vector<BYTE>& data) override {
        const QVariant v = m_settings.value(GroupKey(section, entry));
        if (!v.isValid()) return FALSE;
        const QByteArray bytes = v.toByteArray();
        data.assign(bytes.begin(), bytes.end());
        return TRUE;
    }
    BOOL WriteProfileBinary(std::string_view section, std::string_view entry, const void* data,
                            std::size_t size) override {
        const QString key = GroupKey(section, entry);
        const QByteArray bytes(static_cast<const char*>(data), static_cast<qsizetype>(size));
        const QVariant held = m_settings.value(key);
        if (held.typeId() != QMetaType::QByteArray || held.toByteArray() != bytes)
            m_settings.setValue(key, bytes);
        return TRUE;
    }
    BOOL HasEntry(std::string_view section, std::string_view entry) override {
        return m_settings.contains(GroupKey(section, entry)) ? TRUE : FALSE;
    }
    BOOL DeleteEntry(std::string_view section, std::string_view entry) override {
        const QString key = GroupKey(section, entry);
        if (!m_settings.contains(key)) return FALSE;
        m_settings.remove(key);
        return TRUE;
    }
    BOOL DeleteSection(std::string_view section) override {
        QString group = QStr(section);
        group.replace(QLatin1Char('\\'), QLatin1Char('/'));
        m_settings.remove(group);
        return TRUE;
    }
    BOOL DeleteAll() override {
        m_settings.clear();
        return Sync();
    }
    BOOL Sync() override {
        m_settings.sync();
        return m_settings.status() == QSettings::NoError ? TRUE : FALSE;
    }

private:
    // Whether the entry already holds this text (as a number or a text): then it is not written
    // again, since every change saves the whole file anew, flushed to the disk, at the event
    // loop's next turn, and every start writes the same few entries.
    bool HoldsText(const QString& key, const QString& text) const {
        const QVariant held = m_settings.value(key);
        switch (held.typeId()) {
            case QMetaType::QString:
            case QMetaType::Int:
                return held.toString() == text;
            default:
                return false;
        }
    }

    QSettings m_settings;
};

}  // namespace

std::unique_ptr<CProfile> CreateMemoryProfile() { return std::make_unique<MemoryProfile>(); }
std::unique_ptr<CProfile> CreateUserProfile() { return std::make_unique<SettingsProfile>(); }

CProgramSlot<std::unique_ptr<CProfile>>& AfxProfileSlot() {
    static auto& slot = *new CProgramSlot<std::unique_ptr<CProfile>>(CreateMemoryProfile);
    return slot;
}

CProfile& AfxGetProfile() {
    return *AfxProfileSlot().Get();
}

std::unique_ptr<CProfile> AfxSetProfile(std::unique_ptr<CProfile> profile) {
    return AfxProfileSlot().Exchange(profile ? std::move(profile) : CreateMemoryProfile());
}

BOOL RemoveUserProfile() {
    // The profile in use writes what it still holds before the file goes.
    AfxSetProfile(CreateMemoryProfile());
    const QFileInfo file(
        QSettings(QSettings::IniFormat, QSettings::UserScope, kCompany, kApplication).fileName());
    if (file.exists() && !QFile::remove(file.filePath())) return FALSE;
    // rmdir removes only an empty folder: the company's other files keep it.
    const QDir company = file.dir();
    if (company.dirName() == QLatin1String(kCompany)) QDir().rmdir(company.path());
    return TRUE;
}
