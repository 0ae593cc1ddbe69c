#include "barwright/panel/LoadWorkConfiguration.h"

#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

bool LoadWorkConfiguration(const com::Object& work, const QString& file, const QString& title)
{
    if (rt::tryStatement([&] { work.call(toolbar::dispid::LoadConfiguration, {file}); }) != 0) {
        forms::MsgBox(QStringLiteral("Error while loading configuration - invalid or "
                                     "damaged configuration file."),
                      forms::vbOKOnly, title);
        return false;
    }
    return true;
}
