#include "barwright/connection/mRegistry.h"

#include "barwright/connection/CReg.h"
#include "barwright/connection/mGlobals.h"

namespace mRegistry {

namespace {

// The section key below the settings root, created when missing; null when
// some key cannot be opened or created.
std::shared_ptr<CReg> sectionKey(const QString& app, const QString& section)
{
    using mGlobals::gRegBaseKey;
    if (!gRegBaseKey) {
        CReg root;
        root.SetPredefinedKey(2);   // HKEY_CURRENT_USER
        auto software = root.CreateKey(QStringLiteral("Software"));
        auto product = software ? software->CreateKey(QStringLiteral("Marquell.ZentribarPlus"))
                                : nullptr;
        auto version = product ? product->CreateKey(QStringLiteral("Version2")) : nullptr;
        if (!version)
            return nullptr;
        gRegBaseKey = version;
    }
    auto appKey = gRegBaseKey->CreateKey(app);
    return appKey ? appKey->CreateKey(section) : nullptr;
}

}  // namespace

QString GetRegSetting(const QString& app, const QString& section, const QString& key,
                      const QString& defaultValue)
{
    try {
        const auto reg = sectionKey(app, section);
        if (!reg)
            return defaultValue;
        const QString value = reg->GetValue(key, QStringLiteral("String")).toString();
        return reg->GetLastError() == 0 ? value : defaultValue;
    } catch (...) {
        return defaultValue;
    }
}

bool SaveRegSetting(const QString& app, const QString& section, const QString& key,
                    const QString& value)
{
    try {
        const auto reg = sectionKey(app, section);
        // A value the store could not keep is a failed save, not a success.
        return reg && reg->SetValue(key, value);
    } catch (...) {
        return false;
    }
}

}  // namespace mRegistry
