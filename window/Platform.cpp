#include "window/Platform.h"

RealPlatform::RealPlatform() = default;

Platform RealPlatform::platform() {
    return Platform{lines_, counter_, clock_, pause_, timeOfDay_, end_};
}
