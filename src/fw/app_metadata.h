#pragma once

#include <QString>

namespace fw {

// What the bundle says about itself; the program reads it and never sets it.
struct AppMetadata {
    int majorVersion;
    int minorVersion;
    int bugVersion;
    QString shortVersion;
    QString longVersion;
    QString name;
};

const AppMetadata& appMetadata();

} // namespace fw
