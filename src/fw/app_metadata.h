#pragma once

#include <QString>
#include <QStringList>

namespace fw {

// What the bundle says about itself; the program reads it and never sets it.
struct AppMetadata {
    int majorVersion;
    int minorVersion;
    int bugVersion;
    QString shortVersion;
    QString longVersion;
    QString name;
    // Base name of the installed desktop entry and icon ("sumwise"): the
    // desktop finds the program's entry and icon by it.
    QString desktopId;
    // The window icon, embedded in the program as a Qt resource.
    QString iconPath;
};

const AppMetadata& appMetadata();

// The long version: the short version and the short name of the processor the
// program was built for ("1.0.0 x64"), or the short version alone for a
// processor that has no short name here. systemProcessor is named as CMake
// names it. The names are kept short for the narrowest version label (57
// pixels in the About box).
QString longVersionFor(const QString& shortVersion, const QString& systemProcessor);

// Every long version a build of this short version can carry, whatever its
// processor.
QStringList longVersionForms(const QString& shortVersion);

} // namespace fw
