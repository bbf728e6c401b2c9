#include "fw/app_metadata.h"

namespace fw {

namespace {

struct ProcessorName {
    const char* systemName;  // as CMake names it
    const char* shortName;
};

// "arm64" would not fit the About box's version label; the 32-bit ARM builds
// show the bare version, so "arm" alone is not ambiguous here.
constexpr ProcessorName kProcessorNames[] = {
    {"x86_64", "x64"}, {"AMD64", "x64"}, {"amd64", "x64"},
    {"aarch64", "arm"}, {"arm64", "arm"},
};

QString withProcessor(const QString& shortVersion, const char* shortName)
{
    return shortVersion + u' ' + QLatin1String(shortName);
}

} // namespace

QString longVersionFor(const QString& shortVersion, const QString& systemProcessor)
{
    for (const ProcessorName& p : kProcessorNames)
        if (systemProcessor == QLatin1String(p.systemName))
            return withProcessor(shortVersion, p.shortName);
    return shortVersion;
}

QStringList longVersionForms(const QString& shortVersion)
{
    QStringList forms{shortVersion};
    for (const ProcessorName& p : kProcessorNames) {
        const QString form = withProcessor(shortVersion, p.shortName);
        if (!forms.contains(form))
            forms.append(form);
    }
    return forms;
}

} // namespace fw
