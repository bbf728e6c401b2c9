#pragma once

#include <QString>

namespace fw {

// A constant of the build, such as an address the program fetches: builtIn,
// unless a test has put another value in its place.
QString buildConstant(const QString& name, const QString& builtIn);

namespace testing {

// Puts value in the place of the build constant name for the rest of the run,
// so a test aims the program at a server of its own without a build of its
// own; an empty value puts the build's own back. resetRecordings drops them all.
void overrideBuildConstant(const QString& name, const QString& value);
void clearBuildConstantOverrides();

} // namespace testing
} // namespace fw
