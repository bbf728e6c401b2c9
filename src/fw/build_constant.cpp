#include "fw/build_constant.h"

#include <QHash>

namespace fw {

namespace {
QHash<QString, QString>& overrides()
{
    static QHash<QString, QString> o;
    return o;
}
} // namespace

QString buildConstant(const QString& name, const QString& builtIn)
{
    return overrides().value(name, builtIn);
}

namespace testing {

void overrideBuildConstant(const QString& name, const QString& value)
{
    if (value.isEmpty())
        overrides().remove(name);
    else
        overrides().insert(name, value);
}

void clearBuildConstantOverrides()
{
    overrides().clear();
}

} // namespace testing
} // namespace fw
