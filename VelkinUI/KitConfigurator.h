#pragma once

namespace tessaron {

// Lets VelkinKit::configure reach the brand: the kit module links no widget code, so the brand
// installs itself as the kit's configurator. Call once at start-up before VelkinKit::configure.
void installBrandAsKitConfigurator();

} // namespace tessaron
