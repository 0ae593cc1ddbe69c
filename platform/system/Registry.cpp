#include "platform/system/Registry.h"

#include "platform/runtime/Files.h"
#include "platform/runtime/SaveFile.h"

#include "platform/system/RegistryFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTimeZone>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <vector>

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
    Key* parent = nullptr;   // null for a root; alive while this key is not deleted
};

using Roots = std::array<std::shared_ptr<Key>, 7>;

// A change this process made, replayed onto the store as it is on disk when
// it is saved: what other programs saved meanwhile stays.
using Change = std::function<void(Roots&)>;

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
        m_pending.clear();
        m_refused = false;
        m_lastWarning.clear();
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

    // Keeps a change made to the loaded tree for the next save.
    void record(Change change) { m_pending.push_back(std::move(change)); }

    // Merges the changes made since the last save into the store on disk;
    // ERROR_SUCCESS or ERROR_CANTWRITE (the changes then wait for the next
    // save), or ERROR_REGISTRY_QUOTA_LIMIT: the last change would take the
    // store past the size it can hold and is dropped.
    int32_t save();

private:
    void load();
    bool moveDamagedAside(const QString& path);
    void warnOnce(const QString& text);

    bool m_loaded = false;
    bool m_refused = false;   // the store is no regular file: nothing is saved this run
    QString m_lastWarning;
    QString m_path;
    Roots m_roots;
    std::vector<Change> m_pending;
    std::unordered_map<HKEY, std::shared_ptr<Key>> m_handles;
    HKEY m_nextHandle = 0x10;
};

// --- the tree ---------------------------------------------------------------

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

// Walks `parts` below `key`, creating the keys that are missing; the last key
// and whether any was new.
std::pair<std::shared_ptr<Key>, bool> createPath(std::shared_ptr<Key> key,
                                                 const QStringList& parts,
                                                 const QString& keyClass, uint64_t stamp)
{
    bool created = false;
    for (const QString& part : parts) {
        auto& slot = key->subkeys[fold(part)];
        if (!slot) {
            slot = std::make_shared<Key>();
            slot->name = part;
            slot->keyClass = keyClass;
            slot->lastWrite = stamp;
            slot->parent = key.get();
            key->lastWrite = stamp;
            created = true;
        }
        key = slot;
    }
    return {key, created};
}

// Where a key is: its root and the names below it, as a change replays it.
struct KeyPath {
    size_t root = 0;
    QStringList names;
};

KeyPath pathOf(const Key& key)
{
    KeyPath path;
    const Key* k = &key;
    for (; k->parent; k = k->parent)
        path.names.prepend(k->name);
    while (path.root + 1 < kRootNames.size()
           && k->name != QLatin1String(kRootNames[path.root]))
        ++path.root;
    return path;
}

Roots emptyRoots()
{
    Roots roots;
    for (size_t i = 0; i < roots.size(); ++i) {
        roots[i] = std::make_shared<Key>();
        roots[i]->name = QString::fromLatin1(kRootNames[i]);
    }
    return roots;
}

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

QByteArray storeToJson(const Roots& roots)
{
    QJsonObject jr;
    for (const auto& root : roots)
        jr.insert(root->name, keyToJson(*root));
    QJsonObject top;
    top.insert(QStringLiteral("format"), QLatin1String(kFormat));
    top.insert(QStringLiteral("version"), kVersion);
    top.insert(QStringLiteral("roots"), jr);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
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
        sub->parent = &key;
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

// Fills `roots` from a store document; an error text when it is not one.
QString storeFromJson(const QByteArray& bytes, Roots& roots)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    const QJsonObject top = doc.object();
    if (doc.isNull())
        return QStringLiteral("not valid JSON (%1 at offset %2)")
            .arg(parseError.errorString())
            .arg(parseError.offset);
    if (top.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        return QStringLiteral("not a registry store");
    if (top.value(QStringLiteral("version")).toInt() != kVersion)
        return QStringLiteral("unknown store version %1")
            .arg(top.value(QStringLiteral("version")).toInt());
    // Starting empty here would overwrite the file on the next save.
    if (!top.value(QStringLiteral("roots")).isObject())
        return QStringLiteral("the roots are missing or malformed");
    const QJsonObject jr = top.value(QStringLiteral("roots")).toObject();
    roots = emptyRoots();
    for (const auto& root : roots) {
        const QJsonValue jv = jr.value(root->name);
        if (jv.isUndefined())
            continue;
        if (!jv.isObject())
            return QStringLiteral("the root %1 is malformed").arg(root->name);
        const QString rootName = root->name;
        const QString error = keyFromJson(jv.toObject(), *root, QString());
        root->name = rootName;
        if (!error.isEmpty())
            return error;
    }
    return {};
}

// The store as it is on disk now.
struct DiskStore {
    StoreFileState state = StoreFileState::Missing;
    Roots roots;      // the store's keys; empty unless it is sound
    QString reason;   // what is wrong with it
    bool sound() const { return state == StoreFileState::Read && reason.isEmpty(); }
    bool damaged() const
    {
        return state == StoreFileState::TooLarge
               || (state == StoreFileState::Read && !reason.isEmpty());
    }
};

DiskStore readStore(const QString& path)
{
    StoreFile file = readStoreFile(path);
    DiskStore disk{file.state, {}, file.reason};
    if (file.state == StoreFileState::Read)
        disk.reason = storeFromJson(file.bytes, disk.roots);
    if (!disk.sound())
        disk.roots = emptyRoots();
    return disk;
}

// What is wrong with the store on disk, and what that means for this run.
QString diskProblem(const QString& path, const DiskStore& disk)
{
    const QString file = QDir::toNativeSeparators(path);
    if (disk.damaged())
        return QStringLiteral("The registry store %1 is %2 (%3); settings start from their "
                              "defaults, and the file is kept as %1.damaged when the store "
                              "is next saved.")
            .arg(file,
                 disk.state == StoreFileState::TooLarge ? QStringLiteral("too large")
                                                        : QStringLiteral("damaged"),
                 disk.reason);
    if (disk.state == StoreFileState::Unreadable)
        return QStringLiteral("The registry store %1 cannot be read (%2); settings start from "
                              "their defaults, and changes are not saved while it cannot be "
                              "read.")
            .arg(file, disk.reason);
    if (disk.state == StoreFileState::NotRegular)
        return QStringLiteral("The registry store %1 is not a regular file (%2); settings "
                              "start from their defaults, and changes are not saved.")
            .arg(file, disk.reason);
    return {};
}

void Store::warnOnce(const QString& text)
{
    if (text == m_lastWarning)
        return;
    m_lastWarning = text;
    qCWarning(lcRegistry).noquote() << text;
}

void Store::load()
{
    m_loaded = true;
    m_path = registryFilePath();
    DiskStore disk = readStore(m_path);
    m_roots = disk.roots;
    m_refused = disk.state == StoreFileState::NotRegular;
    const QString problem = diskProblem(m_path, disk);
    if (!problem.isEmpty())
        warnOnce(problem);
}

bool Store::moveDamagedAside(const QString& path)
{
    QString target;
    if (!rt::keepDamagedFile(path, target)) {
        warnOnce(QStringLiteral("The damaged registry store %1 could not be moved to %2; "
                                "changes are kept in memory only.")
                     .arg(QDir::toNativeSeparators(m_path), QDir::toNativeSeparators(target)));
        return false;
    }
    qCInfo(lcRegistry).noquote() << QStringLiteral("The damaged registry store was kept as %1.")
                                        .arg(QDir::toNativeSeparators(target));
    return true;
}

int32_t Store::save()
{
    if (m_refused) {
        m_pending.clear();
        return ERROR_CANTWRITE;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Programs naming the store through a link and by its real name must
    // lock the same file; the link itself is never replaced.
    const QString path = rt::realFilePath(m_path);
    const StoreLock lock(path);
    if (!lock.locked()) {
        warnOnce(QStringLiteral("The registry store %1 stays locked by another program; "
                                "changes are kept in memory only.")
                     .arg(QDir::toNativeSeparators(m_path)));
        return ERROR_CANTWRITE;
    }
    DiskStore disk = readStore(path);
    if (disk.state == StoreFileState::NotRegular) {
        warnOnce(diskProblem(m_path, disk));
        m_refused = true;
        m_pending.clear();
        return ERROR_CANTWRITE;
    }
    if (disk.state == StoreFileState::Unreadable) {
        warnOnce(diskProblem(m_path, disk));
        return ERROR_CANTWRITE;
    }
    const Roots* result = &disk.roots;
    if (disk.damaged()) {
        if (!moveDamagedAside(path))
            return ERROR_CANTWRITE;
        result = &m_roots;   // nothing to merge into: the loaded tree holds every change
    } else {
        for (const Change& change : m_pending)
            change(disk.roots);
    }

    const QByteArray json = storeToJson(*result);
    if (json.size() > kMaxRegistryStoreBytes) {
        // The next program would not read it: the change that takes the
        // store there is refused, the others stay for the next save.
        warnOnce(QStringLiteral("A change to the registry store %1 was refused: the store would "
                                "grow to %2 bytes, past the %3 bytes it can hold.")
                     .arg(QDir::toNativeSeparators(m_path))
                     .arg(json.size())
                     .arg(kMaxRegistryStoreBytes));
        if (!m_pending.empty())
            m_pending.pop_back();
        return ERROR_REGISTRY_QUOTA_LIMIT;
    }
    QString error;
    if (!rt::saveWholeFile(path, json, &error)) {
        warnOnce(QStringLiteral("The registry store %1 could not be saved: %2")
                     .arg(QDir::toNativeSeparators(m_path), error));
        return ERROR_CANTWRITE;
    }
    m_pending.clear();
    m_lastWarning.clear();
    return ERROR_SUCCESS;
}

// --- helpers of the calls ---------------------------------------------------


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
        const uint64_t stamp = nowFileTime();
        bool created = false;
        std::tie(key, created) = createPath(key, splitPath(lpSubKey), lpClass, stamp);
        if (lpdwDisposition)
            *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
        if (created) {
            s.record([path = pathOf(*key), keyClass = lpClass, stamp](Roots& roots) {
                createPath(roots[path.root], path.names, keyClass, stamp);
            });
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
        const Value v{lpValueName, dwType, lpData.left(qsizetype(cbData))};
        const uint64_t stamp = nowFileTime();
        const auto old = key->values.find(fold(v.name));
        const std::optional<Value> before =
            old == key->values.end() ? std::nullopt : std::optional<Value>(old->second);
        const uint64_t lastWrite = key->lastWrite;
        key->values[fold(v.name)] = v;
        key->lastWrite = stamp;
        s.record([path = pathOf(*key), v, stamp](Roots& roots) {
            // Kept even when another program deleted the key meanwhile.
            auto target = createPath(roots[path.root], path.names, {}, stamp).first;
            target->values[fold(v.name)] = v;
            target->lastWrite = stamp;
        });
        const int32_t saved = s.save();
        if (saved == ERROR_REGISTRY_QUOTA_LIMIT) {   // refused: the key reads as before
            if (before)
                key->values[fold(v.name)] = *before;
            else
                key->values.erase(fold(v.name));
            key->lastWrite = lastWrite;
        }
        return saved;
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
        const uint64_t stamp = nowFileTime();
        s.record([path = pathOf(*it->second), stamp](Roots& roots) {
            QStringList names = path.names;
            const QString name = fold(names.takeLast());
            const auto above = walk(roots[path.root], names);
            if (!above)
                return;
            const auto gone = above->subkeys.find(name);
            // Sub-keys another program added meanwhile keep the key.
            if (gone == above->subkeys.end() || !gone->second->subkeys.empty())
                return;
            above->subkeys.erase(gone);
            above->lastWrite = stamp;
        });
        it->second->deleted = true;
        parent->subkeys.erase(it);
        parent->lastWrite = stamp;
        return s.save();
    });
}

int32_t RegDeleteValueA(HKEY hKey, const QString& lpValueName)
{
    return withKey(hKey, [&](Store& s, std::shared_ptr<Key> key) {
        if (key->values.erase(fold(lpValueName)) == 0)
            return ERROR_FILE_NOT_FOUND;
        const uint64_t stamp = nowFileTime();
        key->lastWrite = stamp;
        s.record([path = pathOf(*key), name = fold(lpValueName), stamp](Roots& roots) {
            const auto target = walk(roots[path.root], path.names);
            if (target && target->values.erase(name) > 0)
                target->lastWrite = stamp;
        });
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
