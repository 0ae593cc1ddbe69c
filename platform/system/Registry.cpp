#include "platform/system/Registry.h"

#include "platform/runtime/Files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QTimeZone>
#include <QStringList>

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

Q_LOGGING_CATEGORY(lcRegistry, "bw.system.registry")

namespace sys {

namespace {

constexpr auto kFormat = "barwright-registry";
constexpr int kVersion = 1;
// FILETIME of the Unix epoch, in 100 ns steps since 1601.
constexpr uint64_t kEpochFileTime = 116444736000000000ull;

const std::array<const char*, 7> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",      "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

uint64_t nowFileTime()
{
    return kEpochFileTime + uint64_t(QDateTime::currentMSecsSinceEpoch()) * 10000ull;
}

QString fold(const QString& name)
{
    return name.toCaseFolded();
}

struct Value {
    QString name;
    uint32_t type = REG_SZ;
    QByteArray data;
};

struct Key {
    QString name;
    QString keyClass;
    uint64_t lastWrite = 0;
    bool deleted = false;
    std::map<QString, std::shared_ptr<Key>> subkeys;   // folded name -> key
    std::map<QString, Value> values;                    // folded name -> value
};

class Store {
public:
    static Store& instance()
    {
        static Store store;
        return store;
    }

    std::recursive_mutex mutex;

    void ensureLoaded()
    {
        if (!m_loaded)
            load();
    }

    void reset()
    {
        m_loaded = false;
        m_handles.clear();
        for (auto& r : m_roots)
            r.reset();
        m_damaged = false;
        m_saveWarned = false;
    }

    std::shared_ptr<Key> resolve(HKEY h, int32_t& error)
    {
        ensureLoaded();
        error = ERROR_SUCCESS;
        std::shared_ptr<Key> key;
        const uint32_t u = uint32_t(h);
        if (u >= 0x80000000u && u < 0x80000000u + kRootNames.size()) {
            key = m_roots[u - 0x80000000u];
        } else {
            auto it = m_handles.find(h);
            if (it != m_handles.end())
                key = it->second;
        }
        if (!key)
            error = ERROR_INVALID_HANDLE;
        else if (key->deleted)
            error = ERROR_KEY_DELETED;
        return error == ERROR_SUCCESS ? key : nullptr;
    }

    HKEY addHandle(std::shared_ptr<Key> key)
    {
        const HKEY h = m_nextHandle;
        m_nextHandle += 4;
        if (m_nextHandle <= 0)   // wrapped; handles stay positive
            m_nextHandle = 0x10;
        m_handles[h] = std::move(key);
        return h;
    }

    bool closeHandle(HKEY h)
    {
        const uint32_t u = uint32_t(h);
        if (u >= 0x80000000u && u < 0x80000000u + kRootNames.size())
            return true;
        return m_handles.erase(h) > 0;
    }

    // Writes the whole store; ERROR_SUCCESS or ERROR_CANTWRITE.
    int32_t save();

private:
    void load();
    void startEmpty();
    bool moveDamagedAside();

    bool m_loaded = false;
    bool m_damaged = false;
    bool m_saveWarned = false;
    QString m_path;
    std::array<std::shared_ptr<Key>, 7> m_roots;
    std::unordered_map<HKEY, std::shared_ptr<Key>> m_handles;
    HKEY m_nextHandle = 0x10;
};

// --- reading and writing the JSON document --------------------------------

QJsonObject keyToJson(const Key& key)
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), key.name);
    if (!key.keyClass.isEmpty())
        o.insert(QStringLiteral("class"), key.keyClass);
    o.insert(QStringLiteral("lastWrite"), QString::number(key.lastWrite));
    QJsonArray values;
    for (const auto& [folded, v] : key.values) {
        QJsonObject jv;
        jv.insert(QStringLiteral("name"), v.name);
        jv.insert(QStringLiteral("type"), qint64(v.type));
        const QString text = QString::fromUtf8(v.data);
        if (v.type == REG_SZ && text.toUtf8() == v.data)
            jv.insert(QStringLiteral("text"), text);
        else
            jv.insert(QStringLiteral("base64"), QString::fromLatin1(v.data.toBase64()));
        values.append(jv);
    }
    o.insert(QStringLiteral("values"), values);
    QJsonArray keys;
    for (const auto& [folded, sub] : key.subkeys)
        keys.append(keyToJson(*sub));
    o.insert(QStringLiteral("keys"), keys);
    return o;
}

// Fills `key` from `o`; an error text when the object is not a key.
QString keyFromJson(const QJsonObject& o, Key& key, const QString& where)
{
    const QJsonValue name = o.value(QStringLiteral("name"));
    if (!name.isString())
        return QStringLiteral("a key under %1 has no name").arg(where);
    key.name = name.toString();
    key.keyClass = o.value(QStringLiteral("class")).toString();
    bool ok = false;
    key.lastWrite = o.value(QStringLiteral("lastWrite")).toString().toULongLong(&ok);
    if (!ok)
        key.lastWrite = 0;
    const QString here = where + QLatin1Char('\\') + key.name;
    const QJsonValue values = o.value(QStringLiteral("values"));
    if (!values.isUndefined() && !values.isArray())
        return QStringLiteral("the values of %1 are not a list").arg(here);
    for (const QJsonValue& jv : values.toArray()) {
        const QJsonObject vo = jv.toObject();
        if (!jv.isObject() || !vo.value(QStringLiteral("name")).isString()
            || !vo.value(QStringLiteral("type")).isDouble())
            return QStringLiteral("a value of %1 is malformed").arg(here);
        Value v;
        v.name = vo.value(QStringLiteral("name")).toString();
        v.type = uint32_t(vo.value(QStringLiteral("type")).toInteger());
        if (vo.value(QStringLiteral("text")).isString()) {
            v.data = vo.value(QStringLiteral("text")).toString().toUtf8();
        } else if (vo.value(QStringLiteral("base64")).isString()) {
            const auto decoded = QByteArray::fromBase64Encoding(
                vo.value(QStringLiteral("base64")).toString().toLatin1(),
                QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return QStringLiteral("the value \"%1\" of %2 has bad data").arg(v.name, here);
            v.data = *decoded;
        } else {
            return QStringLiteral("the value \"%1\" of %2 has no data").arg(v.name, here);
        }
        if (!key.values.emplace(fold(v.name), v).second)
            return QStringLiteral("the value \"%1\" of %2 appears twice").arg(v.name, here);
    }
    const QJsonValue keys = o.value(QStringLiteral("keys"));
    if (!keys.isUndefined() && !keys.isArray())
        return QStringLiteral("the sub-keys of %1 are not a list").arg(here);
    for (const QJsonValue& jk : keys.toArray()) {
        if (!jk.isObject())
            return QStringLiteral("a sub-key of %1 is malformed").arg(here);
        auto sub = std::make_shared<Key>();
        const QString error = keyFromJson(jk.toObject(), *sub, here);
        if (!error.isEmpty())
            return error;
        const QString folded = fold(sub->name);
        if (sub->name.isEmpty() || sub->name.contains(QLatin1Char('\\')))
            return QStringLiteral("a sub-key of %1 has an invalid name").arg(here);
        if (!key.subkeys.emplace(folded, std::move(sub)).second)
            return QStringLiteral("a sub-key of %1 appears twice").arg(here);
    }
    return {};
}

void Store::startEmpty()
{
    for (size_t i = 0; i < m_roots.size(); ++i) {
        m_roots[i] = std::make_shared<Key>();
        m_roots[i]->name = QString::fromLatin1(kRootNames[i]);
    }
}

void Store::load()
{
    m_loaded = true;
    m_damaged = false;
    m_path = registryFilePath();
    startEmpty();

    QFile file(m_path);
    if (!file.exists())
        return;
    QString reason;
    std::array<std::shared_ptr<Key>, 7> roots;
    if (rt::openRegularFile(file, reason)) {
        QJsonParseError parseError{};
        const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
        const QJsonObject top = doc.object();
        if (doc.isNull()) {
            reason = QStringLiteral("not valid JSON (%1 at offset %2)")
                         .arg(parseError.errorString())
                         .arg(parseError.offset);
        } else if (top.value(QStringLiteral("format")).toString()
                   != QLatin1String(kFormat)) {
            reason = QStringLiteral("not a registry store");
        } else if (top.value(QStringLiteral("version")).toInt() != kVersion) {
            reason = QStringLiteral("unknown store version %1")
                         .arg(top.value(QStringLiteral("version")).toInt());
        } else if (!top.value(QStringLiteral("roots")).isObject()) {
            // Starting empty here would overwrite the file on the next save.
            reason = QStringLiteral("the roots are missing or malformed");
        } else {
            const QJsonObject jr = top.value(QStringLiteral("roots")).toObject();
            for (size_t i = 0; i < roots.size() && reason.isEmpty(); ++i) {
                roots[i] = std::make_shared<Key>();
                const QString rootName = QString::fromLatin1(kRootNames[i]);
                const QJsonValue jv = jr.value(rootName);
                if (jv.isUndefined()) {
                    roots[i]->name = rootName;
                    continue;
                }
                if (!jv.isObject()) {
                    reason = QStringLiteral("the root %1 is malformed").arg(rootName);
                    break;
                }
                reason = keyFromJson(jv.toObject(), *roots[i], QString());
                roots[i]->name = rootName;
            }
        }
    }
    if (!reason.isEmpty()) {
        m_damaged = true;
        qCWarning(lcRegistry).noquote()
            << QStringLiteral("The registry store %1 is damaged (%2); settings start from "
                              "their defaults, and the file is kept as %1.damaged when "
                              "the store is next saved.")
                   .arg(QDir::toNativeSeparators(m_path), reason);
        return;
    }
    m_roots = roots;
}

bool Store::moveDamagedAside()
{
    if (!QFile::exists(m_path))
        return true;
    QString target = m_path + QStringLiteral(".damaged");
    for (int n = 2; QFile::exists(target); ++n)
        target = m_path + QStringLiteral(".damaged.%1").arg(n);
    if (!QFile::rename(m_path, target)) {
        qCWarning(lcRegistry).noquote()
            << QStringLiteral("The damaged registry store %1 could not be moved to %2; "
                              "changes are kept in memory only.")
                   .arg(QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(target));
        return false;
    }
    qCInfo(lcRegistry).noquote() << QStringLiteral("The damaged registry store was kept as %1.")
                                        .arg(QDir::toNativeSeparators(target));
    return true;
}

int32_t Store::save()
{
    if (m_damaged) {
        if (!moveDamagedAside())
            return ERROR_CANTWRITE;
        m_damaged = false;
    }
    QJsonObject roots;
    for (const auto& root : m_roots)
        roots.insert(root->name, keyToJson(*root));
    QJsonObject top;
    top.insert(QStringLiteral("format"), QLatin1String(kFormat));
    top.insert(QStringLiteral("version"), kVersion);
    top.insert(QStringLiteral("roots"), roots);

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    bool ok = file.open(QIODevice::WriteOnly);
    if (ok) {
        file.write(QJsonDocument(top).toJson(QJsonDocument::Indented));
        ok = file.commit();
    }
    if (!ok) {
        if (!m_saveWarned) {
            qCWarning(lcRegistry).noquote()
                << QStringLiteral("The registry store %1 could not be saved: %2")
                       .arg(QDir::toNativeSeparators(m_path), file.errorString());
            m_saveWarned = true;
        }
        return ERROR_CANTWRITE;
    }
    m_saveWarned = false;
    return ERROR_SUCCESS;
}

// --- helpers of the calls ---------------------------------------------------

QStringList splitPath(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// Walks `parts` below `key`; null when a part is missing.
std::shared_ptr<Key> walk(std::shared_ptr<Key> key, const QStringList& parts)
{
    for (const QString& part : parts) {
        auto it = key->subkeys.find(fold(part));
        if (it == key->subkeys.end())
            return nullptr;
        key = it->second;
    }
    return key;
}

// Copies `text` into a caller buffer of *capacity characters (NUL counted).
int32_t giveName(const QString& text, QString* out, uint32_t* capacity)
{
    if (!out || !capacity)
        return ERROR_INVALID_PARAMETER;
    if (uint32_t(text.size()) + 1 > *capacity) {
        *capacity = uint32_t(text.size()) + 1;
        return ERROR_MORE_DATA;
    }
    *out = text;
    *capacity = uint32_t(text.size());
    return ERROR_SUCCESS;
}

// Checks a caller data buffer of *capacity bytes for size bytes; no buffer
// needs no room.
int32_t checkRoom(const QByteArray* data, uint32_t* capacity, uint32_t size)
{
    if (!data)
        return ERROR_SUCCESS;
    if (!capacity)
        return ERROR_INVALID_PARAMETER;
    if (size > *capacity) {
        *capacity = size;
        return ERROR_MORE_DATA;
    }
    return ERROR_SUCCESS;
}

FILETIME toFileTime(uint64_t t)
{
    return FILETIME{uint32_t(t & 0xFFFFFFFFu), uint32_t(t >> 32)};
}

// Runs call(store, key) on the key behind hKey with the store locked; a handle
// that is not open, or whose key was deleted, gives its error instead.
template <class Call>
int32_t withKey(HKEY hKey, Call&& call)
{
    Store& s = Store::instance();
    std::lock_guard lock(s.mutex);
    int32_t error = ERROR_SUCCESS;
    auto key = s.resolve(hKey, error);
    return key ? call(s, std::move(key)) : error;
}

}  // namespace

QString registryFilePath()
{
    const QString explicitFile = qEnvironmentVariable("BW_REGISTRY_FILE");
    if (!explicitFile.isEmpty())
        return explicitFile;
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/barwright/registry.json");
}

int32_t RegOpenKeyExA(HKEY hKey, const QString& lpSubKey, uint32_t, uint32_t, HKEY* phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = 0;
    return withKey(hKey, [&](Store& s, std::shared_ptr<Key> key) {
        auto target = walk(key, splitPath(lpSubKey));
        if (!target)
            return ERROR_FILE_NOT_FOUND;
        *phkResult = s.addHandle(std::move(target));
        return ERROR_SUCCESS;
    });
}

int32_t RegCreateKeyExA(HKEY hKey, const QString& lpSubKey, uint32_t, const QString& lpClass,
                        uint32_t, uint32_t, const void*, HKEY* phkResult,
                        uint32_t* lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = 0;
    return withKey(hKey, [&](Store& s, std::shared_ptr<Key> key) {
        bool created = false;
        for (const QString& part : splitPath(lpSubKey)) {
            auto& slot = key->subkeys[fold(part)];
            if (!slot) {
                slot = std::make_shared<Key>();
                slot->name = part;
                slot->keyClass = lpClass;
                slot->lastWrite = nowFileTime();
                key->lastWrite = slot->lastWrite;
                created = true;
            }
            key = slot;
        }
        if (lpdwDisposition)
            *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        if (created) {
            const int32_t saved = s.save();
            if (saved != ERROR_SUCCESS)
                return saved;
        }
        *phkResult = s.addHandle(std::move(key));
        return ERROR_SUCCESS;
    });
}

int32_t RegCloseKey(HKEY hKey)
{
    Store& s = Store::instance();
    std::lock_guard lock(s.mutex);
    return s.closeHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

int32_t RegEnumKeyExA(HKEY hKey, uint32_t dwIndex, QString* lpName, uint32_t* lpcchName,
                      uint32_t*, QString* lpClass, uint32_t* lpcchClass,
                      FILETIME* lpftLastWriteTime)
{
    return withKey(hKey, [&](Store&, std::shared_ptr<Key> key) {
        if (dwIndex >= key->subkeys.size())
            return ERROR_NO_MORE_ITEMS;
        const Key& sub = *std::next(key->subkeys.begin(), dwIndex)->second;
        int32_t error = giveName(sub.name, lpName, lpcchName);
        if (error != ERROR_SUCCESS)
            return error;
        if (lpClass && lpcchClass) {
            error = giveName(sub.keyClass, lpClass, lpcchClass);
            if (error != ERROR_SUCCESS)
                return error;
        }
        if (lpftLastWriteTime)
            *lpftLastWriteTime = toFileTime(sub.lastWrite);
        return ERROR_SUCCESS;
    });
}

int32_t RegEnumValueA(HKEY hKey, uint32_t dwIndex, QString* lpValueName,
                      uint32_t* lpcchValueName, uint32_t*, uint32_t* lpType, QByteArray* lpData,
                      uint32_t* lpcbData)
{
    return withKey(hKey, [&](Store&, std::shared_ptr<Key> key) {
        if (dwIndex >= key->values.size())
            return ERROR_NO_MORE_ITEMS;
        const Value& v = std::next(key->values.begin(), dwIndex)->second;
        const uint32_t size = uint32_t(v.data.size());
        int32_t error = checkRoom(lpData, lpcbData, size);
        if (error != ERROR_SUCCESS)
            return error;
        error = giveName(v.name, lpValueName, lpcchValueName);
        if (error != ERROR_SUCCESS)
            return error;
        if (lpType)
            *lpType = v.type;
        if (lpData)
            *lpData = v.data;
        if (lpcbData)
            *lpcbData = size;
        return ERROR_SUCCESS;
    });
}

int32_t RegQueryValueExA(HKEY hKey, const QString& lpValueName, uint32_t*, uint32_t* lpType,
                         QByteArray* lpData, uint32_t* lpcbData)
{
    return withKey(hKey, [&](Store&, std::shared_ptr<Key> key) {
        auto it = key->values.find(fold(lpValueName));
        if (it == key->values.end())
            return ERROR_FILE_NOT_FOUND;
        const Value& v = it->second;
        const uint32_t size = uint32_t(v.data.size());
        if (lpType)
            *lpType = v.type;
        const int32_t error = checkRoom(lpData, lpcbData, size);
        if (error != ERROR_SUCCESS)
            return error;
        if (lpData)
            *lpData = v.data;
        if (lpcbData)
            *lpcbData = size;
        return ERROR_SUCCESS;
    });
}

int32_t RegSetValueExA(HKEY hKey, const QString& lpValueName, uint32_t, uint32_t dwType,
                       const QByteArray& lpData, uint32_t cbData)
{
    return withKey(hKey, [&](Store& s, std::shared_ptr<Key> key) {
        if (cbData > uint32_t(lpData.size()))
            return ERROR_INVALID_PARAMETER;
        Value& v = key->values[fold(lpValueName)];
        v.name = lpValueName;
        v.type = dwType;
        v.data = lpData.left(qsizetype(cbData));
        key->lastWrite = nowFileTime();
        return s.save();
    });
}

int32_t RegDeleteKeyA(HKEY hKey, const QString& lpSubKey)
{
    return withKey(hKey, [&](Store& s, std::shared_ptr<Key> key) {
        QStringList parts = splitPath(lpSubKey);
        if (parts.isEmpty())
            return ERROR_INVALID_PARAMETER;
        const QString last = parts.takeLast();
        auto parent = walk(key, parts);
        if (!parent)
            return ERROR_FILE_NOT_FOUND;
        auto it = parent->subkeys.find(fold(last));
        if (it == parent->subkeys.end())
            return ERROR_FILE_NOT_FOUND;
        if (!it->second->subkeys.empty())
            return ERROR_ACCESS_DENIED;
        it->second->deleted = true;
        parent->subkeys.erase(it);
        parent->lastWrite = nowFileTime();
        return s.save();
    });
}

int32_t RegDeleteValueA(HKEY hKey, const QString& lpValueName)
{
    return withKey(hKey, [&](Store& s, std::shared_ptr<Key> key) {
        if (key->values.erase(fold(lpValueName)) == 0)
            return ERROR_FILE_NOT_FOUND;
        key->lastWrite = nowFileTime();
        return s.save();
    });
}

bool FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime)
        return false;
    const uint64_t t = (uint64_t(lpFileTime->dwHighDateTime) << 32) | lpFileTime->dwLowDateTime;
    if (t >= 0x8000000000000000ull)
        return false;
    const int64_t msSince1601 = int64_t(t / 10000);
    const int64_t ms = msSince1601 - int64_t(kEpochFileTime / 10000);
    const QDateTime dt = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
    if (!dt.isValid() || dt.date().year() > 30827)
        return false;
    const QDate d = dt.date();
    const QTime tm = dt.time();
    lpSystemTime->wYear = uint16_t(d.year());
    lpSystemTime->wMonth = uint16_t(d.month());
    lpSystemTime->wDayOfWeek = uint16_t(d.dayOfWeek() % 7);   // Sunday is 0
    lpSystemTime->wDay = uint16_t(d.day());
    lpSystemTime->wHour = uint16_t(tm.hour());
    lpSystemTime->wMinute = uint16_t(tm.minute());
    lpSystemTime->wSecond = uint16_t(tm.second());
    lpSystemTime->wMilliseconds = uint16_t(tm.msec());
    return true;
}

namespace testing {

void reloadRegistry()
{
    Store& s = Store::instance();
    std::lock_guard lock(s.mutex);
    s.reset();
}

}  // namespace testing

}  // namespace sys
