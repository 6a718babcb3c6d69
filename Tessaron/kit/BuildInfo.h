#pragma once

#include <QString>

#include <optional>

// What this build is: the one source of the running version, which the application's name, the
// introduction and the release notes all read, the build number, the product's web address and the
// processor architecture the program was built for.
namespace tessaron::BuildInfo {

// The project's version, "0.4.0" when that is empty.
QString version();
// The build cache variable, "dev" when that is empty.
QString buildNumber();
// The address the about window's Website button opens; empty when the build names none.
QString websiteUrl();
// The processor architecture of this build, as people write it ("x86-64", "ARM64").
QString architecture();
// "Linux on <architecture>", localised.
QString platformNote();

// For tests: stand-ins for the built version and build; nothing restores the built ones.
void overrideVersion(std::optional<QString> version);
void overrideBuild(std::optional<QString> build);

} // namespace tessaron::BuildInfo
